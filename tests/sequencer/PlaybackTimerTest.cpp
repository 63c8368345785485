// The wake-ups that drive playback: the periodic tick, the early wake-up for
// the next due event, starting, resuming and halting.
#include "SequencerTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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
    w.header(0, 1, 480);
    w.beginTrack().noteOn(480, 0, 60, 100).noteOff(480, 0, 60).endTrack();
    return w.bytes();
}

} // namespace

TEST(PlaybackTimer, StartResumeAndHaltControlOneTimer)
{
    TMidiFile file;
    ManualClock clock(1000);
    file.SetClock(&clock);
    ASSERT_EQ(loadReportingError(file, oneNoteSong()), QString());
    EXPECT_FALSE(file.IsTimerRunning());
    file.ResumePlay();
    file.ResumePlay();
    EXPECT_TRUE(file.IsPlaying());
    EXPECT_TRUE(file.IsTimerRunning());
    EXPECT_EQ(file.findChildren<QTimer*>().size(), 0) << "timers are members, not children";
    file.HaltPlay();
    EXPECT_FALSE(file.IsPlaying());
    EXPECT_FALSE(file.IsTimerRunning());
    EXPECT_EQ(file.NextDueMs(), -1);

    // After a halt no tick moves anything, however long the event loop runs.
    EventRecorder recorder;
    recorder.attach(file);
    clock.advanceMs(5000);
    QTest::qWait(40);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_EQ(file.CurrentTime(), 0);
}

TEST(PlaybackTimer, PeriodicTicksAdvanceToTheClockWhilePlaying)
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return !recorder.events.empty(); }, 2000));
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{480}));
    EXPECT_EQ(file.CurrentTime(), 502);
    EXPECT_GE(updates, 1);

    // Resuming goes on from CurrentTime, not from the clock's start.
    file.HaltPlay();
    clock.advanceMs(10000);
    file.ResumePlay();
    clock.advanceMs(500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.events.size() == 2; }, 2000));
    EXPECT_EQ(file.CurrentTime(), 1002);
    file.HaltPlay();
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

    // At 1 bpm a tick lasts 125 ms: position 480.96 at 501 ms passes 960.5
    // after 59943 ms more.
    file.SetBpm(1);
    file.Tick();
    EXPECT_EQ(file.NextDueMs(), 7000 + 501 + 59943);
    file.HaltPlay();

    // Nothing left to play: none armed either.
    TMidiFile empty;
    empty.SetClock(&clock);
    empty.SetOnMidiEvent([](PMidiEvent) {});
    empty.PlayFromStart();
    EXPECT_EQ(empty.NextDueMs(), -1);
    EXPECT_TRUE(empty.IsTimerRunning());
    empty.HaltPlay();
}

TEST(PlaybackTimer, TheEarlyWakeUpDeliversOnTimeWithTheSteadyClock)
{
    // 2 ms per quarter: the note falls due some 2 ms after the start, far
    // sooner than the first periodic tick.
    SmfWriter w;
    w.header(0, 1, 1);
    w.beginTrack().tempo(0, 2000).noteOn(1, 0, 60, 100).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EventRecorder recorder;
    recorder.attach(file);
    int updates = 0;
    file.SetOnUpdateEvent([&](TMidiFile*) { ++updates; });
    file.PlayFromStart();
    EXPECT_GT(file.NextDueMs(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.events.size() == 2; }, 2000));
    // Delivered by the early wake-up or a periodic one: either way by a tick.
    EXPECT_GE(updates, 1);
    file.HaltPlay();
}

TEST(PlaybackTimer, PriorityIsRestoredOnHaltAndDestruction)
{
    errno = 0;
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
