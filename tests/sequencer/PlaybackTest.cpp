// Advancing, seeking and the order of dispatch, driven by direct calls.
#include "SequencerTestSupport.h"

#include "core/ErrorReport.h"

using namespace harmonet;
using harmonet::test::EventRecorder;
using harmonet::test::loadReportingError;

namespace {

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

TEST(Playback, AnEventFallsDueWhenTheRoundedPositionExceedsItsTick)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, twoTrackSong()), QString());
    EXPECT_NEAR(file.MicrosecondsPerTick(), 1041.6667, 1e-4);
    EventRecorder recorder;
    recorder.attach(file);

    file.AdvanceTo(0);
    EXPECT_TRUE(recorder.events.empty());
    file.AdvanceTo(500); // position 480.0: the end-of-track event at 480 waits
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
    file.AdvanceTo(1); // 0.5 rounds to 0: the tick-0 event needs more
    EXPECT_TRUE(recorder.events.empty());
    file.AdvanceTo(2); // 1.0
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0}));
    file.AdvanceTo(3); // 1.5 rounds to 2
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0, 1}));
    file.AdvanceTo(5); // 2.5 rounds to 2
    EXPECT_EQ(recorder.events.size(), 2u);
    file.AdvanceTo(6);
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0, 1, 2}));
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
    EXPECT_EQ(file.CurrentTime(), 2000);
    EXPECT_TRUE(file.AllTracksEnded());

    recorder.events.clear();
    file.PlayFromStart();
    EXPECT_EQ(file.CurrentTime(), 0);
    EXPECT_EQ(file.CurrentPos(), 0.0);
    EXPECT_FALSE(file.AllTracksEnded());
    clock.advanceMs(1);
    file.Tick();
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0}));
    clock.advanceMs(2000);
    file.Tick();
    EXPECT_EQ(recorder.events.size(), 6u);
    file.HaltPlay();
}

TEST(Playback, SeekSkipsWithoutDispatchingAndTheNextAdvanceGoesOnFromThere)
{
    SmfWriter w;
    w.header(0, 1, 480);
    w.beginTrack().programChange(0, 0, 1);
    for (int second = 1; second <= 40; ++second) {
        w.controlChange(960, 0, 7, quint8(second)); // one every second at 120 bpm
    }
    w.endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EventRecorder recorder;
    recorder.attach(file);
    file.AdvanceTo(10000);
    EXPECT_EQ(recorder.events.size(), 10u); // ticks 0 .. 9 * 960
    recorder.events.clear();

    file.SeekTo(30000);
    EXPECT_EQ(file.CurrentTime(), 10000);
    EXPECT_EQ(file.TrackAt(0)->NextIndex(), 30);
    file.AdvanceTo(30000);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_EQ(file.CurrentTime(), 30000);
    file.AdvanceTo(30001);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0]->Value2, 30);

    // Seeking back and advancing to the same time moves the position back with
    // the time, so the events from the start come again as time goes on.
    recorder.events.clear();
    file.SeekTo(0);
    EXPECT_EQ(file.TrackAt(0)->NextIndex(), 0);
    file.AdvanceTo(0);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_NEAR(file.CurrentPos(), 0.0, 1e-6);
    file.AdvanceTo(1001);
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0, 960}));
}

TEST(Playback, MillisecondsBeyondThirtyFiveMinutesDoNotOverflow)
{
    SmfWriter w;
    w.header(0, 1, 480);
    // Three minutes at 120 bpm: 360 quarter notes.
    w.beginTrack().programChange(0, 0, 1).controlChange(172800, 0, 7, 1).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EXPECT_EQ(file.SongLengthMs(), 180000);
    file.SetBpm(1);
    EXPECT_EQ(file.SongLengthMs(), 6 * 60 * 60 * 1000);

    EventRecorder recorder;
    recorder.attach(file);
    file.SeekTo(3000000); // 50 minutes: tick 24000
    file.AdvanceTo(3000000);
    EXPECT_EQ(file.TrackAt(0)->NextIndex(), 1);
    EXPECT_NEAR(file.CurrentPos(), 24000.0, 1e-6);
    file.AdvanceTo(6 * 60 * 60 * 1000 + 63);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0]->Ticks, 172800);
}

TEST(Playback, TempoChangesTheRateOfThePositionOnly)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, twoTrackSong()), QString());
    file.AdvanceTo(1000);
    EXPECT_NEAR(file.CurrentPos(), 960.0, 1e-9);
    file.SetBpm(60);
    EXPECT_EQ(file.CurrentTime(), 1000);
    file.AdvanceTo(2000);
    EXPECT_NEAR(file.CurrentPos(), 1440.0, 1e-9);
}

TEST(Playback, WithoutAHandlerTimeMovesButNoPointer)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, twoTrackSong()), QString());
    file.AdvanceTo(2000);
    EXPECT_EQ(file.CurrentTime(), 2000);
    EXPECT_NEAR(file.CurrentPos(), 1920.0, 1e-9);
    EXPECT_EQ(file.TrackAt(0)->NextIndex(), 0);
    EXPECT_FALSE(file.AllTracksEnded());
}

TEST(Playback, WithoutATempoNothingAdvancesOrSeeks)
{
    TMidiFile file;
    EXPECT_EQ(loadReportingError(file, twoTrackSong(0)), QString());
    EventRecorder recorder;
    recorder.attach(file);
    file.AdvanceTo(5000);
    file.SeekTo(5000);
    EXPECT_EQ(file.CurrentTime(), 0);
    EXPECT_EQ(file.CurrentPos(), 0.0);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_EQ(file.SongLengthMs(), 0);
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
        if (event->Ticks == 100 && failOnce) {
            failOnce = false;
            throw Exception(QStringLiteral("Output device failed"));
        }
        seen.push_back(event->Ticks);
    });
    int updates = 0;
    file.SetOnUpdateEvent([&](TMidiFile* sender) {
        EXPECT_EQ(sender, &file);
        ++updates;
    });

    file.PlayFromStart();
    clock.advanceMs(200);
    file.Tick();
    EXPECT_EQ(reported, QStringList{"Output device failed"});
    EXPECT_EQ(seen, (std::vector<qint32>{0}));
    EXPECT_EQ(file.TrackAt(0)->NextIndex(), 1);
    EXPECT_EQ(file.TrackAt(1)->NextIndex(), 0); // not advanced in that tick
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(file.CurrentTime(), 200);

    clock.advanceMs(10);
    file.Tick();
    EXPECT_EQ(seen, (std::vector<qint32>{0, 100, 110, 105}));
    EXPECT_NEAR(file.CurrentPos(), 210 * 0.96, 1e-9);
    EXPECT_EQ(updates, 1);
    file.HaltPlay();
    setErrorReporter(previous);
}

TEST(Playback, TrackEndedNotificationOnEveryCheckAfterTheEnd)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, twoTrackSong()), QString());
    EventRecorder recorder;
    recorder.attach(file);
    int endedCalls = 0;
    file.TrackAt(1)->SetOnTrackEnded([&](TMidiTrack* track) {
        EXPECT_EQ(track->TrackNumber(), 1);
        ++endedCalls;
    });
    file.AdvanceTo(900);
    EXPECT_EQ(endedCalls, 0);
    file.AdvanceTo(1001);
    file.AdvanceTo(1002);
    EXPECT_EQ(endedCalls, 2);
    file.TrackAt(1)->RewindTrack();
    EXPECT_FALSE(file.TrackAt(1)->Ended());
}
