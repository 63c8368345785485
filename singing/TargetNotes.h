#pragma once

#include "practice/VoiceSplit.h"

#include <QtGlobal>

#include <optional>
#include <span>
#include <vector>

namespace harmonet {

class TBarMap;
class TMidiFile;
struct TVoice;

// One note of my part as the singer should sing it: when, in playing time
// at the tempo of the pass, which key, and where it stands in the score.
struct TargetNote {
    double startMs = 0.0;
    double endMs = 0.0;
    int key = 60;
    qint64 bar = 1;
    double beat = 1.0;
};

// The notes of a part (sorted by tick) in the playing time of the sequencer
// at its present tempo, placed in the bars. A note never switched off lasts
// a quarter note. Notes that start together (a chord in the part) count once,
// as the highest.
std::vector<TargetNote> targetNotes(const TMidiFile& sequencer, std::span<const TVoiceNote> notes,
                                    const TBarMap& bars);

// The notes of the voice in the sequencer's playing time, in the bars of the
// song with the upbeat set for it (if any).
std::vector<TargetNote> partTargets(const TMidiFile& sequencer, const TVoice& voice,
                                    std::optional<double> pickupBeats = std::nullopt);

// How far a sung pitch (a fractional MIDI key) lies from a key, regardless of
// the octave: cents from -600 up to 600, and the whole octaves between them
// (-1: sung an octave lower).
struct FoldedInterval {
    double cents = 0.0;
    int octaves = 0;
};
FoldedInterval foldedInterval(double sungMidi, double key);

} // namespace harmonet
