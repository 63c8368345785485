#include "player/MenuItems.h"

#include "player/ControlTags.h"

#include <QAction>
#include <QMenu>

namespace harmonet {

QAction* addMenuItem(QMenu* menu, const char* name, int tag, const QString& caption, const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    setTag(action, tag);
    return action;
}

} // namespace harmonet
