#pragma once
// A label that reports left clicks: status-bar panels, link labels and click areas.
// A disabled label takes no clicks.

#include <QLabel>

namespace zanq {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace zanq
