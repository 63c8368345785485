#include "widgets/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace harmonet {

QImage programIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a grid of 48 x 48, as the SVG picture is.
    painter.scale(size / 48.0, size / 48.0);

    QLinearGradient ground(0, 2, 0, 46);
    ground.setColorAt(0, QColor(0x3a, 0x6e, 0xc0));
    ground.setColorAt(1, QColor(0x1c, 0x3f, 0x7a));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ground);
    painter.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);

    painter.setBrush(Qt::white);
    for (const QPointF head : {QPointF(15, 35), QPointF(33, 31)}) {
        painter.save();
        painter.translate(head);
        painter.rotate(-20);
        painter.drawEllipse(QPointF(0, 0), 5.5, 4);
        painter.restore();
    }
    painter.drawRect(QRectF(18.2, 12, 2.6, 23));
    painter.drawRect(QRectF(36.2, 8, 2.6, 23));
    painter.drawPolygon(QPolygonF({{18.2, 12}, {38.8, 8}, {38.8, 14}, {18.2, 18}}));
    painter.end();
    return icon;
}

} // namespace harmonet
