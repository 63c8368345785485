#pragma once

class QWidget;

namespace harmonet {

// Keeps the keys typed in a tool window of the main window (the track mixer,
// the lyrics, the settings) with that tool window. The toolkit lets a
// window's shortcuts act also while one of its tool windows is active: Escape
// typed in the track mixer would press the main window's cancel button and end
// the program, Space would pause, F1 would open the general help rather than
// the mixer's page. From this call on, every key without Ctrl, Alt or Meta
// typed in any tool window of mainWindow, now or later, reaches that window as
// an ordinary key press; keys with those modifiers still reach the main
// window's commands, except Alt+F4, which closes the tool window it is typed
// in (where a window manager does not take it first) rather than ending the
// program. Lasts as long as mainWindow.
void keepKeysInToolWindows(QWidget& mainWindow);

} // namespace harmonet
