#include "sequencer/PhraseStart.h"

#include "sequencer/BarMap.h"
#include "sequencer/MidiBytes.h"
#include "sequencer/MidiTrack.h"

#include <algorithm>

namespace harmonet {

std::vector<TNoteSpan> notesOfTrack(const TMidiTrack& track)
{
    std::vector<TNoteSpan> notes;
    for (const TMidiEvent& event : track.Events()) {
        if ((event.Status & 0xF0) == midi::NoteOn && event.Value2 > 0) {
            notes.push_back({event.Ticks, qint64(event.Ticks) + std::max(0, event.NoteTicks)});
        }
    }
    return notes;
}

std::optional<qint64> phraseStartBefore(std::span<const TNoteSpan> notes, double ticks, const TBarMap& bars)
{
    std::vector<TNoteSpan> before;
    for (const TNoteSpan& note : notes) {
        if (double(note.StartTicks) < ticks) {
            before.push_back(note);
        }
    }
    if (before.empty()) {
        return std::nullopt;
    }
    std::stable_sort(before.begin(), before.end(),
                     [](const TNoteSpan& a, const TNoteSpan& b) { return a.StartTicks < b.StartTicks; });
    qint64 phraseStart = before.front().StartTicks;
    // The end of everything sounding so far: a rest is a gap after it.
    qint64 soundingUntil = before.front().EndTicks;
    for (const TNoteSpan& note : before) {
        const double rest = double(note.StartTicks - soundingUntil);
        if (rest > 0.0 && rest > bars.BeatTicksAt(double(soundingUntil))) {
            phraseStart = note.StartTicks;
        }
        soundingUntil = std::max(soundingUntil, note.EndTicks);
    }
    return phraseStart;
}

} // namespace harmonet
