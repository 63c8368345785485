#pragma once

#include "render/StemPlan.h"

#include <optional>
#include <span>
#include <vector>

namespace harmonet {

// What a stem placed on one side keeps of its power, block by block. Its two
// sides summed, (L + R) / sqrt(2), keep the power of a centred mono sound, as
// equal-power panning does; the halves of a stereo sample are partly
// different sounds, and their sum has less power than the two apart (down to
// half when they have nothing in common). The fold's gain on that sum makes up
// for it: the power of the stem so far over the power of its sum so far,
// between 1/sqrt(2) (one sound) and 1 (nothing in common), moving smoothly
// from one block's value to the next. A stem's mid signal is the same in
// every file that places it, so it is folded once, as the stem is rendered.
class MidFold {
public:
    // The next block's mid signal (a frame each, mid.size() at least the
    // frames of stereo), with the block taken into the powers.
    void fold(std::span<const float> stereo, std::span<float> mid);
    // The gain the last block ended with; until the stem first sounds, none
    // (the first block that sounds starts at its own gain).
    std::optional<float> gain() const { return m_sum > 0.0 ? std::optional<float>(m_gain) : std::nullopt; }

private:
    double m_sides = 0.0;
    double m_sum = 0.0;
    float m_gain = 0.70710678f;
};

// A file's next frames (interleaved stereo) mixed from the stems' same
// frames: each stem with its placement's gain, as it is, or placed, its
// folded mid signal (mids, a frame each; none when no stem is placed) on its
// side. Stems shorter than mix add silence after their end.
void mixStems(std::span<float> mix, const std::vector<std::span<const float>>& stems,
              const std::vector<std::span<const float>>& mids, const std::vector<StemPlacement>& placements);

} // namespace harmonet
