// The program itself on a private X display, driven by key presses that
// travel through the X server as a user's do. Escape typed in a secondary
// window closes that window and nothing else; typed on the main window it
// ends the program.
#include "tests/desktop/XDesktop.h"
#include "tests/support/PrivateXvfb.h"
#include "tests/support/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/prctl.h>

namespace harmonet::test {

namespace {

// Key symbols of X (X11/keysymdef.h).
constexpr xcb_keysym_t Escape = 0xff1b, Return = 0xff0d, Right = 0xff53, Down = 0xff54;
constexpr xcb_keysym_t F1 = 0xffbe, F2 = 0xffbf, F5 = 0xffc2, F6 = 0xffc3, F12 = 0xffc9;
constexpr xcb_keysym_t ControlL = 0xffe3, AltL = 0xffe9, LetterE = 'e', LetterF = 'f', LetterO = 'o';

constexpr int WindowWaitMs = 20000;

// The player started on a song with settings of its own, on the display;
// killed if it still runs when this goes, and with the test if that dies.
class RunningPlayer {
public:
    RunningPlayer(const std::string& display, const QString& song)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(display));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
        // No sound server: the built-in synthesizer plays into nothing.
        environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + m_home.filePath(QStringLiteral("none")));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_process.start(QStringLiteral(HARMONET_PLAYER), {song});
    }
    ~RunningPlayer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    bool running() const { return m_process.state() == QProcess::Running; }
    // Waits for the program to end; its exit code, or nothing if it did not end or crashed.
    std::optional<int> exitCode(int ms)
    {
        if (!QTest::qWaitFor([this] { return m_process.state() == QProcess::NotRunning; }, ms)
            || m_process.exitStatus() != QProcess::NormalExit) {
            return std::nullopt;
        }
        return m_process.exitCode();
    }

private:
    QTemporaryDir m_home;
    QProcess m_process;
};

struct SecondaryWindow {
    const char* name;
    std::function<bool(XDesktop&)> open; // the keys typed on the main window
    std::string title;
};

TEST(EscapeKeyTest, EscapeClosesOnlyTheWindowItIsTypedInAndEndsTheProgramOnTheMainWindow)
{
    PrivateXvfb xvfb;
    if (!xvfb.start()) {
        GTEST_SKIP() << "no Xvfb could be started";
    }
    QTemporaryDir songs;
    const QString song = songs.filePath(QStringLiteral("song.mid"));
    ASSERT_TRUE(QFile::copy(sourceDir() + QStringLiteral("/examples/old-hundredth.mid"), song));
    RunningPlayer player(xvfb.display(), song);
    XDesktop desktop(xvfb.display());
    ASSERT_TRUE(desktop.connected());

    const std::string mainTitle = "Harmonet - song.mid";
    std::optional<xcb_window_t> main;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (main = desktop.mappedWindow(mainTitle)).has_value(); }, WindowWaitMs));

    const auto keys = [](std::vector<xcb_keysym_t> chord) {
        return [chord](XDesktop& d) { return d.type(chord); };
    };
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
        desktop.focus(*main);
        ASSERT_TRUE(window.open(desktop));
        std::optional<xcb_window_t> shown;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (shown = desktop.mappedWindow(window.title)).has_value(); },
                                    WindowWaitMs));
        desktop.focus(*shown);
        ASSERT_TRUE(desktop.type({Escape}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.mappedWindow(window.title); }, WindowWaitMs))
            << "Escape leaves the window open";
        ASSERT_TRUE(player.running()) << "Escape ended the program";
        ASSERT_TRUE(desktop.mappedWindow(mainTitle)) << "Escape closed the main window";
    }

    desktop.focus(*main);
    ASSERT_TRUE(desktop.type({Escape}));
    EXPECT_EQ(player.exitCode(WindowWaitMs), 0);
}

} // namespace

} // namespace harmonet::test
