#include "tests/practice/AudioMeasure.h"
#include "session/PlayingSession.h"
#include "singing/TakeMix.h"
#include "tests/singing/SungAlto.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace harmonet::test {
namespace {

constexpr int Rate = 44100;
constexpr double BurstHz = 5200.0;

// Power of the burst's frequency in the left channel over a few ms from ms on.
double burstPower(const AudioFile& file, double ms)
{
    constexpr int Window = 88;
    const double step = 2.0 * std::numbers::pi * BurstHz / file.sampleRate;
    double re = 0.0;
    double im = 0.0;
    const auto first = std::size_t(ms * file.sampleRate / 1000.0);
    for (int i = 0; i < Window; ++i) {
        const std::size_t at = (first + std::size_t(i)) * std::size_t(file.channels);
        const double sample = at < file.samples.size() ? file.samples[at] : 0.0;
        re += sample * std::cos(step * i);
        im += sample * std::sin(step * i);
    }
    return (re * re + im * im) / (Window * Window);
}

TEST(TakeExport, TheTakeSoundsWithTheSongWhereItWasSung)
{
    HARMONET_REQUIRE_SOUNDFONT();
    QTemporaryDir dir;
    PlayingSession session;
    session.load(exampleSongPath());
    struct Case {
        double takeStartMs;
        double burstAtSongMs;
        PartBesideTake part;
    };
    const Case cases[] = {
        {-300.0, 1500.0, PartBesideTake::Muted},   // the take began with a count-in
        {2750.0, 4000.0, PartBesideTake::Emphasised},  // a pass begun in the middle of the song
    };
    for (const Case& c : cases) {
        TakeWithSong take;
        take.song = session.song();
        take.settings = session.settings();
        take.choice.part = session.voices()[1].key();
        take.part = c.part;
        take.sampleRate = Rate;
        take.takeStartMs = c.takeStartMs;
        take.take.assign(std::size_t(Rate * 5), 0.0f);
        const auto burst = std::size_t((c.burstAtSongMs - c.takeStartMs) * Rate / 1000.0);
        for (std::size_t i = 0; i < std::size_t(Rate / 10); ++i) {
            take.take[burst + i] = float(0.5 * std::sin(2.0 * std::numbers::pi * BurstHz * double(i) / Rate));
        }
        const QString path = dir.filePath(QStringLiteral("take.wav"));
        ASSERT_TRUE(exportTake(take, path, AudioFormat::Wav, {}));
        const AudioFile file = readAudioFile(path);
        ASSERT_TRUE(file.opened);
        double loudest = 0.0;
        for (double ms = 0.0; ms < 8000.0; ms += 1.0) {
            loudest = std::max(loudest, burstPower(file, ms));
        }
        double onset = -1.0;
        for (double ms = 0.0; ms < 8000.0 && onset < 0.0; ms += 1.0) {
            onset = burstPower(file, ms) > loudest / 4.0 ? ms : -1.0;
        }
        // The window of 2 ms reaches a quarter of the burst's power halfway in.
        EXPECT_NEAR(onset + 1.0, c.burstAtSongMs, 10.0) << c.takeStartMs;
        // The song plays under it.
        EXPECT_GT(levelDb(file, Side::Both, int(c.burstAtSongMs) + 500, int(c.burstAtSongMs) + 1500), -60.0);

        const SongSettings settings = settingsBesideTake(take);
        EXPECT_EQ(settings.tracks[2].muted, c.part == PartBesideTake::Muted);
        EXPECT_EQ(choiceBesideTake(take).part, c.part == PartBesideTake::Muted ? PracticeChoice::NoPart : take.choice.part);
    }
}

} // namespace
} // namespace harmonet::test
