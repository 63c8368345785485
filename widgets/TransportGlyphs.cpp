#include "widgets/TransportGlyphs.h"

#include <QPainter>
#include <QPolygon>

namespace harmonet::glyphs {

namespace {

const QColor kDarkCyan(0, 128, 128);
const QColor kBrightGreen(0, 255, 0);
const QColor kDarkYellow(128, 128, 0);
const QColor kYellow(255, 255, 0);
const QColor kDarkRed(128, 0, 0);
const QColor kBrightRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);

QPixmap blank(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Fills a polygon pixel-exactly (no smoothing), edges included.
void fillShape(QPixmap& pixmap, const QPolygon& shape, const QColor& color)
{
    QPainter painter(&pixmap);
    painter.setPen(color);
    painter.setBrush(color);
    painter.drawPolygon(shape);
}

// Two arrow heads pointing right, side by side in a 15 x 12 cell starting at x.
void drawDoubleArrow(QPixmap& pixmap, int x, const QColor& color)
{
    for (int head = 0; head < 2; ++head) {
        const int left = x + 1 + head * 6;
        fillShape(pixmap, QPolygon({QPoint(left, 1), QPoint(left + 6, 6), QPoint(left, 11)}), color);
    }
}

// The strip of a double arrow pointing right: the normal picture, then the disabled one.
QPixmap forwardStrip(bool on)
{
    QPixmap pixmap = blank(30, 12);
    drawDoubleArrow(pixmap, 0, on ? kBrightGreen : kBlack);
    drawDoubleArrow(pixmap, 15, kGrey);
    return pixmap;
}

// Each 15-pixel picture of a strip mirrored left to right, the pictures kept in place.
QPixmap mirrorEachPicture(const QPixmap& strip)
{
    const QImage image = strip.toImage();
    QImage result(image.size(), image.format());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    for (int x = 0; x < image.width(); x += 15) {
        painter.drawImage(x, 0, image.copy(x, 0, 15, image.height()).mirrored(true, false));
    }
    painter.end();
    return QPixmap::fromImage(result);
}

} // namespace

QPixmap play(bool on)
{
    QPixmap pixmap = blank(11, 18);
    fillShape(pixmap, QPolygon({QPoint(1, 1), QPoint(9, 9), QPoint(1, 16)}),
              on ? kBrightGreen : kDarkCyan);
    return pixmap;
}

QPixmap pause(bool on)
{
    QPixmap pixmap = blank(16, 16);
    QPainter painter(&pixmap);
    const QColor color = on ? kYellow : kDarkYellow;
    painter.fillRect(3, 2, 4, 12, color);
    painter.fillRect(9, 2, 4, 12, color);
    return pixmap;
}

QPixmap stop(bool on)
{
    QPixmap pixmap = blank(16, 16);
    QPainter painter(&pixmap);
    painter.fillRect(3, 3, 10, 10, on ? kBrightRed : kDarkRed);
    return pixmap;
}

QPixmap rewind(bool on)
{
    return mirrorEachPicture(forwardStrip(on));
}

QPixmap fastForward(bool on)
{
    return forwardStrip(on);
}

QPixmap countArrow(bool up)
{
    QPixmap pixmap = blank(9, 9);
    fillShape(pixmap, QPolygon({QPoint(4, 2), QPoint(8, 6), QPoint(0, 6)}), kBlack);
    if (up) {
        return pixmap;
    }
    return QPixmap::fromImage(pixmap.toImage().mirrored(false, true));
}

} // namespace harmonet::glyphs
