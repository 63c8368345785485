#include "midiout/Pcm16.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace harmonet;

// Rounding half away from zero (not to even, as the processor's own rounding
// does) at exact halves and just below them, and clipping; negative samples
// mirror positive ones. The whole-block conversion gives what a single
// sample's does.
TEST(Pcm16, RoundsHalfAwayFromZeroAndClipsAlikeForOneSampleAndABlock)
{
    const float step = 1.0f / 32767.0f;
    struct Case {
        float sample;
        qint16 expected;
    };
    const std::vector<Case> cases = {
        {0.0f, 0},
        {0.5f * step, 1},
        {1.5f * step, 2},
        {std::nextafter(2.5f, 0.0f) * step, 2},
        {1000.5f * step, 1001},
        {1.0f, 32767},
        {std::nextafter(1.0f, 0.0f), 32767},
        {1.5f, 32767},
        {std::numeric_limits<float>::infinity(), 32767},
    };
    std::vector<float> block;
    std::vector<qint16> expected;
    for (const Case& c : cases) {
        block.push_back(c.sample);
        expected.push_back(c.expected);
        block.push_back(-c.sample);
        expected.push_back(qint16(-c.expected));
    }
    std::vector<qint16> converted(block.size());
    pcm16(block, converted);
    for (std::size_t i = 0; i < block.size(); ++i) {
        EXPECT_EQ(pcm16(block[i]), expected[i]) << "sample " << block[i];
        EXPECT_EQ(converted[i], expected[i]) << "sample " << block[i] << " in a block";
    }
}
