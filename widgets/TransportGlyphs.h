#pragma once

#include <QPixmap>

// The pictures of the main window's transport buttons, each in an "off" form
// (shown at rest) and an "on" form (shown while its function is active), on a
// transparent background.
namespace harmonet::glyphs {

// 11 x 18, a triangle pointing right: dark cyan off, bright green on.
QPixmap play(bool on);
// 16 x 16, two upright bars: dark yellow off, yellow on.
QPixmap pause(bool on);
// 16 x 16, a square: dark red off, bright red on.
QPixmap stop(bool on);
// 30 x 12, two pictures side by side (normal, then disabled in grey) of a
// double arrow pointing left: black off, bright green on.
QPixmap rewind(bool on);
// 30 x 12, as rewind with the double arrow pointing right.
QPixmap fastForward(bool on);
// 9 x 9, a black arrow pointing up (counting up) or down (counting down).
QPixmap countArrow(bool up);

} // namespace harmonet::glyphs
