#include "widgets/ImageButton.h"

#include <QEnterEvent>
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
    return m_down || (m_dragging && m_mouseInside);
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
}

void TImageButton::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    emit mouseDown(event->button(), event->modifiers(), position);
    if (event->button() == Qt::LeftButton && isEnabled()) {
        m_dragging = true;
        m_mouseInside = rect().contains(position);
        repaint();
    }
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
    emit mouseUp(event->button(), event->modifiers(), position);
    if (!m_dragging || event->button() != Qt::LeftButton) {
        return;
    }
    m_dragging = false;
    const bool isClick = rect().contains(position);
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

void TImageButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace harmonet
