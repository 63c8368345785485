#pragma once

#include "session/Song.h"
#include "singing/NoteScoring.h"
#include "singing/TargetNotes.h"
#include "tests/support/SungVoice.h"

#include <QString>

#include <memory>
#include <vector>

namespace harmonet::test {

// The example song's alto, sung with the faults a test asks for.
struct AltoFaults {
    int flatNote = -1;     // sung a semitone flat
    int lateNote = -1;     // begun LateMs late
    int leftOut = -1;      // not sung
    int octaves = 0;       // the whole take this many octaves off
    double delayMs = 0.0;  // the whole take this much later than the song
};

constexpr double LateMs = 200.0;
// The notes the faulty takes of the tests get wrong: one after a step down,
// one after a step up, one in the middle of a line.
constexpr AltoFaults ThreeFaults{2, 10, 20, 0, 0.0};

QString exampleSongPath();
std::shared_ptr<const Song> exampleSong();
// The alto's notes at the song's own tempo.
std::vector<TargetNote> altoTargets(const Song& song);
// The notes the singer sings.
std::vector<SungNote> sungAlto(const std::vector<TargetNote>& targets, const AltoFaults& faults);
// How long a take of the whole alto lasts.
double takeLengthMs(const std::vector<TargetNote>& targets);

// The indices of the results that are not good, with their verdicts.
std::vector<std::pair<int, NoteVerdict>> faultsOf(const std::vector<NoteResult>& results);

} // namespace harmonet::test
