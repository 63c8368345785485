#include "widgets/FocusFrame.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <QWidget>

namespace harmonet {

void drawFocusFrame(QPainter& painter, const QWidget& widget)
{
    // Two pixels in from a frame of 1 or 2 pixels; one on the smallest buttons.
    const int inset = std::min(widget.width(), widget.height()) >= 18 ? 2 : 1;
    const QRect frame = widget.rect().adjusted(inset, inset, -inset - 1, -inset - 1);
    painter.save();
    QPen pen(widget.palette().color(widget.foregroundRole()), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    painter.restore();
}

} // namespace harmonet
