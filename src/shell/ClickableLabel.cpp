#include "shell/ClickableLabel.h"

#include <QMouseEvent>

namespace zanq {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled() &&
        rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace zanq
