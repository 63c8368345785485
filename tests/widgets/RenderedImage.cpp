#include "tests/widgets/RenderedImage.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace harmonet::test {

QImage renderWidget(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect inkBounds(const QImage& image, const QRect& area, const QColor& background)
{
    QRect bounds;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (image.pixelColor(x, y).rgb() != background.rgb()) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

QRect textInkOffset(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    const int margin = 20;
    QImage image(metrics.horizontalAdvance(text) + 2 * margin, metrics.height() + 2 * margin,
                 QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(margin, margin + metrics.ascent(), text);
    }
    return inkBounds(image, image.rect(), Qt::black).translated(-margin, -margin);
}

} // namespace harmonet::test
