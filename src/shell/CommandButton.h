#pragma once
// A push button whose caption wraps onto more lines when the button is too narrow for it, as
// the tall Load button and the narrow top-row buttons need. The access key stays underlined.

#include <QPushButton>

namespace zanq {

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zanq
