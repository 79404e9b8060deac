#include "banktools/DialogDesign.h"

#include <QCheckBox>
#include <QLabel>
#include <algorithm>

#include "shell/MainLayout.h"

namespace zanq {

double DialogDpi(const QWidget& window) {
    return window.logicalDpiY() > 0 ? window.logicalDpiY() : 96.0;
}

void PlaceTwips(QWidget& control, int left, int top, int width, int height) {
    const double dpi = DialogDpi(control);
    int pixelWidth = TwipsToPixels(width, dpi);
    // The designs were drawn with a narrow face; a caption that this platform's font makes
    // wider keeps its left edge and grows to the right rather than being cut off.
    if (qobject_cast<QCheckBox*>(&control) || qobject_cast<QLabel*>(&control))
        pixelWidth = std::max(pixelWidth, control.sizeHint().width());
    control.setGeometry(TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), pixelWidth,
                        TwipsToPixels(height, dpi));
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
