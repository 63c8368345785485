// Advancing, seeking and the order of dispatch, driven by direct calls.
#include "SequencerTestSupport.h"

#include "core/ErrorReport.h"

using namespace harmonet;
using harmonet::test::EventRecorder;
using harmonet::test::loadReportingError;

namespace {

// 120 bpm, 480 per quarter (0.96 ticks a millisecond).
// Track 0: events at ticks 0, 100, 110, 480. Track 1: 105 and 960.
QByteArray twoTrackSong(quint16 division = 480)
{
    SmfWriter w;
    w.header(1, 2, division);
    w.beginTrack().programChange(0, 0, 52).noteOn(100, 0, 60, 100).noteOff(10, 0, 60).endOfTrack(370).endTrack();
    w.beginTrack().noteOn(105, 1, 64, 100).noteOff(855, 1, 64).endTrack();
    return w.bytes();
}

} // namespace

TEST(Playback, EventsFallDueTrackByTrackOnceTheRoundedPositionExceedsThem)
{
    TMidiFile file;
    EventRecorder recorder;
    recorder.attach(file); // tracks made by a later load take the handler
    ASSERT_EQ(loadReportingError(file, twoTrackSong()), QString());
    EXPECT_NEAR(file.MicrosecondsPerTick(), 1041.6667, 1e-4);
    file.AdvanceTo(500); // position 480.0: the event at 480 waits
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0, 100, 110, 105}));
    EXPECT_EQ(file.CurrentTime(), 500);
    EXPECT_DOUBLE_EQ(file.CurrentPos(), 480.0);
    file.AdvanceTo(501);
    EXPECT_EQ(recorder.ticks().back(), 480);
    EXPECT_TRUE(file.TrackAt(0)->Ended());
    EXPECT_FALSE(file.AllTracksEnded());
    EXPECT_EQ(file.SongLengthMs(), 1000);
    file.AdvanceTo(1001);
    EXPECT_TRUE(file.AllTracksEnded());
    EXPECT_EQ(recorder.events.size(), 6u);
}

TEST(Playback, RoundingIsToNearestWithHalvesToEven)
{
    // 2000 microseconds per tick: every millisecond is half a tick.
    SmfWriter w;
    w.header(0, 1, 500);
    w.beginTrack().tempo(0, 1000000).programChange(1, 0, 1).programChange(1, 0, 2).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EventRecorder recorder;
    recorder.attach(file);
    const std::pair<int, size_t> steps[] = {{1, 0}, {2, 1}, {3, 2}, {5, 2}, {6, 3}};
    for (const auto& [ms, delivered] : steps) {
        file.AdvanceTo(ms); // 0.5 -> 0, 1.0 -> 1, 1.5 -> 2, 2.5 -> 2, 3.0 -> 3
        EXPECT_EQ(recorder.events.size(), delivered) << ms;
    }
}

TEST(Playback, PlayingAgainAfterTheEndDeliversEveryEventAgain)
{
    TMidiFile file;
    ManualClock clock(5000);
    file.SetClock(&clock);
    ASSERT_EQ(loadReportingError(file, twoTrackSong()), QString());
    EventRecorder recorder;
    recorder.attach(file);
    file.PlayFromStart();
    clock.advanceMs(2000);
    file.Tick();
    EXPECT_EQ(recorder.events.size(), 6u);
    EXPECT_TRUE(file.AllTracksEnded());

    recorder.events.clear();
    file.PlayFromStart();
    EXPECT_EQ(file.CurrentTime(), 0);
    EXPECT_EQ(file.CurrentPos(), 0.0);
    clock.advanceMs(1);
    file.Tick();
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0}));
    file.HaltPlay();
}

TEST(Playback, SeekMovesPointersWithoutDispatching)
{
    SmfWriter w;
    w.header(0, 1, 480);
    w.beginTrack().programChange(0, 0, 1);
    for (int second = 1; second <= 40; ++second) {
        w.controlChange(960, 0, 7, quint8(second)); // one a second at 120 bpm
    }
    w.endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EventRecorder recorder;
    recorder.attach(file);
    file.AdvanceTo(10000);
    EXPECT_EQ(recorder.events.size(), 10u);
    recorder.events.clear();

    file.SeekTo(30000);
    EXPECT_EQ(file.CurrentTime(), 10000);
    EXPECT_EQ(file.TrackAt(0)->NextIndex(), 30);
    file.AdvanceTo(30000);
    EXPECT_TRUE(recorder.events.empty());
    file.AdvanceTo(30001);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0]->Value2, 30);

    // Seeking back and advancing to the same time moves the position back too.
    recorder.events.clear();
    file.SeekTo(0);
    file.AdvanceTo(0);
    EXPECT_TRUE(recorder.events.empty());
    file.AdvanceTo(1001);
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0, 960}));
}

