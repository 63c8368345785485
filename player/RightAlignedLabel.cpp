#include "player/RightAlignedLabel.h"

#include <QEvent>

namespace harmonet {

TRightAlignedLabel::TRightAlignedLabel(QWidget* parent, int rightEdge, int top)
    : QLabel(parent)
    , m_rightEdge(rightEdge)
{
    setAlignment(Qt::AlignRight | Qt::AlignTop);
    move(rightEdge, top);
    fitToText();
}

void TRightAlignedLabel::setCaption(const QString& text)
{
    setText(text);
    fitToText();
}

void TRightAlignedLabel::setRightEdge(int rightEdge)
{
    m_rightEdge = rightEdge;
    fitToText();
}

void TRightAlignedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitToText();
    }
}

void TRightAlignedLabel::fitToText()
{
    const QSize size = sizeHint();
    setGeometry(m_rightEdge - size.width(), y(), size.width(), size.height());
}

} // namespace harmonet
