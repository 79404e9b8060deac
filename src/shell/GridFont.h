#pragma once
// The Matrix grid's font: Calibri, 8.25 points at design, then the size that the window's
// layout fits to the bank columns. The grid shows every cell in it, the bank and slot headers
// included, so the headers are given the font along with the grid rather than left to inherit it.

#include <QHeaderView>

class QTableView;

namespace zanq {

inline constexpr qreal kGridDesignPoints = 8.25;

// Gives the grid and both its headers the grid font at this size; nothing happens, and nothing
// is measured again, when they have it already.
void SetGridFontSize(QTableView& grid, qreal points);

// The grid's slot-number column. The window sets its width, so the header need not measure its
// 128 numbers to propose one, as a plain header does each time its font or model changes.
class SlotNumberHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit SlotNumberHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;
};

}  // namespace zanq
