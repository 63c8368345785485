// Built to be vectorised (see CMakeLists.txt): the conversion of every
// sample of an export.
#include "midiout/Pcm16.h"

#include <algorithm>

namespace harmonet {

namespace {

inline qint16 converted(float sample)
{
    // Truncated, then a step away from zero where at least half a step was
    // cut off: every operation is exact in single precision.
    const float scaled = std::min(std::max(sample, -1.0f), 1.0f) * 32767.0f;
    const int whole = static_cast<int>(scaled);
    const float fraction = scaled - static_cast<float>(whole);
    return static_cast<qint16>(whole + int(fraction >= 0.5f) - int(fraction <= -0.5f));
}

} // namespace

qint16 pcm16(float sample)
{
    return converted(sample);
}

void pcm16(std::span<const float> floats, std::span<qint16> samples)
{
    const std::size_t count = std::min(floats.size(), samples.size());
    const float* const from = floats.data();
    qint16* const to = samples.data();
    for (std::size_t i = 0; i < count; ++i) {
        to[i] = converted(from[i]);
    }
}

} // namespace harmonet