TEST(Playback, TempoScalesThePositionAndLongTimesDoNotOverflow)
{
    SmfWriter w;
    w.header(0, 1, 480);
    // Three minutes at 120 bpm: 360 quarter notes.
    w.beginTrack().programChange(0, 0, 1).controlChange(172800, 0, 7, 1).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EXPECT_EQ(file.SongLengthMs(), 180000);
    file.AdvanceTo(1000);
    EXPECT_NEAR(file.CurrentPos(), 960.0, 1e-9);
    file.SetBpm(60); // halves the rate from here on
    file.AdvanceTo(2000);
    EXPECT_NEAR(file.CurrentPos(), 1440.0, 1e-9);

    // At 1 bpm the song lasts six hours, and 50 minutes is tick 24000.
    file.SetBpm(1);
    EXPECT_EQ(file.SongLengthMs(), 6 * 60 * 60 * 1000);
    EventRecorder recorder;
    recorder.attach(file);
    file.SeekTo(3000000);
    EXPECT_EQ(file.TrackAt(0)->NextIndex(), 1);
    file.AdvanceTo(3000000);
    EXPECT_NEAR(file.CurrentPos(), 1440.0 + 2998000 / 125.0, 1e-6);
}

TEST(Playback, WithoutHandlerOrTempoNoPointerMoves)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, twoTrackSong()), QString());
    file.AdvanceTo(2000);
    EXPECT_EQ(file.CurrentTime(), 2000);
    EXPECT_NEAR(file.CurrentPos(), 1920.0, 1e-9);
    EXPECT_EQ(file.TrackAt(0)->NextIndex(), 0);

    TMidiFile noTempo;
    ASSERT_EQ(loadReportingError(noTempo, twoTrackSong(0)), QString());
    EventRecorder recorder;
    recorder.attach(noTempo);
    noTempo.AdvanceTo(5000);
    noTempo.SeekTo(5000);
    EXPECT_EQ(noTempo.CurrentTime(), 0);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_EQ(noTempo.SongLengthMs(), 0);
}

TEST(Playback, ARaisingHandlerEndsTheTickAndItsEventComesAgain)
{
    TMidiFile file;
    ManualClock clock;
    file.SetClock(&clock);
    ASSERT_EQ(loadReportingError(file, twoTrackSong()), QString());
    QStringList reported;
    const ErrorReporter previous = setErrorReporter([&](const QString& message) { reported << message; });
    std::vector<qint32> seen;
    bool failOnce = true;
    file.SetOnMidiEvent([&](PMidiEvent event) {
        if (event->Ticks == 100 && std::exchange(failOnce, false)) {
            throw Exception(QStringLiteral("Output device failed"));
        }
        seen.push_back(event->Ticks);
    });
    int updates = 0;
    file.SetOnUpdateEvent([&](TMidiFile*) { ++updates; });
    int ended = 0;
    file.TrackAt(0)->SetOnTrackEnded([&](TMidiTrack*) { ++ended; });

    file.PlayFromStart();
    clock.advanceMs(200);
    file.Tick();
    EXPECT_EQ(reported, QStringList{"Output device failed"});
    EXPECT_EQ(seen, (std::vector<qint32>{0}));
    EXPECT_EQ(file.TrackAt(0)->NextIndex(), 1);
    EXPECT_EQ(file.TrackAt(1)->NextIndex(), 0); // not advanced in that tick
    EXPECT_EQ(updates, 0);

    clock.advanceMs(10);
    file.Tick();
    EXPECT_EQ(seen, (std::vector<qint32>{0, 100, 110, 105}));
    // The failed tick's milliseconds are not counted twice.
    EXPECT_NEAR(file.CurrentPos(), 210 * 0.96, 1e-9);
    EXPECT_EQ(updates, 1);

    // The ended notification comes on every check after the track's end.
    clock.advanceMs(400);
    file.Tick();
    file.Tick();
    EXPECT_EQ(ended, 2);
    file.HaltPlay();
    setErrorReporter(previous);
}
