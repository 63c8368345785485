#pragma once

#include "tests/desktop/XDesktop.h"
#include "tests/support/PrivateXvfb.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace harmonet::test {

// Key symbols of X (X11/keysymdef.h).
namespace keysym {
constexpr xcb_keysym_t Escape = 0xff1b, Return = 0xff0d, Right = 0xff53, Down = 0xff54;
constexpr xcb_keysym_t F1 = 0xffbe, F2 = 0xffbf, F4 = 0xffc1, F5 = 0xffc2, F6 = 0xffc3, F12 = 0xffc9;
constexpr xcb_keysym_t ControlL = 0xffe3, AltL = 0xffe9, LetterE = 'e', LetterF = 'f', LetterO = 'o';
} // namespace keysym

// The player started on a copy of the example song, with settings of its own,
// on a private X display, and a user at that display who has found its main
// window. The player is killed if it still runs when the test ends, and with
// the test if that dies. Skips the test where no X server can be started.
class PlayerOnDisplay : public ::testing::Test {
protected:
    static constexpr int WindowWaitMs = 20000;
    static constexpr const char* MainTitle = "Harmonet - song.mid";

    void SetUp() override;
    void TearDown() override;

    XDesktop& desktop() { return *m_desktop; }
    xcb_window_t mainWindow() const { return m_main; }
    const QString& songPath() const { return m_song; }

    bool playerRunning() const { return m_player.state() == QProcess::Running; }
    // Waits for the player to end: its exit code, or nothing if it did not
    // end in time or crashed.
    std::optional<int> playerExitCode(int ms);

    // Waits for the window of that title to be shown.
    std::optional<xcb_window_t> shownWindow(const std::string& title);
    // Waits for the window of that title to be gone; true when it went.
    bool windowGone(const std::string& title);

private:
    PrivateXvfb m_xvfb;
    QTemporaryDir m_home;
    QString m_song;
    QProcess m_player;
    std::unique_ptr<XDesktop> m_desktop;
    xcb_window_t m_main = 0;
};

} // namespace harmonet::test
