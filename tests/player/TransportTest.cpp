// The transport of the main window: play, stop and pause through their
// buttons and menu items, the refresh that follows playback and ends it at the
// end of the song, the count direction of the time display, and the silencing
// of every channel whenever the music stops.
#include "tests/player/PlayerFixture.h"

#include "player/RightAlignedLabel.h"
#include "sequencer/MidiFile.h"
#include "widgets/ImageButton.h"
#include "widgets/TransportGlyphs.h"
#include "widgets/cmpTimeDisplay.h"

#include <QAction>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace harmonet::test {

namespace {

// 86 400 ticks at 480 a quarter and 120 bpm last 90 000 ms.
constexpr qint32 SongTicks = 86400;
constexpr int SongMs = 90000;

QByteArray shortMessage(int status, int first, int second)
{
    QByteArray message;
    message.append(char(status)).append(char(first)).append(char(second));
    return message;
}

bool sameImage(const QPixmap& a, const QPixmap& b)
{
    return a.toImage() == b.toImage();
}

} // namespace

class TransportTest : public PlayerTest {
protected:
    // A 90-second song with a syllable at the start and one at 30 s, on a
    // clock that moves only when told, with the record of the output empty.
    TfrmMain& loadSong()
    {
        const QList<Syllable> syllables = {{0, "Now"}, {28800, "thank"}};
        TfrmMain& main = showWindow({writeFile("hymn.mid", lyricSong(syllables, SongTicks))});
        EXPECT_EQ(main.SongLength, SongMs);
        EXPECT_TRUE(main.session().outputOpen());
        main.MidiFile1->SetClock(&clock);
        recorder->clearMessages();
        return main;
    }

    // Lets the song play for ms, then runs one refresh as its timer would.
    void playFor(TfrmMain& main, int ms)
    {
        clock.advanceMs(ms);
        main.MidiFile1->Tick();
        refresh(main);
    }

    static void refresh(TfrmMain& main) { QMetaObject::invokeMethod(main.Timer1, "timeout"); }

    static void click(TImageButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // How many All Notes Off messages reached the output, and on how many distinct channels.
    int allNotesOffCount() const
    {
        int count = 0;
        for (const QByteArray& message : sentMessages()) {
            count += message.size() == 3 && (quint8(message[0]) & 0xF0) == 0xB0 && message[1] == 123 && message[2] == 0;
        }
        return count;
    }

    static QList<QByteArray> allNotesOffOnEveryChannel()
    {
        QList<QByteArray> expected;
        for (int channel = 0; channel < 16; ++channel) {
            expected.append(shortMessage(0xB0 + channel, 123, 0));
        }
        return expected;
    }

    ManualClock clock;
};

namespace {

TEST_F(TransportTest, PlayStartsFromTheBeginningAndTheRefreshFollowsWithoutSeeking)
{
    TfrmMain& main = loadSong();
    click(main.btnPlay);
    EXPECT_TRUE(main.btnPlay->isDown());
    EXPECT_TRUE(sameImage(main.btnPlay->glyph(), glyphs::play(true)));
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(main.Timer1->isActive());
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 0);

    recorder->clearMessages();
    playFor(main, 31000);
    EXPECT_EQ(main.tbPosition->value(), 31000);
    EXPECT_EQ(main.tbPosition->toolTip(), "0:31");
    EXPECT_EQ(main.TimeDisplay1->time(), 31000);
    EXPECT_EQ(allNotesOffCount(), 0) << "the refresh moved the slider without seeking";
    EXPECT_TRUE(main.Timer1->isActive());
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_EQ(main.lblLyrics->text(), "thank") << "the strip moved with the music";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(TransportTest, PlayResendsEveryVoicesInstrumentButNotTheTempoTracks)
{
    TfrmMain& main = showWindow({writeFile("satb.mid", choirSong({"S", "A"}))});
    main.MidiFile1->SetClock(&clock);
    recorder->clearMessages();
    main.Play1->trigger();
    // Both voices were loaded with program 19; their channels are 1 and 2.
    EXPECT_EQ(sentMessages().mid(0, 2),
              QList<QByteArray>({QByteArray("\xC0\x13", 2), QByteArray("\xC1\x13", 2)}));
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
}

TEST_F(TransportTest, FirstStopHaltsWhereTheMusicIsAndTheSecondRewindsToTheStart)
{
    TfrmMain& main = loadSong();
    click(main.btnPlay);
    playFor(main, 31000);
    recorder->clearMessages();

    click(main.btnStop);
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_FALSE(main.btnPlay->isDown());
    EXPECT_TRUE(sameImage(main.btnPlay->glyph(), glyphs::play(false)));
    EXPECT_TRUE(sameImage(main.btnStop->glyph(), glyphs::stop(false))) << "the stop image is lit only while pressed";
    EXPECT_FALSE(main.Timer1->isActive());
    EXPECT_EQ(main.tbPosition->value(), 31000);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 31000);
    EXPECT_EQ(sentMessages(), allNotesOffOnEveryChannel());

