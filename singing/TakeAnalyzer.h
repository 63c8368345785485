#pragma once

#include "singing/PitchTracker.h"

#include <span>
#include <vector>

namespace harmonet {

// The pitch of a take placed on the song's timeline: the same for a take
// being sung (the microphone's samples as they come) and for one read from
// a file. The first sample lies at firstSampleMs of playing time; each
// frame's time is moved there.
class TakeAnalyzer {
public:
    TakeAnalyzer(int sampleRate, double firstSampleMs);

    // Analyses the samples; the frames they complete are appended to frames()
    // and returned.
    std::span<const PitchFrame> push(std::span<const float> samples);

    const std::vector<PitchFrame>& frames() const { return m_frames; }
    int sampleRate() const { return m_tracker.sampleRate(); }
    double firstSampleMs() const { return m_firstSampleMs; }

private:
    PitchTracker m_tracker;
    double m_firstSampleMs;
    std::vector<PitchFrame> m_frames;
};

} // namespace harmonet
