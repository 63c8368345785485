// The playing tempo as a share of the song's own, 25 to 200 per cent.
#include "sequencer/TempoPercent.h"

#include <gtest/gtest.h>
#include <limits>

using namespace harmonet;

namespace {

TEST(TempoPercent, BothWaysWithinTheLimits)
{
    struct PercentCase {
        int bpm, songBpm, percent;
    };
    for (const PercentCase& c : {PercentCase{120, 120, 100}, PercentCase{60, 120, 50}, PercentCase{240, 240, 100},
                                 PercentCase{100, 240, 42}, PercentCase{10, 120, 25}, PercentCase{500, 120, 200},
                                 PercentCase{120, 0, 100}}) {
        EXPECT_EQ(tempoPercentOf(c.bpm, c.songBpm), c.percent) << c.bpm << " of " << c.songBpm;
    }
    struct BpmCase {
        int percent, songBpm, bpm;
    };
    for (const BpmCase& c : {BpmCase{100, 240, 240}, BpmCase{50, 75, 38}, BpmCase{10, 120, 30}, BpmCase{300, 120, 240},
                             BpmCase{25, 1, 1}, BpmCase{200, std::numeric_limits<int>::max(),
                                                         std::numeric_limits<int>::max()}}) {
        EXPECT_EQ(bpmAtPercent(c.percent, c.songBpm), c.bpm) << c.percent << " of " << c.songBpm;
    }
}

} // namespace
