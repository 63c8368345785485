#include "tests/desktop/PlayerOnDisplay.h"

#include "tests/support/TestPaths.h"

#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

namespace harmonet::test {

void PlayerOnDisplay::SetUp()
{
    if (!m_xvfb.start()) {
        GTEST_SKIP() << "no Xvfb could be started";
    }
    ASSERT_TRUE(m_home.isValid());
    m_song = m_home.filePath(QStringLiteral("song.mid"));
    ASSERT_TRUE(QFile::copy(sourceDir() + QStringLiteral("/examples/old-hundredth.mid"), m_song));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(m_xvfb.display()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
    // No sound server: the built-in synthesizer plays into nothing.
    environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + m_home.filePath(QStringLiteral("none")));
    m_player.setProcessEnvironment(environment);
    m_player.setProcessChannelMode(QProcess::ForwardedChannels);
    m_player.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_player.start(QStringLiteral(HARMONET_PLAYER), {m_song});

    m_desktop = std::make_unique<XDesktop>(m_xvfb.display());
    ASSERT_TRUE(m_desktop->connected());
    const std::optional<xcb_window_t> main = shownWindow(MainTitle);
    ASSERT_TRUE(main.has_value()) << "the main window never showed";
    m_main = *main;
}

void PlayerOnDisplay::TearDown()
{
    if (m_player.state() != QProcess::NotRunning) {
        m_player.kill();
        m_player.waitForFinished();
    }
}

std::optional<int> PlayerOnDisplay::playerExitCode(int ms)
{
    if (!QTest::qWaitFor([this] { return m_player.state() == QProcess::NotRunning; }, ms)
        || m_player.exitStatus() != QProcess::NormalExit) {
        return std::nullopt;
    }
    return m_player.exitCode();
}

std::optional<xcb_window_t> PlayerOnDisplay::shownWindow(const std::string& title)
{
    std::optional<xcb_window_t> shown;
    if (!QTest::qWaitFor([&] { return (shown = m_desktop->mappedWindow(title)).has_value(); }, WindowWaitMs)) {
        return std::nullopt;
    }
    return shown;
}

bool PlayerOnDisplay::windowGone(const std::string& title)
{
    return QTest::qWaitFor([&] { return !m_desktop->mappedWindow(title); }, WindowWaitMs);
}

} // namespace harmonet::test
