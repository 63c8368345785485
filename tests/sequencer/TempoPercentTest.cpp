// The playing tempo as a share of the song's own, 25 to 200 per cent.
#include "sequencer/TempoPercent.h"

#include <gtest/gtest.h>
#include <limits>

using namespace harmonet;

namespace {

TEST(TempoPercent, BothWaysWithinTheLimits)
{
    struct Case {
        int bpm, songBpm, percent;
    };
    for (const Case& c : {Case{100, 240, 42}, Case{10, 120, 25}, Case{500, 120, 200}, Case{120, 0, 100}}) {
        EXPECT_EQ(tempoPercentOf(c.bpm, c.songBpm), c.percent) << c.bpm << " of " << c.songBpm;
    }
    const int most = std::numeric_limits<int>::max();
    for (const Case& c : {Case{240, 240, 100}, Case{38, 75, 50}, Case{30, 120, 10}, Case{240, 120, 300},
                          Case{1, 1, 25}, Case{most, most, 200}}) {
        EXPECT_EQ(bpmAtPercent(c.percent, c.songBpm), c.bpm) << c.percent << " of " << c.songBpm;
    }
}

} // namespace
