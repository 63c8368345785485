#pragma once

#include "singing/PitchTracker.h"
#include "singing/TargetNotes.h"

#include <span>
#include <vector>

namespace harmonet {

// How close a sung pitch lies to the note of my part sounding with it: within
// 25 cents, within 50, or further; each is drawn in a colour of its own.
enum class PitchBand { Close, Near, Far };
PitchBand pitchBand(double cents);

// One point of the line of the sung pitch drawn over my part's notes.
struct PitchLinePoint {
    double ms = 0.0;
    // The sung pitch moved into the note's octave (a fractional MIDI key):
    // where it is drawn, beside the note.
    double key = 0.0;
    // Whole octaves between the voice and the note (shown beside the line).
    int octaves = 0;
    PitchBand band = PitchBand::Far;
};

// The points of the voiced frames that fall within a note of my part
// (frames and notes sorted by time); frames in rests draw nothing.
std::vector<PitchLinePoint> pitchLine(std::span<const PitchFrame> frames, std::span<const TargetNote> notes);

} // namespace harmonet
