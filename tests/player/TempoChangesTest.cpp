// Options > Follow Tempo Changes: off by default and remembered; the status
// bar says when a file's tempo changes are ignored; with it on, length,
// position, lyrics and tempo changes follow the file's tempo map.
#include "tests/player/PlayerFixture.h"

#include "sequencer/MidiFile.h"
#include "player/RightAlignedLabel.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSlider>

namespace harmonet::test {
namespace {

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

class TempoChangesTest : public PlayerTest {
protected:
    TfrmMain& loadSong(const QByteArray& bytes)
    {
        TfrmMain& main = showWindow({writeFile("song.mid", bytes)});
        main.MidiFile1->SetClock(&clock);
        return main;
    }

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

TEST_F(TempoChangesTest, OffByDefaultWithANoticeNamingTheOptionAndRememberedWhenOn)
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

TEST_F(TempoChangesTest, WithTheOptionOnPositionsAndLyricsFollowTheMap)
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

TEST_F(TempoChangesTest, ATempoChangeWhilePlayingInTheMiddleOfTheMapKeepsTheTick)
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
