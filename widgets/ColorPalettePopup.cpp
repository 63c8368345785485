#include "widgets/ColorPalettePopup.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace harmonet {

namespace {

constexpr int kCell = 18;
constexpr int kGap = 3;
constexpr int kMargin = 4;
constexpr int kOtherHeight = 23;

} // namespace

const std::array<TColor, TColorPalettePopup::kRows * TColorPalettePopup::kColumns>&
TColorPalettePopup::paletteColors()
{
    static const std::array<TColor, kRows * kColumns> colors{{
        {16777215}, {255}, {65280}, {16711680}, {12572607},
        {0}, {127}, {32512}, {8323072}, {15712159},
        {12566463}, {65535}, {16776960}, {16711935}, {15726591},
        {8355711}, {32639}, {8355584}, {8323199}, {10461087},
    }};
    return colors;
}

TColorPalettePopup::TColorPalettePopup(QWidget* parent)
    : QFrame(parent, Qt::Popup)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    const int gridWidth = kColumns * kCell + (kColumns - 1) * kGap;
    const int gridHeight = kRows * kCell + (kRows - 1) * kGap;
    m_other = new QPushButton(tr("&Other"), this);
    m_other->setFocusPolicy(Qt::NoFocus);
    m_other->setGeometry(kMargin, kMargin + gridHeight + kGap + 1, gridWidth, kOtherHeight);
    connect(m_other, &QPushButton::clicked, this, [this] {
        close();
        emit otherRequested();
    });
    setFixedSize(gridWidth + 2 * kMargin, gridHeight + kGap + 1 + kOtherHeight + 2 * kMargin);
}

QRect TColorPalettePopup::cellRect(int index) const
{
    const int row = index / kColumns;
    const int column = index % kColumns;
    return QRect(kMargin + column * (kCell + kGap), kMargin + row * (kCell + kGap), kCell, kCell);
}

void TColorPalettePopup::markColor(TColor color)
{
    m_marked = 0;
    for (int i = 0; i < int(paletteColors().size()); ++i) {
        if (paletteColors()[i] == color) {
            m_marked = i;
            break;
        }
    }
    update();
}

int TColorPalettePopup::cellAt(QPoint position) const
{
    for (int i = 0; i < int(paletteColors().size()); ++i) {
        if (cellRect(i).contains(position)) {
            return i;
        }
    }
    return -1;
}

void TColorPalettePopup::choose(int index)
{
    close();
    emit colorChosen(paletteColors()[index]);
}

void TColorPalettePopup::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    for (int i = 0; i < int(paletteColors().size()); ++i) {
        const QRect cell = cellRect(i);
        painter.fillRect(cell, toQColor(paletteColors()[i]));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (i == m_marked && hasFocus()) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawRect(cell.adjusted(-2, -2, 1, 1));
        }
    }
}

void TColorPalettePopup::mouseReleaseEvent(QMouseEvent* event)
{
    const int index = cellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0) {
        choose(index);
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void TColorPalettePopup::keyPressEvent(QKeyEvent* event)
{
    const int count = int(paletteColors().size());
    switch (event->key()) {
    case Qt::Key_Escape: close(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: choose(m_marked); return;
    case Qt::Key_Left: m_marked = (m_marked + count - 1) % count; break;
    case Qt::Key_Right: m_marked = (m_marked + 1) % count; break;
    case Qt::Key_Up: m_marked = (m_marked + count - kColumns) % count; break;
    case Qt::Key_Down: m_marked = (m_marked + kColumns) % count; break;
    case Qt::Key_O:
        if (event->modifiers() & Qt::AltModifier || event->modifiers() == Qt::NoModifier) {
            m_other->click();
            return;
        }
        break;
    default: QFrame::keyPressEvent(event); return;
    }
    update();
}

} // namespace harmonet
