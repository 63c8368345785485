#pragma once

class QEvent;

namespace harmonet {

// Whether a key typed in one of the program's secondary windows stays with
// that window rather than going to the main window's keys (Esc, Space, the
// letters of the transport and the function keys): every key without Ctrl,
// Alt or Meta. The toolkit would otherwise let the main window's shortcuts
// act from a tool window it owns. Accepts the shortcut check of such a key,
// which then arrives as an ordinary key press; false for any other event.
bool keepOwnKey(QEvent* event);

} // namespace harmonet
