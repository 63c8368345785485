// The main window when its output device changes by itself: a port that goes
// away in the middle of a song stops playing after one error report, and the
// status bar's notice follows the device's remark without anyone's help.
#include "tests/player/PlayerFixture.h"

#include "midiout/MidiOutError.h"
#include "sequencer/MidiFile.h"
#include "widgets/ImageButton.h"

#include <QLabel>
#include <QTest>

namespace harmonet::test {
namespace {

class DeviceLossTest : public PlayerTest {
protected:
    // Moves the playing song on by ms as its timer would.
    void playFor(TfrmMain& main, int ms)
    {
        for (int done = 0; done < ms; done += 10) {
            clock.advanceMs(10);
            main.MidiFile1->Tick();
            QCoreApplication::processEvents();
        }
    }

    ManualClock clock;
};

TEST_F(DeviceLossTest, APortThatGoesAwayMidSongIsReportedOnceByNameAndPlayingStops)
{
    TfrmMain& main = showWindow({writeFile(QStringLiteral("choir.mid"), choirSong({"Soprano", "Alto"}))});
    ASSERT_TRUE(main.session().outputOpen());
    main.MidiFile1->SetClock(&clock);
    main.Play1->trigger();
    playFor(main, 20);
    ASSERT_FALSE(recorder->messages().empty());

    recorder->failSends(MidiDeviceRemoved, QStringLiteral("The MIDI port Recorder is no longer available"));
    // The song's notes keep falling due; the first of them finds the port gone.
    playFor(main, 2000);
    ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
    EXPECT_TRUE(errors.front().contains(QStringLiteral("Recorder")));
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_FALSE(main.btnPlay->isDown());
    // Until another device is chosen the status bar says why nothing sounds.
    EXPECT_TRUE(main.lblOutputNotice->isVisible());
    EXPECT_TRUE(main.lblOutputNotice->toolTip().contains(QStringLiteral("Recorder")));
}

TEST_F(DeviceLossTest, TheNoticeFollowsTheDevicesRemarkByItself)
{
    TfrmMain& main = showWindow();
    ASSERT_TRUE(main.session().outputOpen());
    ASSERT_FALSE(main.lblOutputNotice->isVisible());
    const QString lost = QStringLiteral("The built-in synthesizer lost its audio output");
    recorder->setNotice(lost);
    QTRY_VERIFY_WITH_TIMEOUT(main.lblOutputNotice->isVisible(), 10000);
    EXPECT_EQ(main.lblOutputNotice->text(), "No audio output");
    EXPECT_EQ(main.lblOutputNotice->toolTip(), lost);
    recorder->setNotice(QString());
    QTRY_VERIFY_WITH_TIMEOUT(!main.lblOutputNotice->isVisible(), 10000);
}

} // namespace
} // namespace harmonet::test
