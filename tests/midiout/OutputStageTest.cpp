// The built-in synthesizer's output stage, measured on what the offline
// synthesizer renders: the shelves move the energy of their band and leave
// the middle alone, the volumes follow their mapping, a mute is silent within
// 20 ms and an unmute ramps in without a click.
#include "midiout/OutputStage.h"
#include "midiout/SoundFontLocator.h"
#include "midiout/Synthesizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

using namespace harmonet;

namespace {

constexpr int sampleRate = 44100;
constexpr std::size_t fftSize = 32768;

struct Planar {
    std::vector<float> left;
    std::vector<float> right;
};

// Two offline synthesizers sent the same messages render the same sound: one
// through a flat stage, one through the stage under test, so every
// comparison is between the same notes.
class StageOnRenderedAudio : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (findSoundFont().isEmpty()) {
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        }
        for (SynthOutputStage* s : {&flatStage, &stage}) {
            synths.push_back(std::make_unique<Synthesizer>(Synthesizer::Output::Offline, sampleRate,
                                                           soundFontCandidates(), *s));
        }
    }

    void send(quint8 status, quint8 data1, quint8 data2 = 0)
    {
        const char bytes[] = {char(status), char(data1), char(data2)};
        for (auto& synth : synths) {
            synth->play(QByteArray(bytes, 3));
        }
    }

    // Notes held on an instrument, settled past their attack.
    void hold(quint8 program, std::initializer_list<quint8> keys)
    {
        send(0xC0, program);
        for (const quint8 key : keys) {
            send(0x90, key, 110);
        }
        render(sampleRate / 2);
    }

    struct Rendered {
        Planar flat;
        Planar shaped;
    };

    Rendered render(std::size_t frames)
    {
        Planar out[2];
        for (int n = 0; n < 2; ++n) {
            std::vector<float> stereo(2 * frames);
            synths[std::size_t(n)]->render(std::span<float>(stereo));
            for (std::size_t i = 0; i < frames; ++i) {
                out[n].left.push_back(stereo[2 * i]);
                out[n].right.push_back(stereo[2 * i + 1]);
            }
        }
        return {out[0], out[1]};
    }

    SynthOutputStage flatStage;
    SynthOutputStage stage;
    std::vector<std::unique_ptr<Synthesizer>> synths;
};

// Energy of samples between two frequencies (Hann window, radix-2 FFT).
double bandEnergy(const std::vector<float>& samples, double fromHz, double toHz)
{
    std::vector<std::complex<double>> x(fftSize);
    for (std::size_t i = 0; i < fftSize; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / fftSize);
        x[i] = samples[i] * window;
    }
    for (std::size_t i = 1, j = 0; i < fftSize; ++i) {
        std::size_t bit = fftSize >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(x[i], x[j]);
        }
    }
    for (std::size_t len = 2; len <= fftSize; len <<= 1) {
        const auto w = std::polar(1.0, -2 * std::numbers::pi / double(len));
        for (std::size_t i = 0; i < fftSize; i += len) {
            std::complex<double> wk = 1;
            for (std::size_t k = 0; k < len / 2; ++k, wk *= w) {
                const auto u = x[i + k];
                const auto v = x[i + k + len / 2] * wk;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
            }
        }
    }
    double energy = 0;
    const double binHz = double(sampleRate) / fftSize;
    for (std::size_t k = std::size_t(fromHz / binHz); k <= std::size_t(toHz / binHz) && k < fftSize / 2; ++k) {
        energy += std::norm(x[k]);
    }
    return energy;
}

double decibels(double energyRatio)
{
    return 10 * std::log10(energyRatio);
}

double rms(const std::vector<float>& samples)
{
    double sum = 0;
    for (const float s : samples) {
        sum += double(s) * s;
    }
    return std::sqrt(sum / double(samples.size()));
}

float largestStep(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    float largest = 0;
    for (std::size_t i = std::max<std::size_t>(from, 1); i < to && i < samples.size(); ++i) {
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    }
    return largest;
}

struct ShelfCase {
    const char* name;
    SynthOutputStage::Control control;
    quint32 raw;
    double fromHz, toHz;   // the shelf's band
    double minimumDb;      // change of the band's energy, signed
};

