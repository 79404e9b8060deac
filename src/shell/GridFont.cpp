#include "shell/GridFont.h"

#include <QTableView>

namespace zanq {

namespace {
QFont GridFont(qreal points) {
    QFont font(QStringLiteral("Calibri"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}
}  // namespace

void SetGridFontSize(QTableView& grid, qreal points) {
    const QFont font = GridFont(points);
    for (QWidget* part :
         std::initializer_list<QWidget*>{grid.horizontalHeader(), grid.verticalHeader(), &grid})
        if (part->font() != font || !part->testAttribute(Qt::WA_SetFont))
            part->setFont(font);
}

SlotNumberHeader::SlotNumberHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    // As the table's own vertical header is set up.
    setSectionsClickable(true);
    setHighlightSections(true);
}

QSize SlotNumberHeader::sizeHint() const {
    return {minimumWidth(), defaultSectionSize()};
}

}  // namespace zanq
