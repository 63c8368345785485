#pragma once

#include <xcb/xcb.h>

#include <vector>
#include <optional>
#include <string>

namespace harmonet::test {

// A user at an X display without a window manager: sees which top-level
// windows are mapped and what they are titled, puts the keyboard focus on a
// window as a click on it would, and types keys and clicks the mouse through
// XTEST, so they reach the program through the X server like a real user's.
class XDesktop {
public:
    explicit XDesktop(const std::string& display);
    ~XDesktop();
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    bool connected() const;

    // The mapped top-level window with that title, if there is one.
    std::optional<xcb_window_t> mappedWindow(const std::string& title);

    void focus(xcb_window_t window);

    // Types a chord: every key pressed in order, then released in reverse
    // order (e.g. {Control_L, e}). False when a key has no key code here.
    bool type(const std::vector<xcb_keysym_t>& chord);

    // Clicks the left mouse button at a point of the window (in its own
    // coordinates); false when the window is gone.
    bool click(xcb_window_t window, int x, int y);

private:
    // A round trip: the server has taken every request made before once it answers.
    void roundTrip();
    std::string titleOf(xcb_window_t window);
    std::optional<xcb_keycode_t> keycodeOf(xcb_keysym_t keysym);

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
};

} // namespace harmonet::test
