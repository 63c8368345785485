#include "singing/PitchTracker.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace harmonet {

struct PitchTracker::Detector {
    aubio_pitch_t* pitch = nullptr;
    fvec_t* hop = nullptr;
    fvec_t* out = nullptr;

    ~Detector()
    {
        if (pitch) {
            del_aubio_pitch(pitch);
        }
        if (hop) {
            del_fvec(hop);
        }
        if (out) {
            del_fvec(out);
        }
    }
};

double hzOfMidi(double midi)
{
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

double midiOfHz(double hz)
{
    return 69.0 + 12.0 * std::log2(hz / 440.0);
}

PitchTracker::PitchTracker(int sampleRate)
    : m_sampleRate(sampleRate)
    , m_detector(std::make_unique<Detector>())
{
    if (sampleRate < 8000 || sampleRate > 192000) {
        throw std::invalid_argument("PitchTracker: sample rate out of range");
    }
    m_detector->pitch = new_aubio_pitch("yinfast", WindowSamples, HopSamples, uint_t(sampleRate));
    m_detector->hop = new_fvec(HopSamples);
    m_detector->out = new_fvec(1);
    if (!m_detector->pitch || !m_detector->hop || !m_detector->out) {
        throw std::bad_alloc();
    }
    aubio_pitch_set_unit(m_detector->pitch, "midi");
    // The silence is judged here, at the window's middle, not by the detector
    // at the window's end.
    aubio_pitch_set_silence(m_detector->pitch, -200.0f);
    std::fill(std::begin(m_levels), std::end(m_levels), -200.0f);
}

PitchTracker::~PitchTracker() = default;

void PitchTracker::push(std::span<const float> samples, std::vector<PitchFrame>& frames)
{
    for (const float sample : samples) {
        m_detector->hop->data[m_filled++] = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
        if (m_filled == HopSamples) {
            analyseHop(frames);
            m_filled = 0;
        }
    }
    m_pushed += qint64(samples.size());
}

void PitchTracker::analyseHop(std::vector<PitchFrame>& frames)
{
    aubio_pitch_do(m_detector->pitch, m_detector->hop, m_detector->out);
    ++m_hops;
    double energy = 0.0;
    for (int i = 0; i < HopSamples; ++i) {
        energy += double(m_detector->hop->data[i]) * m_detector->hop->data[i];
    }
    std::move(std::begin(m_levels) + 1, std::end(m_levels), std::begin(m_levels));
    m_levels[MiddleHops] = float(10.0 * std::log10(energy / HopSamples + 1e-20));
    PitchFrame frame;
    // The window ends with this hop; its middle is half a window back.
    const double centre = double(m_hops * HopSamples) - WindowSamples / 2.0;
    frame.ms = centre * 1000.0 / m_sampleRate;
    const float midi = m_detector->out->data[0];
    frame.confidence = aubio_pitch_get_confidence(m_detector->pitch);
    static const double lowest = midiOfHz(LowestHz);
    static const double highest = midiOfHz(HighestHz);
    frame.voiced = m_levels[0] >= SilenceDb && std::isfinite(midi) && midi >= lowest && midi <= highest
                   && frame.confidence >= MinConfidence;
    frame.midi = frame.voiced ? midi : 0.0f;
    frames.push_back(frame);
}

} // namespace harmonet
