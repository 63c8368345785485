// Built to be vectorised (see CMakeLists.txt): these loops run over every
// sample of every stem for every practice file.
#include "render/StemMix.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace harmonet {

void MidFold::fold(std::span<const float> stereo, std::span<float> mid)
{
    const std::size_t frames = std::min(stereo.size() / 2, mid.size());
    const std::optional<float> last = gain();
    for (std::size_t i = 0; i < frames; ++i) {
        const double left = stereo[2 * i];
        const double right = stereo[2 * i + 1];
        m_sides += left * left + right * right;
        m_sum += (left + right) * (left + right);
    }
    if (m_sum > 0.0) {
        m_gain = float(std::clamp(std::sqrt(m_sides / m_sum), std::numbers::sqrt2 / 2.0, 4.0));
    }
    // From the last block's gain to this one's, without a step.
    const float to = m_gain;
    const float from = last.value_or(to);
    const float step = frames > 0 ? (to - from) / float(frames) : 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        mid[i] = (from + step * float(i + 1)) * (stereo[2 * i] + stereo[2 * i + 1]);
    }
}

namespace {

// Frames mixed from every stem at a time: the mix's part stays in the
// nearest cache while each stem is added.
constexpr std::size_t BlockFrames = 512;

void addPlaced(float* mix, std::size_t frames, std::span<const float> stereo, std::span<const float> mid,
               const StemPlacement& placement)
{
    const float gain = placement.gain;
    if (gain == 0.0f) {
        return;
    }
    if (!placement.placed) {
        const std::size_t samples = std::min(2 * frames, stereo.size() & ~std::size_t(1));
        const float* const from = stereo.data();
        for (std::size_t i = 0; i < samples; ++i) {
            mix[i] += gain * from[i];
        }
        return;
    }
    const std::size_t count = std::min(frames, mid.size());
    const float* const from = mid.data();
    float* const side = mix + (placement.side == PanSide::Left ? 0 : 1);
    for (std::size_t i = 0; i < count; ++i) {
        side[2 * i] += gain * from[i];
    }
}

// What of a stem's frames lies in the block from first, count frames long.
std::span<const float> part(std::span<const float> frames, std::size_t first, std::size_t count, std::size_t width)
{
    const std::size_t begin = std::min(frames.size(), first * width);
    return frames.subspan(begin, std::min(frames.size() - begin, count * width));
}

} // namespace

void mixStems(std::span<float> mix, const std::vector<std::span<const float>>& stems,
              const std::vector<std::span<const float>>& mids, const std::vector<StemPlacement>& placements)
{
    std::fill(mix.begin(), mix.end(), 0.0f);
    const std::size_t frames = mix.size() / 2;
    for (std::size_t first = 0; first < frames; first += BlockFrames) {
        const std::size_t count = std::min(BlockFrames, frames - first);
        for (std::size_t s = 0; s < stems.size() && s < placements.size(); ++s) {
            addPlaced(mix.data() + 2 * first, count, part(stems[s], first, count, 2),
                      s < mids.size() ? part(mids[s], first, count, 1) : std::span<const float>(), placements[s]);
        }
    }
}

} // namespace harmonet
