#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;

namespace harmonet {

// A menu item of the main window: its object name, tag (see ControlTags),
// caption and shortcut, which acts wherever the window's focus is.
QAction* addMenuItem(QMenu* menu, const char* name, int tag, const QString& caption,
                     const QKeySequence& shortcut = {});

} // namespace harmonet
