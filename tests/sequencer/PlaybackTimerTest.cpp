// The wake-ups that drive playback: the periodic tick, the early wake-up for
// the next due event, starting, resuming and halting.
#include "SequencerTestSupport.h"

#include <QCoreApplication>
#include <QTest>
#include <sys/resource.h>

using namespace harmonet;
using harmonet::test::EventRecorder;
using harmonet::test::loadReportingError;

namespace {

// One note at tick 480 (120 bpm, 480 per quarter: due once past 500 ms).
QByteArray oneNoteSong()
{
    SmfWriter w;
    w.header(0, 1, 480).beginTrack().noteOn(480, 0, 60, 100).noteOff(480, 0, 60).endTrack();
    return w.bytes();
}

} // namespace

TEST(PlaybackTimer, TicksFollowTheClockWhilePlayingAndStopOnHalt)
{
    TMidiFile file;
    ManualClock clock(20000);
    file.SetClock(&clock);
    ASSERT_EQ(loadReportingError(file, oneNoteSong()), QString());
    EventRecorder recorder;
    recorder.attach(file);
    int updates = 0;
    file.SetOnUpdateEvent([&](TMidiFile*) { ++updates; });
    file.PlayFromStart();
    clock.advanceMs(502);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !recorder.events.empty(); }, 10000));
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{480}));
    EXPECT_EQ(file.CurrentTime(), 502);
    EXPECT_GE(updates, 1);

    // Resuming twice leaves one running timer and goes on from CurrentTime.
    file.HaltPlay();
    EXPECT_FALSE(file.IsTimerRunning());
    clock.advanceMs(10000);
    file.ResumePlay();
    file.ResumePlay();
    EXPECT_TRUE(file.IsTimerRunning());
    clock.advanceMs(500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.events.size() == 2; }, 10000));
    EXPECT_EQ(file.CurrentTime(), 1002);

    // After a halt nothing moves, however long the event loop runs.
    file.HaltPlay();
    EXPECT_FALSE(file.IsPlaying());
    EXPECT_FALSE(file.IsTimerRunning());
    EXPECT_EQ(file.NextDueMs(), -1);
    const int updatesAtHalt = updates;
    clock.advanceMs(5000);
    QTest::qWait(40);
    EXPECT_EQ(file.CurrentTime(), 1002);
    EXPECT_EQ(updates, updatesAtHalt);
}

TEST(PlaybackTimer, TheEarlyWakeUpIsArmedForTheNextDueEvent)
{
    TMidiFile file;
    ManualClock clock(7000);
    file.SetClock(&clock);
    ASSERT_EQ(loadReportingError(file, oneNoteSong()), QString());
    EventRecorder recorder;
    recorder.attach(file);
    file.PlayFromStart();
    // Position 480.0 at 500 ms rounds to 480; 501 ms gives 480.96.
    EXPECT_EQ(file.NextDueMs(), 7000 + 501);
    clock.advanceMs(501);
    file.Tick();
    EXPECT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(file.NextDueMs(), 7000 + 1001);
    // At 1 bpm a tick lasts 125 ms: from 480.96 the position passes 960.5 after 59943 ms.
    file.SetBpm(1);
    file.Tick();
    EXPECT_EQ(file.NextDueMs(), 7000 + 501 + 59943);
    file.HaltPlay();

    TMidiFile empty; // nothing to play: no early wake-up, the periodic one runs
    empty.SetOnMidiEvent([](PMidiEvent) {});
    empty.PlayFromStart();
    EXPECT_EQ(empty.NextDueMs(), -1);
    EXPECT_TRUE(empty.IsTimerRunning());
}

TEST(PlaybackTimer, TheEarlyWakeUpRunsTheTickWhenItsMillisecondComes)
{
    SmfWriter w;
    w.header(0, 1, 480).beginTrack().noteOn(0, 0, 60, 100).endTrack();
    TMidiFile file;
    ManualClock clock(0);
    file.SetClock(&clock);
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EventRecorder recorder;
    recorder.attach(file);
    file.PlayFromStart();
    ASSERT_EQ(file.NextDueMs(), 1);
    // One millisecond before it is due the wake-up polls the event loop; once
    // the clock shows the due millisecond the next pass runs the tick.
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.events.empty());
    clock.advanceMs(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0}));
    EXPECT_EQ(file.CurrentTime(), 1);
    file.HaltPlay();
}

TEST(PlaybackTimer, PriorityIsRestoredOnHaltAndDestruction)
{
    const int before = getpriority(PRIO_PROCESS, 0);
    {
        TMidiFile file;
        file.PlayFromStart();
        file.HaltPlay();
        EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before);
        file.ResumePlay();
    }
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before);
}
