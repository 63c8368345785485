#include "player/Panel.h"

#include "widgets/AccessibleButton.h"
#include "widgets/ButtonKeys.h"
#include "widgets/FocusFrame.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace harmonet {

TPanel::TPanel(QWidget* parent)
    : QLabel(parent)
{
    setAutoFillBackground(true);
    setMouseTracking(true);
    setLineWidth(1);
    setBevel(Bevel::Raised);
    // A panel the keyboard reaches is a button; its lowered bevel is its state.
    registerAccessibleButton(staticMetaObject.className(),
                             {[](const QWidget& w) { return w.focusPolicy() != Qt::NoFocus; },
                              [](const QWidget& w) { return static_cast<const TPanel&>(w).caption(); },
                              [](const QWidget&) { return true; },
                              [](const QWidget& w) { return static_cast<const TPanel&>(w).bevel() == Bevel::Lowered; },
                              [](QWidget& w) { static_cast<TPanel&>(w).click(); }});
}

void TPanel::setBevel(Bevel bevel)
{
    m_bevel = bevel;
    switch (bevel) {
    case Bevel::None:
        setFrameStyle(QFrame::NoFrame);
        break;
    case Bevel::Raised:
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        break;
    case Bevel::Lowered:
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        break;
    }
}

QColor TPanel::color() const
{
    return palette().color(QPalette::Window);
}

void TPanel::setColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color.isValid() ? color : QPalette().color(QPalette::Button));
    setPalette(pal);
}

QColor TPanel::textColor() const
{
    return palette().color(QPalette::WindowText);
}

void TPanel::setTextColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

void TPanel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    emit mouseDown(event->globalPosition().toPoint());
    event->accept();
}

void TPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}

void TPanel::keyPressEvent(QKeyEvent* event)
{
    if (!isButtonPressKey(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat() && m_heldKey == 0) {
        m_heldKey = event->key();
    }
}

void TPanel::keyReleaseEvent(QKeyEvent* event)
{
    if (!isButtonPressKey(event)) {
        QLabel::keyReleaseEvent(event);
        return;
    }
    event->accept();
    // The click comes when the key is let go, as with the mouse button.
    if (!event->isAutoRepeat() && event->key() == m_heldKey) {
        m_heldKey = 0;
        emit clicked();
    }
}

void TPanel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        drawFocusFrame(painter, *this);
    }
}

void TPanel::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QLabel::mouseMoveEvent(event);
}

} // namespace harmonet
