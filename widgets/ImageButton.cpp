#include "widgets/ImageButton.h"

#include "widgets/AccessibleButton.h"
#include "widgets/ButtonKeys.h"
#include "widgets/FocusFrame.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>

namespace harmonet {

TImageButton::TImageButton(QWidget* parent)
    : QWidget(parent)
{
    resize(23, 22);
    setFocusPolicy(Qt::TabFocus);
    registerAccessibleButton(staticMetaObject.className(),
                             {[](const QWidget&) { return true; }, [](const QWidget& w) { return w.toolTip(); },
                              [](const QWidget& w) { return static_cast<const TImageButton&>(w).groupIndex() != 0; },
                              [](const QWidget& w) { return static_cast<const TImageButton&>(w).isDown(); },
                              [](QWidget& w) { static_cast<TImageButton&>(w).click(); }});
}

void TImageButton::setGlyph(const QPixmap& glyph)
{
    m_glyph = glyph;
    update();
}

void TImageButton::setNumGlyphs(int count)
{
    m_numGlyphs = std::clamp(count, 1, 4);
    update();
}

void TImageButton::setGroupIndex(int group)
{
    m_groupIndex = group;
    if (m_down) {
        releaseGroupMates();
    }
}

void TImageButton::setAllowAllUp(bool allow)
{
    m_allowAllUp = allow;
    for (TImageButton* mate : groupMates()) {
        mate->m_allowAllUp = allow;
    }
}

void TImageButton::setDown(bool down)
{
    if (m_groupIndex == 0) {
        down = false;
    }
    if (down == m_down || (m_down && !m_allowAllUp)) {
        return;
    }
    m_down = down;
    if (down) {
        releaseGroupMates();
    }
    update();
    emit downChanged(down);
}

void TImageButton::setFlat(bool flat)
{
    m_flat = flat;
    update();
}

QList<TImageButton*> TImageButton::groupMates() const
{
    QList<TImageButton*> mates;
    if (m_groupIndex == 0 || parent() == nullptr) {
        return mates;
    }
    for (QObject* sibling : parent()->children()) {
        auto* button = qobject_cast<TImageButton*>(sibling);
        if (button != nullptr && button != this && button->m_groupIndex == m_groupIndex) {
            mates.append(button);
        }
    }
    return mates;
}

void TImageButton::releaseGroupMates()
{
    for (TImageButton* mate : groupMates()) {
        mate->m_allowAllUp = m_allowAllUp;
        if (mate->m_down) {
            mate->m_down = false;
            mate->update();
            emit mate->downChanged(false);
        }
    }
}

QPixmap TImageButton::shownPicture() const
{
    if (m_glyph.isNull()) {
        return {};
    }
    const int width = m_glyph.width() / m_numGlyphs;
    if (isEnabled()) {
        return m_glyph.copy(0, 0, width, m_glyph.height());
    }
    if (m_numGlyphs >= 2) {
        return m_glyph.copy(width, 0, width, m_glyph.height());
    }
    QStyleOption option;
    option.initFrom(this);
    return style()->generatedIconPixmap(QIcon::Disabled, m_glyph.copy(0, 0, width, m_glyph.height()),
                                        &option);
}

bool TImageButton::looksPressed() const
{
    return m_down || (m_dragging && m_mouseInside) || m_heldKey != 0;
}

void TImageButton::click()
{
    if (!isEnabled()) {
        return;
    }
    const QPoint centre = rect().center();
    press(Qt::NoModifier, centre);
    release(Qt::NoModifier, centre, true);
}

QSize TImageButton::sizeHint() const
{
    return QSize(23, 22);
}

void TImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = looksPressed();
    const QBrush face = palette().brush(QPalette::Button);
    if (!m_flat) {
        qDrawShadePanel(&painter, rect(), palette(), pressed, 1, &face);
    } else if (pressed || (m_mouseInside && isEnabled())) {
        // A flat button shows a frame only while pointed at or pressed.
        qDrawShadePanel(&painter, rect(), palette(), pressed, 1, pressed ? &face : nullptr);
    }

    const QPixmap picture = shownPicture();
    if (!picture.isNull()) {
        const int offset = pressed ? 1 : 0;
        const QPoint topLeft((width() - picture.width()) / 2 + offset,
                             (height() - picture.height()) / 2 + offset);
        painter.drawPixmap(topLeft, picture);
    }
    if (hasFocus()) {
        drawFocusFrame(painter, *this);
    }
}

void TImageButton::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        press(event->modifiers(), position);
        return;
    }
    emit mouseDown(event->button(), event->modifiers(), position);
}

void TImageButton::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging) {
        const bool inside = rect().contains(event->position().toPoint());
        if (inside != m_mouseInside) {
            m_mouseInside = inside;
            update();
        }
    }
}

void TImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (event->button() != Qt::LeftButton) {
        emit mouseUp(event->button(), event->modifiers(), position);
        return;
    }
    if (!m_dragging) {
        emit mouseUp(event->button(), event->modifiers(), position);
        return;
    }
    m_dragging = false;
    release(event->modifiers(), position, rect().contains(position));
}

void TImageButton::press(Qt::KeyboardModifiers modifiers, QPoint position)
{
    emit mouseDown(Qt::LeftButton, modifiers, position);
    if (isEnabled()) {
        m_dragging = true;
        m_mouseInside = rect().contains(position);
        repaint();
    }
}

void TImageButton::release(Qt::KeyboardModifiers modifiers, QPoint position, bool isClick)
{
    emit mouseUp(Qt::LeftButton, modifiers, position);
    m_dragging = false;
    m_mouseInside = isClick;
    if (isClick && m_groupIndex != 0) {
        setDown(!m_down);
    }
    repaint();
    if (isClick) {
        emit clicked();
    }
}

void TImageButton::enterEvent(QEnterEvent*)
{
    m_mouseInside = true;
    update();
}

void TImageButton::leaveEvent(QEvent*)
{
    m_mouseInside = false;
    update();
}

void TImageButton::keyPressEvent(QKeyEvent* event)
{
    if (!isButtonPressKey(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // A held key repeats: only its first press counts.
    if (event->isAutoRepeat() || m_heldKey != 0 || m_dragging || !isEnabled()) {
        return;
    }
    m_heldKey = event->key();
    press(event->modifiers(), rect().center());
}

void TImageButton::keyReleaseEvent(QKeyEvent* event)
{
    if (!isButtonPressKey(event)) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || event->key() != m_heldKey) {
        return;
    }
    m_heldKey = 0;
    release(event->modifiers(), rect().center(), true);
}

void TImageButton::focusOutEvent(QFocusEvent* event)
{
    // Losing the focus lets go of a held key without a click.
    if (m_heldKey != 0) {
        m_heldKey = 0;
        release(Qt::NoModifier, rect().center(), false);
    }
    QWidget::focusOutEvent(event);
}

void TImageButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace harmonet
