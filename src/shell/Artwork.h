#pragma once
// The program's pictures, drawn in code so they stay sharp at any display scaling.
// Each takes its size in device-independent pixels and the screen's device pixel ratio. The
// ...Image forms draw into an image, which any thread may do; the others give a pixmap.

#include <QImage>
#include <QPixmap>

namespace zanq::artwork {

QImage WasteBinImage(int side, qreal dpr);
QImage MidiSocketImage(bool output, QSize size, qreal dpr);  // MIDI IN / MIDI OUT buttons
QImage TitleImage(QSize size, qreal dpr);                    // the title block, 234 x 31 at design
QPixmap Title(QSize size, qreal dpr);
QPixmap DragCard(qreal dpr);  // 32 x 32 yellow card, grid and library
QPixmap Document(qreal dpr);  // file drags

}  // namespace zanq::artwork
