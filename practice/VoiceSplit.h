#pragma once

#include <QtGlobal>
#include <vector>

namespace harmonet {

// One note of a track and where its events lie in the track, so that it can
// be sent on a channel of its own.
struct TVoiceNote {
    qint32 tick = 0;
    // Ticks from note-on to note-off; 0 for a note never switched off.
    qint32 length = 0;
    quint8 key = 0;
    quint8 velocity = 0;
    // Index of the note-on in the track, and of its note-off, or -1 without one.
    int onIndex = 0;
    int offIndex = -1;
};

// What the notes of one channel of a track hold: one voice, two or three
// voices that share it (a closed score writes soprano and alto on one staff),
// or an accompaniment, whose chords are not split.
struct TVoiceCount {
    int voices = 1;
    bool accompaniment = false;
};

// Counts the voices of a channel's notes (sorted by tick). program is the
// channel's program when the track sets one, else -1: keyboards and organs
// (programs 0 to 23) play chords, not voices.
TVoiceCount countVoices(const std::vector<TVoiceNote>& notes, int program, qint32 ticksPerQuarter);

// Divides a channel's notes (sorted by tick) into voiceCount voices, top
// first, as indices into notes. Where notes sound at once the higher belongs
// to the higher voice, and a note held on belongs to the voice that holds it;
// a note sounding alone goes to every voice that sings it in unison, or to the
// one moving while the others rest, judged by the notes before and after and
// by syllables: syllableTicks[v] (sorted; empty when unknown) are the ticks of
// the words voice v sings, which fall on its onsets.
std::vector<std::vector<int>> splitVoices(const std::vector<TVoiceNote>& notes, int voiceCount,
                                          qint32 ticksPerQuarter,
                                          const std::vector<std::vector<qint32>>& syllableTicks);

} // namespace harmonet