    main.sbTimeDown->setDown(true);
    recorder->clearMessages();
    main.Stop1->trigger();
    EXPECT_EQ(main.tbPosition->value(), 0);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 0);
    EXPECT_EQ(main.TimeDisplay1->time(), SongMs) << "counting down, the start shows the full length";
    EXPECT_EQ(main.lblLyrics->text(), "Now");
    EXPECT_EQ(sentMessages().mid(0, 16), allNotesOffOnEveryChannel());
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
}

TEST_F(TransportTest, TheEndOfTheSongStopsAndTheNextPlayStartsOver)
{
    TfrmMain& main = loadSong();
    main.sbTimeDown->setDown(true);
    click(main.btnPlay);
    playFor(main, SongMs + 37);
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_FALSE(main.btnPlay->isDown());
    EXPECT_FALSE(main.Timer1->isActive());
    EXPECT_EQ(main.tbPosition->value(), SongMs) << "the slider stays at the end";
    EXPECT_EQ(main.TimeDisplay1->time(), -37) << "the small overrun is kept after the stop";

    ASSERT_TRUE(main.MidiFile1->AllTracksEnded());
    click(main.btnPlay);
    EXPECT_EQ(main.tbPosition->value(), 0);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 0);
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(main.Timer1->isActive());
    EXPECT_FALSE(main.MidiFile1->AllTracksEnded());
}

TEST_F(TransportTest, CountDirectionTogglesTheDisplayAtOnceEvenWhileStopped)
{
    TfrmMain& main = loadSong();
    click(main.btnPlay);
    playFor(main, 20000);
    main.btnStopClick();
    ASSERT_EQ(main.TimeDisplay1->time(), 20000);

    click(main.sbTimeDown);
    EXPECT_TRUE(main.sbTimeDown->isDown());
    EXPECT_EQ(main.TimeDisplay1->time(), SongMs - 20000);
    EXPECT_TRUE(sameImage(main.sbTimeDown->glyph(), glyphs::countArrow(false)));

    click(main.sbTimeDown);
    EXPECT_FALSE(main.sbTimeDown->isDown());
    EXPECT_EQ(main.TimeDisplay1->time(), 20000);
    EXPECT_TRUE(sameImage(main.sbTimeDown->glyph(), glyphs::countArrow(true)));
}

TEST_F(TransportTest, PauseHaltsAndSilencesAndReleasingItPlaysOn)
{
    TfrmMain& main = loadSong();
    click(main.btnPlay);
    playFor(main, 5000);
    recorder->clearMessages();

    click(main.btnPause);
    EXPECT_TRUE(main.btnPause->isDown());
    EXPECT_TRUE(sameImage(main.btnPause->glyph(), glyphs::pause(true)));
    EXPECT_TRUE(main.btnPlay->isDown());
    EXPECT_TRUE(sameImage(main.btnPlay->glyph(), glyphs::play(false)));
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(main.Timer1->isActive()) << "the refresh keeps showing the halted time";
    EXPECT_EQ(sentMessages(), allNotesOffOnEveryChannel());

    clock.advanceMs(3000);
    refresh(main);
    EXPECT_EQ(main.tbPosition->value(), 5000);

    main.Pause1->trigger();
    EXPECT_FALSE(main.btnPause->isDown());
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(sameImage(main.btnPlay->glyph(), glyphs::play(true)));
    playFor(main, 1000);
    EXPECT_EQ(main.tbPosition->value(), 6000) << "the paused time was not counted";
}

