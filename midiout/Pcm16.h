#pragma once

#include <QtGlobal>

#include <span>

namespace harmonet {

// A rendered sample in 16 bits: clipped to -1..1, scaled and rounded half
// away from zero.
qint16 pcm16(float sample);
// Each of floats as pcm16(float) gives it, into as many samples.
void pcm16(std::span<const float> floats, std::span<qint16> samples);

} // namespace harmonet
