#include "shell/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zanq::artwork {

namespace {
// An image rather than a pixmap, so that a picture can be drawn on any thread.
QImage Canvas(QSize size, qreal dpr) {
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}
}  // namespace

QImage WasteBinImage(int side, qreal dpr) {
    QImage image = Canvas({side, side}, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    p.setPen(QPen(QColor(210, 210, 210), s / 16));
    p.setBrush(QColor(120, 120, 120));
    QPainterPath body;
    body.moveTo(s * 0.22, s * 0.28);
    body.lineTo(s * 0.78, s * 0.28);
    body.lineTo(s * 0.70, s * 0.94);
    body.lineTo(s * 0.30, s * 0.94);
    body.closeSubpath();
    p.drawPath(body);
    p.drawRoundedRect(QRectF(s * 0.14, s * 0.16, s * 0.72, s * 0.10), s * 0.03, s * 0.03);
    p.drawRect(QRectF(s * 0.40, s * 0.06, s * 0.20, s * 0.10));
    for (qreal x : {0.38, 0.50, 0.62})
        p.drawLine(QPointF(s * x, s * 0.38), QPointF(s * x, s * 0.84));
    return image;
}

QImage MidiSocketImage(bool output, QSize size, qreal dpr) {
    QImage image = Canvas(size, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    const qreal d = std::min(w, h * 0.70);
    const QPointF c(w / 2, d / 2 + h * 0.04);
    p.setPen(QPen(QColor(40, 40, 40), d / 14));
    p.setBrush(QColor(190, 190, 190));
    p.drawEllipse(c, d / 2 * 0.92, d / 2 * 0.92);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(c, d / 2 * 0.62, d / 2 * 0.62);
    p.setBrush(QColor(220, 220, 220));
    p.setPen(Qt::NoPen);
    const qreal r = d * 0.20;
    for (int deg : {180, 135, 90, 45, 0}) {
        const qreal a = qDegreesToRadians(static_cast<qreal>(deg));
        p.drawEllipse(QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a) * 0.9 - d * 0.04),
                      d * 0.05, d * 0.05);
    }
    p.setPen(output ? QColor(255, 170, 40) : QColor(90, 200, 255));
    QFont font;
    font.setBold(true);
    font.setPixelSize(std::max(7, static_cast<int>(h * 0.22)));
    p.setFont(font);
    p.drawText(QRectF(0, h * 0.72, w, h * 0.28), Qt::AlignCenter,
               output ? QStringLiteral("MIDI OUT") : QStringLiteral("MIDI IN"));
    return image;
}

QImage TitleImage(QSize size, qreal dpr) {
    QImage image = Canvas(size, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    QLinearGradient shine(0, 0, 0, h);
    shine.setColorAt(0, QColor(255, 214, 120));
    shine.setColorAt(1, QColor(214, 120, 20));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 130);
    font.setPixelSize(static_cast<int>(h * 0.80));
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("ZANQ LIBRARIAN"));
    const QRectF box = text.boundingRect();
    const qreal scale = std::min(w * 0.96 / box.width(), h * 0.86 / box.height());
    p.translate(w / 2, h / 2);
    p.scale(scale, scale);
    p.translate(-box.center());
    p.setPen(QPen(QColor(60, 30, 0), 1.2 / scale));
    p.setBrush(shine);
    p.drawPath(text);
    return image;
}

QPixmap DragCard(qreal dpr) {
    QImage image = Canvas({32, 32}, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.moveTo(3, 5);
    card.lineTo(29, 5);
    card.lineTo(29, 27);
    card.lineTo(21, 27);
    card.lineTo(21, 24);  // right notch
    card.lineTo(18, 24);
    card.lineTo(18, 27);
    card.lineTo(14, 27);
    card.lineTo(14, 24);  // left notch
    card.lineTo(11, 24);
    card.lineTo(11, 27);
    card.lineTo(3, 27);
    card.closeSubpath();
    p.setPen(QPen(QColor(110, 90, 0), 1.2));
    p.setBrush(QColor(255, 222, 40));
    p.drawPath(card);
    p.setPen(QPen(QColor(90, 70, 0), 1.6));
    for (int y : {10, 15, 20})
        p.drawLine(QPointF(7, y), QPointF(25, y));
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap Document(qreal dpr) {
    QImage image = Canvas({24, 24}, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(15, 2);
    page.lineTo(20, 7);
    page.lineTo(20, 22);
    page.lineTo(5, 22);
    page.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(15, 2), QPointF(15, 7));
    p.drawLine(QPointF(15, 7), QPointF(20, 7));
    p.setPen(QPen(QColor(40, 110, 200), 1.2));
    for (int y : {11, 14, 17})
        p.drawLine(QPointF(8, y), QPointF(17, y));
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap Title(QSize size, qreal dpr) {
    return QPixmap::fromImage(TitleImage(size, dpr));
}

}  // namespace zanq::artwork
