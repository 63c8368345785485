// Fast forward and rewind: held with the mouse, each tick of the step timer
// moves the position 256 ms and seeks; from the menu the button is held until
// the next second of the day. Winding is silent; playing goes on from the new
// place once released, and stopped stays stopped there.
#include "tests/player/PlayerFixture.h"

#include "sequencer/MidiFile.h"
#include "widgets/ImageButton.h"
#include "widgets/TransportGlyphs.h"

#include <QAction>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>

namespace harmonet::test {
namespace {

class WindingTest : public PlayerTest {
protected:
    TfrmMain& loadSong()
    {
        // 9 600 ticks at 480 a quarter and 120 bpm last 10 000 ms.
        TfrmMain& main = showWindow({writeFile("song.mid", lyricSong({{0, "Now"}}, 9600))});
        main.MidiFile1->SetClock(&clock);
        recorder->clearMessages();
        return main;
    }

    static void tick(QTimer* timer, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            QMetaObject::invokeMethod(timer, "timeout");
        }
    }

    int allNotesOffCount() const
    {
        int count = 0;
        for (const QByteArray& message : sentMessages()) {
            count += message.size() == 3 && (quint8(message[0]) & 0xF0) == 0xB0 && message[1] == 123;
        }
        return count;
    }

    ManualClock clock;
};

TEST_F(WindingTest, FastForwardWhileStoppedSeeksSilentlyAndStaysStopped)
{
    TfrmMain& main = loadSong();
    QTest::mousePress(main.btnFastForward, Qt::LeftButton);
    EXPECT_TRUE(main.TimerFastForward->isActive());
    EXPECT_EQ(main.btnFastForward->glyph().toImage(), glyphs::fastForward(true).toImage());
    EXPECT_EQ(allNotesOffCount(), 16);

    tick(main.TimerFastForward, 3);
    EXPECT_EQ(main.tbPosition->value(), 768);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 768);
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    QTest::mouseRelease(main.btnFastForward, Qt::LeftButton);
    EXPECT_FALSE(main.TimerFastForward->isActive());
    EXPECT_EQ(main.btnFastForward->glyph().toImage(), glyphs::fastForward(false).toImage());
    EXPECT_FALSE(main.MidiFile1->IsPlaying());
    const QList<QByteArray> sent = sentMessages();
    EXPECT_TRUE(std::all_of(sent.begin(), sent.end(), [](const QByteArray& m) { return quint8(m[0]) >= 0xB0; }))
        << "nothing but silence and control messages sounded";

    main.Play1->trigger();
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 768) << "the next Play resumes there";
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
}

TEST_F(WindingTest, FastForwardWhilePlayingIsSilentThenPlaysOnAndStopsAtTheEnd)
{
    TfrmMain& main = loadSong();
    main.Play1->trigger();
    clock.advanceMs(1000);
    main.MidiFile1->Tick();
    QMetaObject::invokeMethod(main.Timer1, "timeout");
    QTest::mousePress(main.btnFastForward, Qt::LeftButton);
    EXPECT_EQ(main.btnPlay->glyph().toImage(), glyphs::play(false).toImage());
    EXPECT_TRUE(main.btnPlay->isDown());
    tick(main.TimerFastForward);
    EXPECT_EQ(main.tbPosition->value(), 1256);
    EXPECT_FALSE(main.MidiFile1->IsPlaying()) << "nothing sounds while winding";
    tick(main.TimerFastForward, 40);
    EXPECT_EQ(main.tbPosition->value(), 10000) << "limited to the song's length";
    QTest::mouseRelease(main.btnFastForward, Qt::LeftButton);
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 10000);
    EXPECT_EQ(main.btnPlay->glyph().toImage(), glyphs::play(true).toImage());
    QMetaObject::invokeMethod(main.Timer1, "timeout");
    EXPECT_FALSE(main.MidiFile1->IsPlaying()) << "the next refresh ends the song";
}

TEST_F(WindingTest, RewindHeldAtTheStartStaysThere)
{
    TfrmMain& main = loadSong();
    main.tbPosition->setValue(300);
    QTest::mousePress(main.btnRewind, Qt::LeftButton);
    tick(main.TimerRewind);
    EXPECT_EQ(main.tbPosition->value(), 44);
    tick(main.TimerRewind, 2);
    EXPECT_EQ(main.tbPosition->value(), 0);
    QTest::mouseRelease(main.btnRewind, Qt::LeftButton);
    EXPECT_EQ(main.MidiFile1->CurrentTime(), 0);
    EXPECT_EQ(main.btnRewind->glyph().toImage(), glyphs::rewind(false).toImage());
}

TEST_F(WindingTest, TheMenuHoldsUntilTheNextSecondEvenAcrossMidnight)
{
    TfrmMain& main = loadSong();
    int calls = 0;
    // The second changes after a few looks at the clock.
    main.SetSecondOfDaySource([&calls] { return ++calls < 4 ? 41 : 42; });
    main.FastForward1->trigger();
    EXPECT_GE(calls, 4);
    EXPECT_FALSE(main.TimerFastForward->isActive());
    EXPECT_EQ(main.tbPosition->value() % 256, 0);

    calls = 0;
    main.SetSecondOfDaySource([&calls] { return ++calls < 3 ? 86399 : 0; });
    main.Rewind1->trigger();
    EXPECT_EQ(calls, 3) << "midnight ends the wait";
    EXPECT_FALSE(main.TimerRewind->isActive());
    main.SetSecondOfDaySource([] { return 0; });
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(WindingTest, ASecondOfWindingMovesAtMostSixteenSecondsAndSendsLittle)
{
    // Real time: the step timer runs on its own while the events are handled.
    struct Case {
        const char* what;
        int startMs;
        std::function<void(TfrmMain&)> wind;
    };
    const auto holdFor = [](TImageButton* button, int ms) {
        QTest::mousePress(button, Qt::LeftButton);
        QTest::qWait(ms);
        QTest::mouseRelease(button, Qt::LeftButton);
    };
    const Case cases[] = {
        {"key F", 0, [](TfrmMain& main) { main.FastForward1->trigger(); }},
        {"key R", 40000, [](TfrmMain& main) { main.Rewind1->trigger(); }},
        {"Fast Forward held a second", 0, [&](TfrmMain& main) { holdFor(main.btnFastForward, 1000); }},
        {"Rewind held a second", 40000, [&](TfrmMain& main) { holdFor(main.btnRewind, 1000); }},
    };
    for (const Case& c : cases) {
        // A minute of music, playing.
        TfrmMain& main = showWindow({writeFile("minute.mid", lyricSong({{0, "Now"}}, 57600))});
        main.MidiFile1->SetClock(&clock);
        main.tbPosition->setValue(c.startMs);
        main.Play1->trigger();
        recorder->clearMessages();
        c.wind(main);
        const int moved = std::abs(main.tbPosition->value() - c.startMs);
        EXPECT_GT(moved, 0) << c.what;
        EXPECT_LE(moved, 16500) << c.what;
        // Silence once (16), the two voices' channel settings at the new
        // place once (program twice, volume, expression, pan, pedal, bend:
        // 7 each), then their instruments once on resuming.
        EXPECT_EQ(allNotesOffCount(), 16) << c.what;
        EXPECT_LE(sentMessages().size(), 16 + 2 * 7 + 2) << c.what;
        EXPECT_TRUE(main.MidiFile1->IsPlaying()) << c.what;
        EXPECT_EQ(main.MidiFile1->CurrentTime(), main.tbPosition->value()) << c.what;
        window.reset();
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

} // namespace
} // namespace harmonet::test
