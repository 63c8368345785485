#include "tests/support/SungVoice.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace harmonet::test {

namespace {
constexpr double FadeMs = 8.0;
}

std::vector<float> singNotes(std::span<const SungNote> notes, int rate, double lengthMs, const VoiceTone& tone)
{
    std::vector<float> samples(std::size_t(std::max(0.0, lengthMs) * rate / 1000.0), 0.0f);
    double voicePower = 0.0;
    for (int h = 1; h <= tone.harmonics; ++h) {
        voicePower += 0.5 / (h * h);
    }
    voicePower *= tone.level * tone.level;
    std::mt19937 random(tone.seed);
    std::normal_distribution<double> noise(0.0, std::sqrt(voicePower) * std::pow(10.0, tone.breathDb / 20.0));
    for (float& sample : samples) {
        sample = float(noise(random));
    }
    const double twoPi = 2.0 * std::numbers::pi;
    for (const SungNote& note : notes) {
        const auto first = std::size_t(std::max(0.0, note.startMs) * rate / 1000.0);
        const auto last = std::min(samples.size(), std::size_t(std::max(0.0, note.endMs) * rate / 1000.0));
        const double baseHz = 440.0 * std::pow(2.0, (note.midi - 69.0) / 12.0);
        double phase = 0.0;
        for (std::size_t i = first; i < last; ++i) {
            const double t = double(i - first) / rate;
            const double vibrato = tone.vibratoCents / 1200.0 * std::sin(twoPi * tone.vibratoHz * t);
            phase += twoPi * baseHz * std::pow(2.0, vibrato) / rate;
            const double fromEdge = std::min(double(i - first), double(last - i)) * 1000.0 / rate;
            const double envelope = std::min(1.0, fromEdge / FadeMs);
            double value = 0.0;
            for (int h = 1; h <= tone.harmonics; ++h) {
                value += std::sin(h * phase) / h;
            }
            samples[i] += float(tone.level * envelope * value);
        }
    }
    return samples;
}

std::vector<qint16> toPcm16(std::span<const float> samples)
{
    std::vector<qint16> pcm(samples.size());
    std::transform(samples.begin(), samples.end(), pcm.begin(), [](float sample) {
        return qint16(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
    });
    return pcm;
}

} // namespace harmonet::test
