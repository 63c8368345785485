// Keys typed in the player's tool windows and in the dialogs they open, on a
// private X display through the X server: each key acts on the window it is
// typed in, never on the window below it or on the whole program.
#include "tests/desktop/PlayerOnDisplay.h"

#include <QPoint>

#include <functional>

namespace harmonet::test {

namespace {

using namespace keysym;

using ToolWindowKeysTest = PlayerOnDisplay;

constexpr const char* SettingsTitle = "Harmonet - Settings";

struct NestedDialog {
    const char* name;
    // What the user clicks in the settings window (its fixed layout), and
    // types then, to open the dialog.
    QPoint click;
    std::vector<xcb_keysym_t> then;
    std::string title;
};

TEST_F(ToolWindowKeysTest, EscapeInADialogOverTheSettingsClosesOnlyThatDialog)
{
    const QList<NestedDialog> dialogs = {
        // The button left of the lyrics window's font.
        {"font", QPoint(44, 187), {}, "Select Font"},
        // The background colour's picker, then its "Other..." entry.
        {"colour", QPoint(171, 62), {LetterO}, "Select Color"},
    };
    desktop().focus(mainWindow());
    ASSERT_TRUE(desktop().type({F6}));
    const std::optional<xcb_window_t> settings = shownWindow(SettingsTitle);
    ASSERT_TRUE(settings.has_value());
    for (const NestedDialog& dialog : dialogs) {
        SCOPED_TRACE(dialog.name);
        desktop().focus(*settings);
        ASSERT_TRUE(desktop().click(*settings, dialog.click.x(), dialog.click.y()));
        if (!dialog.then.empty()) {
            ASSERT_TRUE(desktop().type(dialog.then));
        }
        const std::optional<xcb_window_t> shown = shownWindow(dialog.title);
        ASSERT_TRUE(shown.has_value());
        desktop().focus(*shown);
        ASSERT_TRUE(desktop().type({Escape}));
        EXPECT_TRUE(windowGone(dialog.title)) << "Escape leaves the dialog open";
        ASSERT_TRUE(playerRunning()) << "Escape ended the program";
        EXPECT_TRUE(desktop().mappedWindow(SettingsTitle)) << "Escape closed the settings too";
        EXPECT_TRUE(desktop().mappedWindow(MainTitle)) << "Escape closed the main window";
    }
}

// With a window manager Alt+F4 never reaches the program; without one it
// does, and must then close the window it is typed in, like the close box.
TEST_F(ToolWindowKeysTest, AltF4ClosesOnlyTheToolWindowItIsTypedIn)
{
    const QList<std::pair<xcb_keysym_t, std::string>> toolWindows = {
        {F5, "Harmonet - Mixer"},
        {F2, "Harmonet - Lyrics"},
        {F6, SettingsTitle},
    };
    for (const auto& [key, title] : toolWindows) {
        SCOPED_TRACE(title);
        desktop().focus(mainWindow());
        ASSERT_TRUE(desktop().type({key}));
        const std::optional<xcb_window_t> shown = shownWindow(title);
        ASSERT_TRUE(shown.has_value());
        desktop().focus(*shown);
        ASSERT_TRUE(desktop().type({AltL, F4}));
        EXPECT_TRUE(windowGone(title)) << "Alt+F4 leaves the window open";
        ASSERT_TRUE(playerRunning()) << "Alt+F4 in a tool window ended the program";
        ASSERT_TRUE(desktop().mappedWindow(MainTitle)) << "Alt+F4 closed the main window";
    }
}

} // namespace

} // namespace harmonet::test
