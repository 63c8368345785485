#include "singing/TakeAnalyzer.h"

namespace harmonet {

TakeAnalyzer::TakeAnalyzer(int sampleRate, double firstSampleMs)
    : m_tracker(sampleRate)
    , m_firstSampleMs(firstSampleMs)
{
}

std::span<const PitchFrame> TakeAnalyzer::push(std::span<const float> samples)
{
    const std::size_t before = m_frames.size();
    m_tracker.push(samples, m_frames);
    for (std::size_t i = before; i < m_frames.size(); ++i) {
        m_frames[i].ms += m_firstSampleMs;
    }
    return std::span<const PitchFrame>(m_frames).subspan(before);
}

} // namespace harmonet
