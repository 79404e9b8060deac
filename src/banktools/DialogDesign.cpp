#include "banktools/DialogDesign.h"

#include "shell/MainLayout.h"

namespace zanq {

double DialogDpi(const QWidget& window) {
    return window.logicalDpiY() > 0 ? window.logicalDpiY() : 96.0;
}

void PlaceTwips(QWidget& control, int left, int top, int width, int height) {
    const double dpi = DialogDpi(control);
    control.setGeometry(TwipsToPixels(left, dpi), TwipsToPixels(top, dpi),
                        TwipsToPixels(width, dpi), TwipsToPixels(height, dpi));
}

void SetDesignClientSize(QWidget& window, int width, int height) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    window.setFont(font);
    const double dpi = DialogDpi(window);
    window.setFixedSize(TwipsToPixels(width, dpi), TwipsToPixels(height, dpi));
}

}  // namespace zanq
