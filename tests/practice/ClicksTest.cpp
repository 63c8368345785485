// The clicks: a count-in of whole bars in the metre of the place playing
// starts from (the rest of an upbeat's bar counted in), the metronome's
// beats with the bar's first accented, the channel they play on, and their
// remembered form.
#include "practice/Clicks.h"
#include "sequencer/BarMap.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"

#include <gtest/gtest.h>

#include <vector>

namespace harmonet::test {
namespace {

constexpr int Division = 480;

TBarMap barsOf(std::vector<TTimeSignature> metres, qint64 endTicks, std::optional<double> pickupBeats = {})
{
    return TBarMap(metres, Division, endTicks, TSongTime::atOneTempo(500000.0 / Division), pickupBeats);
}

TEST(Clicks, ACountInIsWholeBarsInTheMetreOfThePlaceEndingThere)
{
    const TBarMap fourFour = barsOf({{0, 4, 2}}, 20 * Division);
    const TBarMap sixEightThenThreeFour = barsOf({{0, 6, 3}, {3 * Division, 3, 2}}, 20 * Division);
    const TBarMap upbeat = barsOf({{0, 4, 2}}, 20 * Division, 1.0);
    const struct {
        const char* what;
        const TBarMap& bars;
        double ticks;
        int countInBars;
        std::vector<bool> accents;
        double lengthBeats;
    } cases[] = {
        {"one bar of 4/4 from the start", fourFour, 0, 1, {true, false, false, false}, 4},
        {"two bars of 4/4 from bar 3", fourFour, 8 * Division, 2, {true, false, false, false, true, false, false, false}, 8},
        {"none", fourFour, 0, 0, {}, 0},
        {"more than two bars are two", fourFour, 0, 5, {true, false, false, false, true, false, false, false}, 8},
        {"6/8 counts eighths", sixEightThenThreeFour, 0, 1, {true, false, false, false, false, false}, 6},
        {"in the metre of the place", sixEightThenThreeFour, 3 * Division, 1, {true, false, false}, 3},
        {"an upbeat of one beat: the bar's other three", upbeat, 0, 1, {true, false, false}, 3},
        {"two bars before an upbeat", upbeat, 0, 2, {true, false, false, false, true, false, false}, 7},
        {"half a beat into a bar: a bar more", fourFour, 4.5 * Division, 1, {true, false, false, false, true}, 4.5},
    };
    for (const auto& c : cases) {
        const double msPerBeat = 500.0 * c.bars.BeatTicksAt(c.ticks) / Division;
        const CountIn countIn = countInBefore(c.bars, c.ticks, msPerBeat, c.countInBars);
        ASSERT_EQ(countIn.clicks.size(), c.accents.size()) << c.what;
        for (std::size_t i = 0; i < c.accents.size(); ++i) {
            EXPECT_DOUBLE_EQ(countIn.clicks[i].ms, double(i) * msPerBeat) << c.what << " click " << i;
            EXPECT_EQ(countIn.clicks[i].accent, c.accents[i]) << c.what << " click " << i;
        }
        EXPECT_DOUBLE_EQ(countIn.lengthMs, c.lengthBeats * msPerBeat) << c.what;
    }
}

TEST(Clicks, TheMetronomeStrikesEveryBeatAndAccentsEachFullBarsFirst)
{
    // An upbeat of one beat, a bar of 4/4, then 3/8 to the end of the song.
    const TBarMap bars = barsOf({{0, 4, 2}, {5 * Division, 3, 3}}, 5 * Division + 3 * Division / 2, 1.0);
    const std::vector<BeatClick> beats = beatsOfSong(bars);
    const std::vector<std::pair<double, bool>> expected = {
        {0, false},           {480, true},  {960, false},  {1440, false}, {1920, false},
        {2400, true},         {2640, false}, {2880, false},
    };
    ASSERT_EQ(beats.size(), expected.size());
    for (std::size_t i = 0; i < beats.size(); ++i) {
        EXPECT_DOUBLE_EQ(beats[i].ticks, expected[i].first) << i;
        EXPECT_EQ(beats[i].accent, expected[i].second) << i;
    }
    EXPECT_TRUE(beatsOfSong(TBarMap()).empty()) << "no division, no bars";
}

TEST(Clicks, TheyPlayOnChannelTenUnlessTheSongDoesThenOnTheLastFreeOne)
{
    const auto songOn = [](std::vector<int> channels) {
        SmfWriter writer;
        writer.header(0, 1, Division);
        writer.beginTrack();
        for (int channel : channels) {
            writer.noteOn(0, channel - 1, 60, 100).noteOff(10, channel - 1, 60);
        }
        writer.endOfTrack().endTrack();
        TMidiFile song;
        song.LoadSongFromBytes(writer.bytes());
        return clickChannelOf(song);
    };
    EXPECT_EQ(songOn({1, 2, 3}), 10);
    EXPECT_EQ(songOn({1, 10, 2}), 16);
    EXPECT_EQ(songOn({1, 10, 16, 15}), 14);
    std::vector<int> all;
    for (int channel = 1; channel <= 16; ++channel) {
        all.push_back(channel);
    }
    EXPECT_EQ(songOn(all), 0) << "no channel left: no clicks";
}

TEST(Clicks, TheRememberedFormComesBackAndDamagedFormsAreRefused)
{
    const ClickSettings chosen{2, true, 60, true, true};
    EXPECT_EQ(clicksText(chosen), "2;1;60;1;1");
    EXPECT_EQ(clicksFromText(clicksText(chosen)), chosen);
    EXPECT_EQ(clicksFromText("2;1;60;1"), (ClickSettings{2, true, 60, true, false})) << "kept before each pass was there";
    for (const char* damaged : {"3;0;100;0", "1;0;0;0", "1;2;100;0", "1;0;100", "x;0;100;0", "1;0;100;0;2",
                                "1;0;100;0;0;0", ""}) {
        EXPECT_FALSE(clicksFromText(QString::fromLatin1(damaged))) << damaged;
    }
    EXPECT_EQ(clickVelocity(chosen, true), 60);
    EXPECT_EQ(clickVelocity(chosen, false), 48);
}

} // namespace
} // namespace harmonet::test
