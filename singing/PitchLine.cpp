#include "singing/PitchLine.h"

#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {
constexpr double CloseCents = 25.0;
constexpr double NearCents = 50.0;
} // namespace

PitchBand pitchBand(double cents)
{
    const double off = std::abs(cents);
    return off <= CloseCents ? PitchBand::Close : off <= NearCents ? PitchBand::Near : PitchBand::Far;
}

std::vector<PitchLinePoint> pitchLine(std::span<const PitchFrame> frames, std::span<const TargetNote> notes)
{
    std::vector<PitchLinePoint> points;
    auto note = notes.begin();
    for (const PitchFrame& frame : frames) {
        while (note != notes.end() && note->endMs <= frame.ms) {
            ++note;
        }
        if (note == notes.end()) {
            break;
        }
        if (!frame.voiced || frame.ms < note->startMs) {
            continue;
        }
        const FoldedInterval interval = foldedInterval(frame.midi, note->key);
        points.push_back({frame.ms, note->key + interval.cents / 100.0, interval.octaves, pitchBand(interval.cents)});
    }
    return points;
}

} // namespace harmonet