TEST_F(TransportTest, WithTheOutputClosedTheTransportSendsNothingButStillActs)
{
    TfrmMain& main = loadSong();
    click(main.btnPlay);
    main.CloseMidiOutput();
    recorder->clearMessages();
    main.Pause1->trigger();
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    main.Stop1->trigger();
    main.Stop1->trigger();
    EXPECT_TRUE(sentMessages().isEmpty());
    EXPECT_FALSE(main.btnPause->isDown());
    EXPECT_FALSE(main.btnPlay->isDown());
}

TEST_F(TransportTest, PauseWhileStoppedThenPauseAgainRunsTheSequencerWithoutTheRefresh)
{
    TfrmMain& main = loadSong();
    main.Pause1->trigger();
    EXPECT_TRUE(main.btnPause->isDown());
    EXPECT_TRUE(main.btnPlay->isDown());
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_EQ(allNotesOffCount(), 16);

    main.Pause1->trigger();
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_FALSE(main.Timer1->isActive());
    clock.advanceMs(4000);
    main.MidiFile1->Tick();
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 4000);
    EXPECT_EQ(main.tbPosition->value(), 0) << "nothing refreshes the slider";
    EXPECT_EQ(main.TimeDisplay1->time(), 0);
}

TEST_F(TransportTest, PlayAtTheStartWithPauseDownReleasesPauseAndStartsOver)
{
    TfrmMain& main = loadSong();
    main.Pause1->trigger();
    click(main.btnPlay);
    EXPECT_FALSE(main.btnPause->isDown());
    EXPECT_TRUE(sameImage(main.btnPause->glyph(), glyphs::pause(false)));
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(main.Timer1->isActive());
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 0);
}

TEST_F(TransportTest, LoadingClosingAndClosingTheWindowStopThePlayback)
{
    TfrmMain& main = loadSong();
    click(main.btnPlay);
    playFor(main, 1000);
    click(main.sbClose);
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_FALSE(main.btnPlay->isDown());
    EXPECT_FALSE(main.Timer1->isActive());

    main.CurrentFileName = writeFile("second.mid", lyricSong({{0, "Glo"}}, SongTicks));
    main.LoadMidiFile();
    click(main.btnPlay);
    playFor(main, 1000);
    main.CurrentFileName = writeFile("third.mid", lyricSong({{0, "ry"}}, SongTicks));
    main.LoadMidiFile();
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_EQ(main.tbPosition->value(), 0);

    click(main.btnPlay);
    playFor(main, 1000);
    main.close();
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_FALSE(main.Timer1->isActive());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(TransportTest, ASeekWhilePlayingSilencesFirstThenPlaysOnFromTheNewPlace)
{
    TfrmMain& main = loadSong();
    click(main.btnPlay);
    playFor(main, 1000);
    recorder->clearMessages();

    main.tbPosition->setValue(30000);
    EXPECT_EQ(sentMessages().mid(0, 16), allNotesOffOnEveryChannel()) << "silence before anything sounds again";
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 30000);
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(main.Timer1->isActive());
    EXPECT_EQ(main.tbPosition->toolTip(), "0:30");
    EXPECT_EQ(main.TimeDisplay1->time(), 30000);
    EXPECT_EQ(main.lblLyrics->text(), "thank");
    playFor(main, 500);
    EXPECT_EQ(main.tbPosition->value(), 30500);

    main.tbPosition->setFocus();
    QTest::keyClick(main.tbPosition, Qt::Key_Home);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 0);
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_EQ(main.lblLyrics->text(), "Now");
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(TransportTest, ASeekWhileStoppedOrPausedMovesWithoutPlaying)
{
    TfrmMain& main = loadSong();
    main.tbPosition->setFocus();
    QTest::keyClick(main.tbPosition, Qt::Key_End);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), SongMs);
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_FALSE(main.Timer1->isActive());

    main.tbPosition->setValue(0);
    click(main.btnPlay);
    playFor(main, 2000);
    main.Pause1->trigger();
    main.tbPosition->setValue(45000);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 45000);
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(main.btnPause->isDown());
    EXPECT_TRUE(main.Timer1->isActive()) << "the refresh runs on as before the seek";
    main.Pause1->trigger();
    playFor(main, 1000);
    EXPECT_EQ(main.tbPosition->value(), 46000) << "releasing Pause plays on from the new place";
}

} // namespace
} // namespace harmonet::test
