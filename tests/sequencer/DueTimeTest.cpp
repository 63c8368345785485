// The moment each dispatched event fell due, which an output that plays
// messages at their time needs: a late advance that delivers several events
// at once still tells each one's own millisecond.
#include "tests/sequencer/SequencerTestSupport.h"
#include "tests/support/ScriptedSteadyClock.h"

#include <cmath>

using namespace harmonet;
using harmonet::test::ScriptedSteadyClock;
using namespace std::chrono;

namespace {


// 120 bpm at 480 ticks a quarter: a tick lasts 1041.67 us.
QByteArray notesAt(std::initializer_list<quint64> ticks)
{
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack().tempo(0, 500000);
    quint64 now = 0;
    for (const quint64 tick : ticks) {
        writer.noteOn(tick - now, 0, 60, 100);
        now = tick;
    }
    writer.endOfTrack().endTrack();
    return writer.bytes();
}

// The first whole millisecond of playing time at which the engine's rounded
// position passes ticks.
qint64 firstMillisecondPassing(qint64 ticks)
{
    const double microsecondsPerTick = 500000.0 / 480;
    qint64 ms = 0;
    while (std::nearbyint(double(ms * 1000) / microsecondsPerTick) <= double(ticks)) {
        ++ms;
    }
    return ms;
}

TEST(DueTime, EachEventOfALateAdvanceKeepsItsOwnMillisecond)
{
    TMidiFile file;
    file.LoadSongFromBytes(notesAt({10, 20, 33, 47}));
    ScriptedSteadyClock clock(1000);
    file.SetClock(&clock);
    std::vector<std::pair<qint32, std::optional<steady_clock::time_point>>> seen;
    file.SetOnMidiEvent([&](PMidiEvent event) {
        if ((event->Status & 0xF0) == 0x90) {
            seen.emplace_back(event->Ticks, file.DueTimeOf(*event));
        }
    });
    file.PlayFromStart(); // playing time 0 at clock 1000
    clock.nowMsValue = 1000 + 30;
    file.Tick(); // late: 10 and 20 are delivered together
    clock.nowMsValue = 1000 + 60;
    file.Tick();
    ASSERT_EQ(seen.size(), 4u);
    for (const auto& [ticks, due] : seen) {
        SCOPED_TRACE(ticks);
        ASSERT_TRUE(due.has_value());
        EXPECT_EQ(*due, steady_clock::time_point(milliseconds(1000 + firstMillisecondPassing(ticks))));
    }
}

TEST(DueTime, NoneOutsideADispatchWhileHaltedOrOnAClockOfItsOwn)
{
    TMidiFile file;
    file.LoadSongFromBytes(notesAt({10, 20}));
    ScriptedSteadyClock clock(1000);
    file.SetClock(&clock);
    std::vector<std::optional<steady_clock::time_point>> seen;
    file.SetOnMidiEvent([&](PMidiEvent event) { seen.push_back(file.DueTimeOf(*event)); });
    EXPECT_FALSE(file.DueTimeOf(*file.TrackAt(0)->EventAt(0)).has_value()) << "no dispatch under way";

    file.AdvanceTo(15); // not playing: a seek's or a resume's catching up
    ASSERT_FALSE(seen.empty());
    EXPECT_FALSE(seen.back().has_value());

    ManualClock manual;
    file.SetClock(&manual);
    file.PlayFromStart();
    manual.setNowMs(30);
    seen.clear();
    file.Tick();
    ASSERT_FALSE(seen.empty());
    EXPECT_FALSE(seen.back().has_value()) << "a hand-driven clock has no place on the steady clock";
}

} // namespace
