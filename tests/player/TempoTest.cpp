// The tempo slider and its menu: a change of tempo rescales the length and
// the position, so that the song goes on at the same musical place, stays
// stopped where it was, or plays on after a pause. Options > Follow Tempo
// Changes: off by default and remembered; the status bar says when a file's
// tempo changes are ignored; with it on, length, position, lyrics and tempo
// changes follow the file's tempo map.
#include "tests/player/PlayerFixture.h"

#include "player/PitchClickMenus.h"
#include "player/RightAlignedLabel.h"
#include "sequencer/MidiFile.h"
#include "widgets/ImageButton.h"
#include "widgets/cmpTimeDisplay.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QTest>

namespace harmonet::test {
namespace {

// 172 800 ticks at 480 a quarter and 120 bpm last 180 000 ms.
constexpr qint32 ThreeMinutes = 172800;

// 480 ticks a quarter: a bar of 120 bpm (2 s), a bar of 60 bpm (4 s), a bar
// of 120 bpm (2 s). Played at one tempo (the last, 120 bpm) it lasts 6 s.
QByteArray slowerMiddleBar()
{
    SmfWriter song;
    song.header(1, 3, 480);
    song.beginTrack().tempo(0, 500000).tempo(1920, 1000000).tempo(1920, 500000).endOfTrack().endTrack();
    song.beginTrack()
        .meta(0, SmfWriter::TrackName, "Soprano")
        .noteOn(0, 0, 72, 100)
        .meta(480, SmfWriter::Lyric, "One ")
        .meta(3360, SmfWriter::Lyric, "Two ")
        .noteOff(1920, 0, 72)
        .endOfTrack()
        .endTrack();
    song.beginTrack().meta(0, SmfWriter::TrackName, "Alto").noteOn(0, 1, 65, 100).noteOff(5760, 1, 65).endTrack();
    return song.bytes();
}

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

TEST_F(TempoTest, AFileFasterThanTwoHundredWidensTheSliderAndResetRestoresItsOwnTempo)
{
    SmfWriter song;
    song.header(1, 2, 480);
    song.beginTrack().tempo(0, 250000).endOfTrack().endTrack();
    song.beginTrack().noteOn(0, 0, 60, 100).noteOff(960, 0, 60).endOfTrack().endTrack();
    TfrmMain& main = loadSong(song.bytes());
    EXPECT_EQ(main.FileBpm, 240);
    EXPECT_EQ(main.tbTempo->maximum(), 240);
    EXPECT_EQ(main.lblTempoHigh->text(), "240");
    EXPECT_EQ(main.tbTempo->value(), 240);
    EXPECT_EQ(main.MidiFile1->Bpm(), 240) << "loading alone changes no tempo";

    choose(main, "N601");
    ASSERT_EQ(main.MidiFile1->Bpm(), 60);
    EXPECT_EQ(main.lblTempoPercent->text(), "25 %");
    choose(main, "Reset1");
    EXPECT_EQ(main.MidiFile1->Bpm(), 240);
    EXPECT_EQ(main.tbTempo->toolTip(), "240");
    EXPECT_EQ(main.lblTempoPercent->text(), "100 %");
    // Practice tracks take the player's settings: two beats at 240 bpm.
    PlayingSession exported;
    exported.setSong(main.session().song());
    exported.applySettings(main.session().settings());
    EXPECT_EQ(exported.sequencer().SongLengthMs(), 500);
}

TEST_F(TempoTest, PercentagesOfTheSongsOwnTempoAndStepsOfFivePercent)
{
    TfrmMain& main = loadThreeMinutes();
    const struct {
        const char* what;
        std::function<void()> act;
        int bpm;
        const char* shown;
    } steps[] = {
        {"75 % of 120", [&] { choose(main, "Percent751"); }, 90, "75 %"},
        {"faster by 5 %", [&] { main.PitchClickMenus1->Faster1->trigger(); }, 96, "80 %"},
        {"slower twice", [&] { main.PitchClickMenus1->Slower1->trigger(); main.PitchClickMenus1->Slower1->trigger(); },
         84, "70 %"},
        {"a bpm preset off the steps", [&] { choose(main, "N1001"); }, 100, "83 %"},
        {"faster from there, to the next step", [&] { main.PitchClickMenus1->Faster1->trigger(); }, 102, "85 %"},
        {"the top of the range", [&] { main.setTempo(200); main.PitchClickMenus1->Faster1->trigger(); }, 200, "167 %"},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(main.MidiFile1->Bpm(), step.bpm) << step.what;
        EXPECT_EQ(main.lblTempoPercent->text(), step.shown) << step.what;
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
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

TEST_F(TempoTest, OffByDefaultWithANoticeNamingTheOptionAndRememberedWhenOn)
{
    TfrmMain& main = loadSong(slowerMiddleBar());
    EXPECT_FALSE(main.FollowTempoChanges1->isChecked());
    EXPECT_EQ(main.SongLength, 6000) << "one tempo, as ever";
    EXPECT_TRUE(main.lblTempoNotice->isVisibleTo(&main));
    EXPECT_EQ(main.lblTempoNotice->text(), "Tempo changes ignored");
    EXPECT_TRUE(main.lblTempoNotice->toolTip().contains("Options > Follow Tempo Changes"));

    main.FollowTempoChanges1->trigger();
    EXPECT_TRUE(main.MidiFile1->FollowsTempoChanges());
    EXPECT_FALSE(main.lblTempoNotice->isVisibleTo(&main));
    EXPECT_EQ(main.SongLength, 8000);
    EXPECT_EQ(main.tbPosition->maximum(), 8000);
    EXPECT_EQ(main.tbTempo->value(), 120) << "the tempo at the start";

    main.FollowTempoChanges1->trigger();
    EXPECT_TRUE(main.lblTempoNotice->isVisibleTo(&main));
    main.CurrentFileName = writeFile("one-tempo.mid", choirSong({"S", "A"}));
    main.LoadMidiFile();
    EXPECT_FALSE(main.lblTempoNotice->isVisibleTo(&main)) << "a file of one tempo loses nothing";

    main.FollowTempoChanges1->trigger();
    window.reset();
    EXPECT_EQ(storedMainFormValue("FollowTempoChanges"), "1");
    showWindow();
    EXPECT_TRUE(window->FollowTempoChanges1->isChecked());
    EXPECT_TRUE(window->MidiFile1->FollowsTempoChanges());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(TempoTest, WithTheOptionOnPositionsAndLyricsFollowTheMap)
{
    storeMainFormValue("FollowTempoChanges", "1");
    TfrmMain& main = loadSong(slowerMiddleBar());
    EXPECT_EQ(main.SongLength, 8000);
    EXPECT_FALSE(main.lblTempoNotice->isVisibleTo(&main));
    // 5 s is tick 3360 through the map, before "Two " at 3840; at one tempo
    // of 120 bpm it is tick 4800, after every syllable.
    EXPECT_EQ(main.NextLyricTime(5000), 3840);

    main.tbPosition->setValue(4000);
    EXPECT_NEAR(main.MidiFile1->CurrentPos(), 2880, 1e-6) << "half-way through the slow bar";
    EXPECT_EQ(main.lblLyrics->text(), "Two ");

    main.FollowTempoChanges1->trigger();
    EXPECT_EQ(main.tbPosition->value(), 3000) << "the same tick at one tempo";
    EXPECT_NEAR(main.MidiFile1->CurrentPos(), 2880, 1e-6);
    EXPECT_EQ(main.NextLyricTime(5000), -1);
}

TEST_F(TempoTest, VersesThroughTheMapStartAtTheirShareOfTheTicks)
{
    // Three verses of a bar each: the second one is the slow bar.
    SmfWriter song;
    song.header(1, 2, 480);
    song.beginTrack().tempo(0, 500000).tempo(1920, 1000000).tempo(1920, 500000).endOfTrack().endTrack();
    song.beginTrack()
        .noteOn(0, 0, 72, 100)
        .meta(0, SmfWriter::Lyric, "1.One ")
        .meta(1920, SmfWriter::Lyric, "2.Two ")
        .meta(1920, SmfWriter::Lyric, "3.Three ")
        .noteOff(1920, 0, 72)
        .endTrack();
    storeMainFormValue("FollowTempoChanges", "1");
    TfrmMain& main = loadSong(song.bytes());
    ASSERT_EQ(main.VerseCount, 3);
    ASSERT_EQ(main.SongLength, 8000);
    main.pmPosition->findChild<QAction*>("Verse2")->trigger();
    EXPECT_EQ(main.tbPosition->value(), 2000) << "a third of the ticks, not of the time";
    EXPECT_EQ(main.MidiFile1->TicksAtMs(main.tbPosition->value()), 1920);
    main.pmPosition->findChild<QAction*>("Verse3")->trigger();
    EXPECT_NEAR(main.tbPosition->value(), 6000, 2);
}

TEST_F(TempoTest, ATempoChangeWhilePlayingInTheMiddleOfTheMapKeepsTheTick)
{
    storeMainFormValue("FollowTempoChanges", "1");
    TfrmMain& main = loadSong(slowerMiddleBar());
    main.Play1->trigger();
    playFor(main, 3000);
    ASSERT_NEAR(main.MidiFile1->CurrentPos(), 2400, 1e-6) << "a second into the slow bar";

    choose(main, "N601");
    EXPECT_EQ(main.MidiFile1->Bpm(), 60);
    EXPECT_EQ(main.SongLength, 16000) << "every tempo halved";
    EXPECT_EQ(main.tbPosition->value(), 6000);
    EXPECT_NEAR(main.MidiFile1->CurrentPos(), 2400, 0.5);
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    playFor(main, 2000);
    EXPECT_NEAR(main.MidiFile1->CurrentPos(), 2880, 0.5) << "the slow bar at half its tempo: 30 bpm";

    choose(main, "Reset1");
    EXPECT_EQ(main.MidiFile1->Bpm(), 120);
    EXPECT_EQ(main.SongLength, 8000) << "the file's own tempi";
    EXPECT_NEAR(main.MidiFile1->CurrentPos(), 2880, 0.5);
    EXPECT_TRUE(main.MidiFile1->IsPlaying());

    // Switching the option off while playing keeps the tick too.
    main.FollowTempoChanges1->trigger();
    EXPECT_EQ(main.SongLength, 6000);
    EXPECT_NEAR(main.MidiFile1->CurrentPos(), 2880, 0.5);
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

} // namespace
} // namespace harmonet::test
