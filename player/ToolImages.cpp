#include "player/ToolImages.h"

#include <QPainter>

namespace harmonet::images {

namespace {

QPixmap blank(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap tool(Tool kind)
{
    QPixmap pixmap = blank(18, 18);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(32, 32, 32));
    pen.setWidthF(1.5);
    painter.setPen(pen);
    switch (kind) {
    case Tool::Mixer:
        // Three faders with their knobs at different heights.
        for (int i = 0; i < 3; ++i) {
            const qreal x = 4 + i * 5;
            painter.drawLine(QPointF(x, 2), QPointF(x, 16));
            painter.fillRect(QRectF(x - 2, 4 + i * 4, 4, 3), QColor(0, 96, 160));
        }
        break;
    case Tool::Lyrics:
        // A page with lines of text.
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(3, 1.5, 12, 15));
        for (int i = 0; i < 4; ++i) {
            painter.drawLine(QPointF(5, 5 + i * 3), QPointF(13 - (i % 2) * 3, 5 + i * 3));
        }
        break;
    case Tool::CloseFile:
        // A red cross.
        pen.setColor(QColor(192, 0, 0));
        pen.setWidthF(2.5);
        painter.setPen(pen);
        painter.drawLine(QPointF(4, 4), QPointF(14, 14));
        painter.drawLine(QPointF(14, 4), QPointF(4, 14));
        break;
    case Tool::Settings:
        // Three sliders with knobs: settings.
        for (int i = 0; i < 3; ++i) {
            const qreal y = 4 + i * 5;
            painter.drawLine(QPointF(2, y), QPointF(16, y));
            painter.setBrush(QColor(200, 160, 0));
            painter.drawEllipse(QPointF(5 + ((i * 5) % 9), y), 2, 2);
        }
        break;
    case Tool::Help: {
        // A question mark in a blue disc.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 80, 200));
        painter.drawEllipse(QRectF(1, 1, 16, 16));
        QFont font = painter.font();
        font.setPixelSize(13);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRectF(1, 1, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    return pixmap;
}

QPixmap caption(const QString& text, const QSize& size)
{
    QPixmap pixmap = blank(size.width(), size.height());
    QPainter painter(&pixmap);
    QFont font = painter.font();
    font.setPixelSize(qMax(6, size.height() - 5));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return pixmap;
}

} // namespace harmonet::images
