#include "tests/desktop/XDesktop.h"

#include <xcb/xtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace harmonet::test {

namespace {

// Replies of xcb are malloc'ed.
template <typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> owned(Reply* reply)
{
    return {reply, &std::free};
}

} // namespace

XDesktop::XDesktop(const std::string& display)
    : m_connection(xcb_connect(display.c_str(), nullptr))
{
    if (connected()) {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
}

XDesktop::~XDesktop()
{
    xcb_disconnect(m_connection);
}

bool XDesktop::connected() const
{
    return xcb_connection_has_error(m_connection) == 0;
}

std::string XDesktop::titleOf(xcb_window_t window)
{
    const auto reply = owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
    if (!reply) {
        return {};
    }
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(text, size_t(xcb_get_property_value_length(reply.get())));
}

std::optional<xcb_window_t> XDesktop::mappedWindow(const std::string& title)
{
    // Without a window manager every top-level window is a child of the root.
    const auto tree = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
    if (!tree) {
        return std::nullopt;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto attributes = owned(xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && titleOf(children[i]) == title) {
            return children[i];
        }
    }
    return std::nullopt;
}

void XDesktop::focus(xcb_window_t window)
{
    xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
}

std::optional<xcb_keycode_t> XDesktop::keycodeOf(xcb_keysym_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto mapping = owned(xcb_get_keyboard_mapping_reply(
        m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, count), nullptr));
    if (!mapping) {
        return std::nullopt;
    }
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perKeycode = mapping->keysyms_per_keycode;
    for (int code = 0; code < count; ++code) {
        if (keysyms[code * perKeycode] == keysym) {
            return xcb_keycode_t(setup->min_keycode + code);
        }
    }
    return std::nullopt;
}

bool XDesktop::type(const std::vector<xcb_keysym_t>& chord)
{
    std::vector<xcb_keycode_t> codes;
    for (xcb_keysym_t keysym : chord) {
        const std::optional<xcb_keycode_t> code = keycodeOf(keysym);
        if (!code) {
            return false;
        }
        codes.push_back(*code);
    }
    for (xcb_keycode_t code : codes) {
        xcb_test_fake_input(m_connection, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
        xcb_test_fake_input(m_connection, XCB_KEY_RELEASE, *code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    roundTrip();
    return true;
}

bool XDesktop::click(xcb_window_t window, int x, int y)
{
    const auto onRoot = owned(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, window, m_root, int16_t(x), int16_t(y)), nullptr));
    if (!onRoot) {
        return false;
    }
    // The pointer moves to the point (detail 0: absolute), then the first button goes down and up.
    xcb_test_fake_input(m_connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root, onRoot->dst_x, onRoot->dst_y, 0);
    xcb_test_fake_input(m_connection, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(m_connection, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    roundTrip();
    return true;
}

void XDesktop::roundTrip()
{
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

} // namespace harmonet::test
