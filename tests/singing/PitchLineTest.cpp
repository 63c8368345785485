#include "singing/PitchLine.h"

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

PitchFrame frame(double ms, double midi, bool voiced = true)
{
    return {ms, float(midi), voiced ? 0.9f : 0.1f, voiced};
}

TEST(PitchLine, DrawsTheVoiceInTheNotesOctaveColouredByHowClose)
{
    // Two notes: E4 from 0 to 500 ms, then a rest, then G3 from 700 to 1000 ms.
    const std::vector<TargetNote> notes{{0.0, 500.0, 64, 1, 1.0}, {700.0, 1000.0, 55, 1, 3.0}};
    const std::vector<PitchFrame> frames{
        frame(10.0, 64.2),          // 20 cents sharp
        frame(100.0, 63.6),         // 40 cents flat
        frame(200.0, 52.3),         // an octave down, 30 cents sharp
        frame(300.0, 64.0, false),  // unvoiced: nothing
        frame(400.0, 65.0),         // a semitone sharp
        frame(600.0, 60.0),         // in the rest: nothing
        frame(800.0, 66.75),        // G4 sung for G3, 25 cents flat of it
        frame(1200.0, 55.0),        // after the last note: nothing
    };
    const std::vector<PitchLinePoint> points = pitchLine(frames, notes);
    struct Expected {
        double ms;
        double key;
        int octaves;
        PitchBand band;
    };
    const Expected expected[] = {
        {10.0, 64.2, 0, PitchBand::Close},  {100.0, 63.6, 0, PitchBand::Near},
        {200.0, 64.3, -1, PitchBand::Near},  {400.0, 65.0, 0, PitchBand::Far},
        {800.0, 54.75, 1, PitchBand::Close},
    };
    ASSERT_EQ(points.size(), std::size(expected));
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].ms, expected[i].ms);
        EXPECT_NEAR(points[i].key, expected[i].key, 1e-4) << expected[i].ms;
        EXPECT_EQ(points[i].octaves, expected[i].octaves) << expected[i].ms;
        EXPECT_EQ(points[i].band, expected[i].band) << expected[i].ms;
    }
}

} // namespace
} // namespace harmonet::test
