#include "widgets/ParentPlacement.h"

#include <QList>
#include <QWidget>

namespace harmonet::controls {

QRect alignedGeometry(TAlign align, const QRect& current, const QSize& parentClient)
{
    const int w = parentClient.width();
    const int h = parentClient.height();
    switch (align) {
    case alTop: return QRect(0, 0, w, current.height());
    case alBottom: return QRect(0, h - current.height(), w, current.height());
    case alLeft: return QRect(0, 0, current.width(), h);
    case alRight: return QRect(w - current.width(), 0, current.width(), h);
    case alClient: return QRect(0, 0, w, h);
    case alNone: break;
    }
    return current;
}

namespace {

// The parent's direct child widgets in the order of the window's focus chain.
QList<QWidget*> siblingsInFocusOrder(const QWidget& parent)
{
    QList<QWidget*> result;
    QWidget* start = parent.window();
    QWidget* w = start;
    do {
        if (w->parentWidget() == &parent) {
            result.append(w);
        }
        w = w->nextInFocusChain();
    } while (w != nullptr && w != start);
    return result;
}

// Places second right after first in the focus chain. Qt leaves controls that
// take no focus out of such moves, so both briefly count as tab stops. Qt also
// declines to move the head of a chain section behind that section's tail; the
// head is then first moved one place on, after which the move is an ordinary one.
void placeAfter(QWidget* first, QWidget* second)
{
    const Qt::FocusPolicy firstPolicy = first->focusPolicy();
    const Qt::FocusPolicy secondPolicy = second->focusPolicy();
    first->setFocusPolicy(Qt::TabFocus);
    second->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(first, second);
    QWidget* next = second->nextInFocusChain();
    if (first->nextInFocusChain() != second && next != first) {
        const Qt::FocusPolicy nextPolicy = next->focusPolicy();
        next->setFocusPolicy(Qt::TabFocus);
        QWidget::setTabOrder(next, second);
        QWidget::setTabOrder(first, second);
        next->setFocusPolicy(nextPolicy);
    }
    first->setFocusPolicy(firstPolicy);
    second->setFocusPolicy(secondPolicy);
}

} // namespace

int tabOrderOf(const QWidget& control)
{
    const QWidget* parent = control.parentWidget();
    if (parent == nullptr) {
        return -1;
    }
    return int(siblingsInFocusOrder(*parent).indexOf(&control));
}

void setTabOrderOf(QWidget& control, int position)
{
    QWidget* parent = control.parentWidget();
    if (parent == nullptr) {
        return;
    }
    QList<QWidget*> order = siblingsInFocusOrder(*parent);
    order.removeOne(&control);
    if (position < 0 || position > order.size()) {
        position = int(order.size());
    }
    order.insert(position, &control);
    for (qsizetype i = 1; i < order.size(); ++i) {
        placeAfter(order[i - 1], order[i]);
    }
}

} // namespace harmonet::controls
