#include "windows/OwnKeys.h"

#include <QKeyEvent>

namespace harmonet {

bool keepOwnKey(QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    event->accept();
    return true;
}

} // namespace harmonet
