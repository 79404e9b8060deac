#pragma once
// Placing the bank windows' controls at their design positions, given in twips inside the
// window's client area, at the window's own logical DPI.

#include <QWidget>

namespace zanq {

double DialogDpi(const QWidget& window);
void PlaceTwips(QWidget& control, int left, int top, int width, int height);
// Fixed client size in twips, and the small sans-serif face the designs were drawn with.
void SetDesignClientSize(QWidget& window, int width, int height);

}  // namespace zanq
