// The program itself on a private X display, driven by key presses that
// travel through the X server as a user's do. Escape typed in a secondary
// window closes that window and nothing else; typed on the main window it
// ends the program.
#include "tests/desktop/PlayerOnDisplay.h"

#include <QFile>

#include <functional>

namespace harmonet::test {

namespace {

using namespace keysym;

using EscapeKeyTest = PlayerOnDisplay;

struct SecondaryWindow {
    const char* name;
    std::function<bool(XDesktop&)> open; // the keys typed on the main window
    std::string title;
};

std::function<bool(XDesktop&)> keys(std::vector<xcb_keysym_t> chord)
{
    return [chord](XDesktop& d) { return d.type(chord); };
}

TEST_F(EscapeKeyTest, EscapeClosesOnlyTheWindowItIsTypedInAndEndsTheProgramOnTheMainWindow)
{
    const QString song = songPath();
    const QList<SecondaryWindow> windows = {
        {"track mixer", keys({F5}), "Harmonet - Mixer"},
        {"lyrics", keys({F2}), "Harmonet - Lyrics"},
        {"settings", keys({F6}), "Harmonet - Settings"},
        {"help", keys({F1}), "Harmonet - Help"},
        {"about", keys({F12}), "About Harmonet"},
        {"export practice tracks", keys({ControlL, LetterE}), "Harmonet - Export Practice Tracks"},
        {"open dialog", keys({LetterO}), "Load MIDI File..."},
        // File > Reopen > the song, which has gone meanwhile.
        {"load error",
         [&](XDesktop& d) {
             return QFile::remove(song) && d.type({AltL, LetterF}) && d.type({Down}) && d.type({Right})
                 && d.type({Return});
         },
         "Error Loading File..."},
    };
    for (const SecondaryWindow& window : windows) {
        SCOPED_TRACE(window.name);
        desktop().focus(mainWindow());
        ASSERT_TRUE(window.open(desktop()));
        const std::optional<xcb_window_t> shown = shownWindow(window.title);
        ASSERT_TRUE(shown.has_value());
        desktop().focus(*shown);
        ASSERT_TRUE(desktop().type({Escape}));
        EXPECT_TRUE(windowGone(window.title)) << "Escape leaves the window open";
        ASSERT_TRUE(playerRunning()) << "Escape ended the program";
        ASSERT_TRUE(desktop().mappedWindow(MainTitle)) << "Escape closed the main window";
    }

    desktop().focus(mainWindow());
    ASSERT_TRUE(desktop().type({Escape}));
    EXPECT_EQ(playerExitCode(WindowWaitMs), 0);
}

} // namespace

} // namespace harmonet::test
