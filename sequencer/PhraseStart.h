#pragma once

#include <QtGlobal>
#include <optional>
#include <span>
#include <vector>

namespace harmonet {

class TBarMap;
class TMidiTrack;

// One sounding note of a part: where it starts and where it ends, in ticks.
struct TNoteSpan {
    qint64 StartTicks = 0;
    qint64 EndTicks = 0;
};

// The notes of a track, in the order they start; a note-on never ended sounds
// for no time.
std::vector<TNoteSpan> notesOfTrack(const TMidiTrack& track);

// Where the phrase that is under way at a tick position began: the first note
// after the last rest longer than a beat (of the metre at that rest) among the
// notes starting before ticks, or the part's first note when it has no such
// rest. Nothing when no note starts before ticks. Notes may come in any order
// and overlap.
std::optional<qint64> phraseStartBefore(std::span<const TNoteSpan> notes, double ticks, const TBarMap& bars);

} // namespace harmonet