TEST_F(StageOnRenderedAudio, ShelvesMoveTheirBandAndLeaveOneKilohertzAlone)
{
    const ShelfCase cases[] = {
        {"bass +12 dB", SynthOutputStage::Bass, SynthOutputStage::rawMaximum, 20, 200, 9},
        {"bass -12 dB", SynthOutputStage::Bass, 0, 20, 200, -9},
        {"treble +12 dB", SynthOutputStage::Treble, SynthOutputStage::rawMaximum, 4000, 16000, 9},
        {"treble -12 dB", SynthOutputStage::Treble, 0, 4000, 16000, -9},
    };
    // Flutes are nearly pure tones: one low (65 Hz), one at 1 kHz, one high (8.4 kHz).
    hold(73, {36, 84, 120});
    for (const ShelfCase& c : cases) {
        SCOPED_TRACE(c.name);
        stage.setValue(c.control, 0, c.raw);
        render(sampleRate / 10); // past the change
        const Rendered r = render(fftSize);
        const double band = decibels(bandEnergy(r.shaped.left, c.fromHz, c.toHz) / bandEnergy(r.flat.left, c.fromHz, c.toHz));
        const double middle = decibels(bandEnergy(r.shaped.left, 900, 1200) / bandEnergy(r.flat.left, 900, 1200));
        if (c.minimumDb > 0) {
            EXPECT_GE(band, c.minimumDb);
        } else {
            EXPECT_LE(band, c.minimumDb);
        }
        EXPECT_NEAR(middle, 0.0, 1.0);
        stage.setValue(c.control, 0, SynthOutputStage::toneFlat);
    }
}

struct VolumeCase {
    const char* name;
    quint32 masterLeft, masterRight, synthLeft, synthRight;
    double leftDb, rightDb; // expected change of level
};

TEST_F(StageOnRenderedAudio, VolumesLowerTheLevelAsTheCubicMappingSays)
{
    constexpr quint32 full = SynthOutputStage::rawMaximum;
    constexpr quint32 half = 32768;
    const double halfDb = 20 * std::log10(std::pow(double(half) / full, 3)); // -18.06 dB
    const VolumeCase cases[] = {
        {"master at half", half, half, full, full, halfDb, halfDb},
        {"synthesizer at half", full, full, half, half, halfDb, halfDb},
        {"both at half", half, half, half, half, 2 * halfDb, 2 * halfDb},
        {"left master at half only", half, full, full, full, halfDb, 0},
        {"right synthesizer at a quarter", full, full, full, 16384, 0, 20 * std::log10(std::pow(16384.0 / full, 3))},
    };
    hold(19, {48, 55, 60, 64});
    for (const VolumeCase& c : cases) {
        SCOPED_TRACE(c.name);
        stage.setValue(SynthOutputStage::MasterVolume, 0, c.masterLeft);
        stage.setValue(SynthOutputStage::MasterVolume, 1, c.masterRight);
        stage.setValue(SynthOutputStage::SynthVolume, 0, c.synthLeft);
        stage.setValue(SynthOutputStage::SynthVolume, 1, c.synthRight);
        render(sampleRate / 20); // past the ramp
        const Rendered r = render(sampleRate / 2);
        EXPECT_NEAR(20 * std::log10(rms(r.shaped.left) / rms(r.flat.left)), c.leftDb, 0.01);
        EXPECT_NEAR(20 * std::log10(rms(r.shaped.right) / rms(r.flat.right)), c.rightDb, 0.01);
        stage.reset();
        render(sampleRate / 20);
    }
}

TEST_F(StageOnRenderedAudio, MuteIsSilentWithinTwentyMillisecondsAndUnmuteRampsWithoutAClick)
{
    constexpr std::size_t ms20 = sampleRate / 50;
    hold(19, {48, 55, 60, 64});
    for (const auto mute : {SynthOutputStage::MasterMute, SynthOutputStage::SynthMute}) {
        SCOPED_TRACE(mute);
        stage.setValue(mute, 0, 1);
        const Planar muting = render(sampleRate / 10).shaped;
        for (std::size_t i = ms20; i < muting.left.size(); ++i) {
            ASSERT_EQ(muting.left[i], 0.0f) << i;
            ASSERT_EQ(muting.right[i], 0.0f) << i;
        }
        stage.setValue(mute, 0, 0);
        const Rendered back = render(sampleRate / 10);
        for (const auto& [shaped, own] : {std::pair{&back.shaped.left, &back.flat.left}, {&back.shaped.right, &back.flat.right}}) {
            // From the silence before it, through the ramp, to full level.
            EXPECT_LE(std::abs((*shaped)[0]), largestStep(*own, 0, own->size()));
            EXPECT_LE(largestStep(*shaped, 0, shaped->size()), largestStep(*own, 0, own->size()));
            EXPECT_EQ(std::vector<float>(shaped->begin() + ms20, shaped->end()),
                      std::vector<float>(own->begin() + ms20, own->end()));
        }
    }
}

} // namespace
