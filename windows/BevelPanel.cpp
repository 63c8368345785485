#include "windows/BevelPanel.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace harmonet {

using namespace controls;

TBevelPanel::TBevelPanel(QWidget* parent)
    : QLabel(parent)
{
    setFrameStyle(QFrame::NoFrame);
    setAutoFillBackground(true);
    setAlignment(Qt::AlignCenter);
    applyLook();
}

void TBevelPanel::setColor(TColor color)
{
    m_color = color;
    applyLook();
}

void TBevelPanel::setPanelFont(const TFont& font)
{
    m_font = font;
    applyLook();
}

void TBevelPanel::setFontColor(TColor color)
{
    m_font.setColor(color);
    applyLook();
}

void TBevelPanel::setBevels(TBevelStyle outer, TBevelStyle inner)
{
    m_outer = outer;
    m_inner = inner;
    applyLook();
}

void TBevelPanel::setBorderStyle(TBorderStyle border)
{
    m_border = border;
    applyLook();
}

int TBevelPanel::frameWidthOf() const
{
    return (m_border == bsSingle ? 1 : 0) + (m_outer != bvNone ? 1 : 0) + (m_inner != bvNone ? 1 : 0);
}

void TBevelPanel::applyLook()
{
    QPalette look = palette();
    look.setColor(QPalette::Window, toQColor(m_color));
    // A disabled panel keeps the palette's greyed caption.
    look.setColor(QPalette::Active, QPalette::WindowText, toQColor(m_font.color()));
    look.setColor(QPalette::Inactive, QPalette::WindowText, toQColor(m_font.color()));
    setPalette(look);
    QLabel::setFont(m_font.toQFont());
    // The caption keeps a small distance from the bevels, as panel captions do.
    const int inset = frameWidthOf();
    setContentsMargins(inset + 1, inset, inset + 1, inset);
    update();
}

void TBevelPanel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    QRect ring = rect();
    if (m_border == bsSingle) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(ring.adjusted(0, 0, -1, -1));
        ring.adjust(1, 1, -1, -1);
    }
    for (TBevelStyle bevel : {m_outer, m_inner}) {
        if (bevel == bvNone) {
            continue;
        }
        qDrawShadePanel(&painter, ring, palette(), bevel == bvLowered, 1);
        ring.adjust(1, 1, -1, -1);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(ring.adjusted(1, 1, -2, -2));
    }
}

void TBevelPanel::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->globalPosition().toPoint());
    event->accept();
}

void TBevelPanel::keyPressEvent(QKeyEvent* event)
{
    const bool opens = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
        || (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
    if (opens) {
        emit mouseDown(mapToGlobal(QPoint(0, height())));
        return;
    }
    QLabel::keyPressEvent(event);
}

void TBevelPanel::changeEvent(QEvent* event)
{
    // System colours (the button face) follow a change of the desktop's palette.
    if (event->type() == QEvent::ApplicationPaletteChange) {
        applyLook();
    }
    QLabel::changeEvent(event);
}

} // namespace harmonet
