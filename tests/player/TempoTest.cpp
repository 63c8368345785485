// The tempo slider and its menu: a change of tempo rescales the length and
// the position, so that the song goes on at the same musical place, stays
// stopped where it was, or plays on after a pause.
#include "tests/player/PlayerFixture.h"

#include "sequencer/MidiFile.h"
#include "widgets/ImageButton.h"
#include "widgets/cmpTimeDisplay.h"

#include <QAction>
#include <QMenu>
#include <QSlider>
#include <QTest>

namespace harmonet::test {
namespace {

// 172 800 ticks at 480 a quarter and 120 bpm last 180 000 ms.
constexpr qint32 ThreeMinutes = 172800;

class TempoTest : public PlayerTest {
protected:
    TfrmMain& loadSong(const QByteArray& bytes)
    {
        TfrmMain& main = showWindow({writeFile("song.mid", bytes)});
        main.MidiFile1->SetClock(&clock);
        recorder->clearMessages();
        return main;
    }

    TfrmMain& loadThreeMinutes() { return loadSong(lyricSong({{0, "Now"}}, ThreeMinutes)); }

    void playFor(TfrmMain& main, int ms)
    {
        clock.advanceMs(ms);
        main.MidiFile1->Tick();
        QMetaObject::invokeMethod(main.Timer1, "timeout");
    }

    static void choose(TfrmMain& main, const char* item)
    {
        main.pmTempo->findChild<QAction*>(QLatin1String(item))->trigger();
    }

    ManualClock clock;
};

TEST_F(TempoTest, HalvingTheTempoWhilePlayingGoesOnAtTheSameMusicalPlace)
{
    TfrmMain& main = loadThreeMinutes();
    ASSERT_EQ(main.SongLength, 180000);
    ASSERT_EQ(main.tbTempo->value(), 120);
    main.Play1->trigger();
    playFor(main, 60000);

    choose(main, "N601");
    EXPECT_EQ(main.MidiFile1->Bpm(), 60);
    EXPECT_EQ(main.SongLength, 360000);
    EXPECT_EQ(main.tbPosition->maximum(), 360000);
    EXPECT_EQ(main.tbPosition->value(), 120000);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 120000);
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(main.btnPlay->isDown());
    EXPECT_TRUE(main.Timer1->isActive());
    EXPECT_EQ(main.TimeDisplay1->time(), 120000);
    EXPECT_EQ(main.tbTempo->toolTip(), "60");

    QTest::mouseClick(main.sbTimeDown, Qt::LeftButton);
    EXPECT_EQ(main.TimeDisplay1->time(), 240000) << "four minutes left at the new tempo";
    playFor(main, 1000);
    EXPECT_EQ(main.tbPosition->value(), 121000);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(TempoTest, AChangeWhilePausedPlaysOnAtTheRescaledPlace)
{
    TfrmMain& main = loadThreeMinutes();
    main.Play1->trigger();
    playFor(main, 30000);
    main.Pause1->trigger();
    choose(main, "N601");
    EXPECT_FALSE(main.btnPause->isDown());
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 60000);
}

TEST_F(TempoTest, AChangeWhileStoppedStaysStoppedAfterResendingTheInstruments)
{
    TfrmMain& main = loadSong(choirSong({"S", "A"}));
    choose(main, "N801");
    EXPECT_EQ(main.MidiFile1->Bpm(), 80);
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_FALSE(main.btnPlay->isDown());
    EXPECT_FALSE(main.Timer1->isActive());
    EXPECT_EQ(main.tbPosition->value(), 0);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 0);
    const QList<QByteArray> sent = sentMessages();
    EXPECT_TRUE(sent.contains(QByteArray("\xC0\x13", 2)) && sent.contains(QByteArray("\xC1\x13", 2)));
    EXPECT_TRUE(sent.contains(QByteArray("\xBF\x7B\x00", 3)));

    // Stopped half-way, a change keeps the place in the music.
    main.tbPosition->setValue(main.tbPosition->maximum() / 2);
    const int halfWay = main.tbPosition->value();
    choose(main, "N1201");
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_EQ(main.tbPosition->value(), qRound(halfWay * 80.0 / 120.0));
}

TEST_F(TempoTest, AFileFasterThanTheSliderShowsTwoHundredAndResetSetsTwoHundred)
{
    SmfWriter song;
    song.header(1, 2, 480);
    song.beginTrack().tempo(0, 250000).endOfTrack().endTrack();
    song.beginTrack().noteOn(0, 0, 60, 100).noteOff(960, 0, 60).endOfTrack().endTrack();
    TfrmMain& main = loadSong(song.bytes());
    EXPECT_EQ(main.FileBpm, 240);
    EXPECT_EQ(main.tbTempo->value(), 200);
    EXPECT_EQ(main.MidiFile1->Bpm(), 240) << "loading alone changes no tempo";

    choose(main, "Reset1");
    EXPECT_EQ(main.MidiFile1->Bpm(), 200);
    EXPECT_EQ(main.tbTempo->toolTip(), "200");
}

TEST_F(TempoTest, TheDigitOneResetsButTheKeypadOneDoesNot)
{
    TfrmMain& main = loadThreeMinutes();
    choose(main, "N1401");
    main.tbTempo->setFocus();
    QTest::keyClick(main.tbTempo, Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(main.MidiFile1->Bpm(), 140);
    QTest::keyClick(main.tbTempo, Qt::Key_1);
    EXPECT_EQ(main.MidiFile1->Bpm(), 120);
    EXPECT_EQ(main.tbTempo->value(), 120);
}

TEST_F(TempoTest, DraggingTheThumbChangesNothingUntilItIsReleased)
{
    TfrmMain& main = loadThreeMinutes();
    main.tbTempo->setSliderDown(true);
    main.tbTempo->setSliderPosition(60);
    EXPECT_EQ(main.MidiFile1->Bpm(), 120);
    EXPECT_EQ(main.SongLength, 180000);
    main.tbTempo->setSliderDown(false);
    EXPECT_EQ(main.MidiFile1->Bpm(), 60);
    EXPECT_EQ(main.SongLength, 360000);

    main.tbTempo->setFocus();
    QTest::keyClick(main.tbTempo, Qt::Key_Right);
    EXPECT_EQ(main.MidiFile1->Bpm(), 70) << "a key step is a finished change";
}

TEST_F(TempoTest, TheHintIsEmptyUntilTheFirstChangeAndOutlivesALoad)
{
    TfrmMain& main = loadThreeMinutes();
    EXPECT_EQ(main.tbTempo->toolTip(), "");
    choose(main, "N1001");
    main.CurrentFileName = writeFile("other.mid", choirSong({"S"}));
    main.LoadMidiFile();
    EXPECT_EQ(main.tbTempo->value(), 120);
    EXPECT_EQ(main.tbTempo->toolTip(), "100");
}

TEST_F(TempoTest, AFailingOutputDuringTheChangeIsReportedAndSeekingStillWorksAfterwards)
{
    TfrmMain& main = loadThreeMinutes();
    main.Play1->trigger();
    recorder->failSends(7, QStringLiteral("device gone"));
    choose(main, "N601");
    EXPECT_FALSE(errors.isEmpty()) << "the output's error reaches the error report";
    recorder->stopFailing();
    main.btnStopClick();

    main.tbPosition->setValue(1000);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 1000) << "the position slider still seeks";
}

} // namespace
} // namespace harmonet::test
