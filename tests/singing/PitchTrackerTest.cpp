#include "singing/PitchTracker.h"
#include "singing/TargetNotes.h"
#include "tests/support/SungVoice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace harmonet::test {
namespace {

constexpr int Rate = 44100;

std::vector<PitchFrame> track(const std::vector<float>& samples, std::size_t blockSize)
{
    PitchTracker tracker(Rate);
    std::vector<PitchFrame> frames;
    for (std::size_t at = 0; at < samples.size(); at += blockSize) {
        tracker.push(std::span<const float>(samples).subspan(at, std::min(blockSize, samples.size() - at)), frames);
    }
    return frames;
}

TEST(PitchTracker, FindsTheSungPitchOverTheRangeOfVoices)
{
    struct Case {
        double midi;
        VoiceTone tone;
        std::size_t block;
    };
    const VoiceTone plain{};
    const VoiceTone sung{0.3, 6, 30.0, 5.5, -30.0, 7};
    const Case cases[] = {
        {40.0, plain, 441},  // E2, a low bass
        {45.3, sung, 256},   // a bass with vibrato and breath, 30 cents sharp of A2
        {57.0, plain, 1},    // A3, fed sample by sample
        {69.0, sung, 4096},  // A4
        {81.0, plain, 100},  // A5
        {84.0, sung, 333},   // C6, a soprano's top
    };
    for (const Case& c : cases) {
        const SungNote note{0.0, 1000.0, c.midi};
        const std::vector<PitchFrame> frames = track(singNotes({&note, 1}, Rate, 1000.0, c.tone), c.block);
        // Frames wholly inside the note; the vibrato moves around the note, its mean is the note.
        std::vector<double> cents;
        for (const PitchFrame& frame : frames) {
            if (frame.ms > 60.0 && frame.ms < 940.0) {
                ASSERT_TRUE(frame.voiced) << c.midi << " at " << frame.ms;
                cents.push_back((frame.midi - c.midi) * 100.0);
            }
        }
        ASSERT_GT(cents.size(), 140u) << c.midi;
        double sum = 0.0;
        for (double value : cents) {
            sum += value;
        }
        EXPECT_NEAR(sum / double(cents.size()), 0.0, 5.0) << c.midi;
        EXPECT_LT(*std::max_element(cents.begin(), cents.end()), c.tone.vibratoCents + 25.0) << c.midi;
        EXPECT_GT(*std::min_element(cents.begin(), cents.end()), -c.tone.vibratoCents - 25.0) << c.midi;
    }
}

TEST(PitchTracker, PlacesTheVoiceWhereItSounds)
{
    // A note from 300 to 700 ms: voiced frames from about its start to about
    // its end (where the window, half silent, makes the detector less sure).
    const SungNote note{300.0, 700.0, 64.0};
    const std::vector<PitchFrame> frames = track(singNotes({&note, 1}, Rate, 1000.0), 512);
    const auto first = std::find_if(frames.begin(), frames.end(), [](const PitchFrame& f) { return f.voiced; });
    const auto last = std::find_if(frames.rbegin(), frames.rend(), [](const PitchFrame& f) { return f.voiced; });
    ASSERT_NE(first, frames.end());
    EXPECT_NEAR(first->ms, 300.0, 15.0);
    EXPECT_NEAR(last->ms, 700.0, 25.0);
}

TEST(PitchTracker, HostileAudioIsUnvoicedAndNeverDerailsIt)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        std::vector<float> samples;
    };
    std::vector<float> noise(Rate / 2);
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = float((i * 2654435761u) % 2001) / 1000.0f - 1.0f;
    }
    const Case cases[] = {
        {"silence", std::vector<float>(Rate / 2, 0.0f)},
        {"not numbers", std::vector<float>(Rate / 2, nan)},
        {"infinities", std::vector<float>(Rate / 2, inf)},
        {"far beyond full scale", std::vector<float>(Rate / 2, 1e30f)},
        {"white noise", noise},
    };
    for (const Case& c : cases) {
        const std::vector<PitchFrame> frames = track(c.samples, 1000);
        EXPECT_EQ(frames.size(), c.samples.size() / PitchTracker::HopSamples) << c.what;
        EXPECT_TRUE(std::none_of(frames.begin(), frames.end(), [](const PitchFrame& f) { return f.voiced; }))
            << c.what;
    }
    // After all that, a voice is heard again.
    const SungNote note{0.0, 500.0, 69.0};
    std::vector<float> samples(Rate / 4, nan);
    const std::vector<float> voice = singNotes({&note, 1}, Rate, 500.0);
    samples.insert(samples.end(), voice.begin(), voice.end());
    const std::vector<PitchFrame> frames = track(samples, 1000);
    EXPECT_TRUE(std::any_of(frames.begin(), frames.end(),
                            [](const PitchFrame& f) { return f.voiced && std::abs(f.midi - 69.0f) < 0.1f; }));
}

TEST(FoldedInterval, FoldsOctavesAway)
{
    struct Case {
        double sung;
        double key;
        double cents;
        int octaves;
    };
    const Case cases[] = {
        {60.0, 60.0, 0.0, 0},     {59.0, 60.0, -100.0, 0}, {48.0, 60.0, 0.0, -1}, {72.5, 60.0, 50.0, 1},
        {47.0, 60.0, -100.0, -1}, {65.9, 60.0, 590.0, 0},  {54.1, 60.0, -590.0, 0}, {36.2, 60.0, 20.0, -2},
    };
    for (const Case& c : cases) {
        const FoldedInterval interval = foldedInterval(c.sung, c.key);
        EXPECT_NEAR(interval.cents, c.cents, 1e-6) << c.sung;
        EXPECT_EQ(interval.octaves, c.octaves) << c.sung;
    }
}

} // namespace
} // namespace harmonet::test
