// The audio-thread half of the synthesizer's output stage: gain ramps and the
// bass and treble shelves (second-order shelving filters with a slope of 1).
#include "midiout/OutputStage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace harmonet {

namespace {

enum class Shelf { Low, High };

// Where each shelf reaches half its boost or cut: far enough into the middle
// that the whole bass band (below 200 Hz) and treble band (above 4 kHz) get
// nearly the full amount.
constexpr double bassMidpointHz = 300.0;
constexpr double trebleMidpointHz = 2700.0;

struct Coefficients {
    double b0, b1, b2, a1, a2;
};

Coefficients shelfCoefficients(Shelf shelf, double frequency, double gainDb, double sampleRate)
{
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w0 = 2.0 * std::numbers::pi * std::min(frequency, 0.45 * sampleRate) / sampleRate;
    const double cosW = std::cos(w0);
    const double alpha = std::sin(w0) / 2.0 * std::sqrt(2.0);
    const double k = 2.0 * std::sqrt(a) * alpha;
    // High shelf: the low shelf's formulas with the sign of cos(w0) turned.
    const double c = shelf == Shelf::Low ? cosW : -cosW;
    const double b0 = a * ((a + 1) - (a - 1) * c + k);
    const double b1 = 2 * a * ((a - 1) - (a + 1) * c);
    const double b2 = a * ((a + 1) - (a - 1) * c - k);
    const double a0 = (a + 1) + (a - 1) * c + k;
    const double a1 = -2 * ((a - 1) + (a + 1) * c);
    const double a2 = (a + 1) + (a - 1) * c - k;
    const double sign = shelf == Shelf::Low ? 1.0 : -1.0; // odd terms change sign with c
    return {b0 / a0, sign * b1 / a0, b2 / a0, sign * a1 / a0, a2 / a0};
}

} // namespace

double SynthOutputStage::volumeGain(quint32 raw)
{
    const double v = double(std::min(raw, rawMaximum)) / rawMaximum;
    return v * v * v;
}

double SynthOutputStage::toneDb(quint32 raw)
{
    raw = std::min(raw, rawMaximum);
    if (raw >= toneFlat) {
        return shelfRangeDb * double(raw - toneFlat) / double(rawMaximum - toneFlat);
    }
    return -shelfRangeDb * double(toneFlat - raw) / double(toneFlat);
}

SynthOutputStage::Processor::Processor(const SynthOutputStage& stage, double sampleRate)
    : m_stage(stage), m_sampleRate(sampleRate), m_step(float(1000.0 / (rampMs * sampleRate)))
{
    readTargets();
    m_gain = m_target; // a new synthesizer starts at the stage's level, without a ramp
}

void SynthOutputStage::Processor::readTargets() noexcept
{
    for (int ch = 0; ch < 2; ++ch) {
        const bool muted = m_stage.value(MasterMute) != 0 || m_stage.value(SynthMute) != 0;
        m_target[ch] = muted ? 0.0f
                             : float(volumeGain(m_stage.value(MasterVolume, ch)) *
                                     volumeGain(m_stage.value(SynthVolume, ch)));
    }
    const auto retune = [this](Biquad& filter, quint32& known, quint32 raw, Shelf shelf, double frequency) {
        if (raw == known) {
            return;
        }
        known = raw;
        filter.flat = raw == toneFlat;
        if (filter.flat) {
            filter.s1[0] = filter.s1[1] = filter.s2[0] = filter.s2[1] = 0.0;
            return;
        }
        const Coefficients c = shelfCoefficients(shelf, frequency, toneDb(raw), m_sampleRate);
        filter.b0 = c.b0;
        filter.b1 = c.b1;
        filter.b2 = c.b2;
        filter.a1 = c.a1;
        filter.a2 = c.a2;
    };
    retune(m_bass, m_bassRaw, m_stage.value(Bass), Shelf::Low, bassMidpointHz);
    retune(m_treble, m_trebleRaw, m_stage.value(Treble), Shelf::High, trebleMidpointHz);
}

namespace {
// One shelf on one channel: transposed direct form II, its state in double
// precision (the bass shelf's poles lie close to the unit circle).
struct ShelfState {
    double b0, b1, b2, a1, a2;
    double s1, s2;

    double step(double x)
    {
        const double y = b0 * x + s1;
        s1 = b1 * x - a1 * y + s2;
        s2 = b2 * x - a2 * y;
        return y;
    }
};
} // namespace

template <int stride>
void SynthOutputStage::Processor::run(float* left, float* right, int frames) noexcept
{
    // All active shelves of both channels in one pass over the frames, so the
    // processor works on four independent recursions at a time.
    const auto state = [](const Biquad& f, int ch) { return ShelfState{f.b0, f.b1, f.b2, f.a1, f.a2, f.s1[ch], f.s2[ch]}; };
    // A state that has died away (silence in) is set to zero before it can
    // reach subnormal numbers, which the processor handles many times slower.
    const auto keep = [](Biquad& f, int ch, const ShelfState& s) {
        const bool died = std::abs(s.s1) < 1e-15 && std::abs(s.s2) < 1e-15;
        f.s1[ch] = died ? 0.0 : s.s1;
        f.s2[ch] = died ? 0.0 : s.s2;
    };
    if (!m_bass.flat || !m_treble.flat) {
        ShelfState bassL = state(m_bass, 0), bassR = state(m_bass, 1);
        ShelfState trebleL = state(m_treble, 0), trebleR = state(m_treble, 1);
        if (!m_bass.flat && !m_treble.flat) {
            for (int i = 0; i < frames; ++i) {
                left[i * stride] = float(trebleL.step(bassL.step(left[i * stride])));
                right[i * stride] = float(trebleR.step(bassR.step(right[i * stride])));
            }
        } else {
            ShelfState& l = m_bass.flat ? trebleL : bassL;
            ShelfState& r = m_bass.flat ? trebleR : bassR;
            for (int i = 0; i < frames; ++i) {
                left[i * stride] = float(l.step(left[i * stride]));
                right[i * stride] = float(r.step(right[i * stride]));
            }
        }
        keep(m_bass, 0, bassL);
        keep(m_bass, 1, bassR);
        keep(m_treble, 0, trebleL);
        keep(m_treble, 1, trebleR);
    }
    float* const channel[2] = {left, right};
    for (int ch = 0; ch < 2; ++ch) {
        float* samples = channel[ch];
        float gain = m_gain[ch];
        const float target = m_target[ch];
        int i = 0;
        for (; i < frames && gain != target; ++i) {
            gain = gain < target ? std::min(gain + m_step, target) : std::max(gain - m_step, target);
            samples[i * stride] *= gain;
        }
        if (gain != 1.0f) {
            for (; i < frames; ++i) {
                samples[i * stride] *= gain;
            }
        }
        m_gain[ch] = gain;
    }
}

void SynthOutputStage::Processor::process(float* left, float* right, int frames) noexcept
{
    readTargets();
    run<1>(left, right, frames);
}

void SynthOutputStage::Processor::processInterleaved(float* stereo, int frames) noexcept
{
    readTargets();
    run<2>(stereo, stereo + 1, frames);
}

} // namespace harmonet
