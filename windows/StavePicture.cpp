#include "windows/StavePicture.h"

#include <QPainter>
#include <QPainterPath>

namespace harmonet {

namespace {
// Steps above the bottom line of the stave (one step = half a line gap) of the
// opening notes of Old Hundredth in G major: G G F# E D G A B.
constexpr int NoteSteps[] = {2, 2, 1, 0, -1, 2, 3, 4};
} // namespace

TStavePicture::TStavePicture(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("imgStave"));
    setMinimumSize(sizeHint());
}

void TStavePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0xFF, 0xFB, 0xF0));

    const qreal gap = height() / 9.0;
    const qreal bottom = height() / 2.0 + 2 * gap;
    const qreal left = gap;
    const qreal right = width() - gap;

    QPen line(QColor(0x30, 0x30, 0x30));
    line.setWidthF(qMax(1.0, gap / 10));
    painter.setPen(line);
    for (int i = 0; i < 5; ++i) {
        const qreal y = bottom - i * gap;
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    }
    painter.drawLine(QPointF(right, bottom), QPointF(right, bottom - 4 * gap));

    // A treble clef drawn as a spiral around the G line and a long stroke.
    QPainterPath clef;
    const qreal cx = left + 1.3 * gap;
    const qreal gLine = bottom - gap;
    clef.moveTo(cx + 0.5 * gap, gLine - 0.3 * gap);
    clef.cubicTo(cx - 0.9 * gap, gLine - 1.0 * gap, cx - 0.9 * gap, gLine + 1.0 * gap, cx + 0.2 * gap, gLine + 0.9 * gap);
    clef.cubicTo(cx + 1.4 * gap, gLine + 0.7 * gap, cx + 1.2 * gap, gLine - 1.8 * gap, cx, gLine - 2.4 * gap);
    clef.cubicTo(cx - 0.6 * gap, gLine - 3.2 * gap, cx + 0.4 * gap, gLine - 5.0 * gap, cx + 0.6 * gap, gLine - 4.0 * gap);
    clef.lineTo(cx - 0.1 * gap, gLine + 2.2 * gap);
    clef.cubicTo(cx - 0.2 * gap, gLine + 2.9 * gap, cx - 0.9 * gap, gLine + 2.8 * gap, cx - 0.7 * gap, gLine + 2.3 * gap);
    QPen clefPen = line;
    clefPen.setWidthF(line.widthF() * 1.8);
    painter.setPen(clefPen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(clef);

    // One sharp on the top line (F#) for the key of G.
    const qreal sharpX = left + 3.0 * gap;
    const qreal fLine = bottom - 4 * gap;
    painter.setPen(line);
    painter.drawLine(QPointF(sharpX - 0.15 * gap, fLine - 0.9 * gap), QPointF(sharpX - 0.15 * gap, fLine + 0.9 * gap));
    painter.drawLine(QPointF(sharpX + 0.25 * gap, fLine - 1.0 * gap), QPointF(sharpX + 0.25 * gap, fLine + 0.8 * gap));
    painter.drawLine(QPointF(sharpX - 0.5 * gap, fLine - 0.2 * gap), QPointF(sharpX + 0.6 * gap, fLine - 0.4 * gap));
    painter.drawLine(QPointF(sharpX - 0.5 * gap, fLine + 0.4 * gap), QPointF(sharpX + 0.6 * gap, fLine + 0.2 * gap));

    // The notes: filled heads with stems, up below the middle line, down above it.
    const qreal firstX = left + 4.5 * gap;
    const int count = int(std::size(NoteSteps));
    const qreal spacing = (right - gap - firstX) / qMax(1, count - 1);
    for (int i = 0; i < count; ++i) {
        const qreal x = firstX + i * spacing;
        const qreal y = bottom - NoteSteps[i] * gap / 2.0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x20, 0x20, 0x60));
        painter.save();
        painter.translate(x, y);
        painter.rotate(-20);
        painter.drawEllipse(QPointF(0, 0), 0.62 * gap, 0.45 * gap);
        painter.restore();
        painter.setPen(line);
        const bool stemUp = NoteSteps[i] < 4;
        if (stemUp) {
            painter.drawLine(QPointF(x + 0.56 * gap, y), QPointF(x + 0.56 * gap, y - 3.3 * gap));
        } else {
            painter.drawLine(QPointF(x - 0.56 * gap, y), QPointF(x - 0.56 * gap, y + 3.3 * gap));
        }
        if (NoteSteps[i] <= -2) {
            painter.drawLine(QPointF(x - gap, bottom + gap), QPointF(x + gap, bottom + gap));
        }
    }
}

} // namespace harmonet
