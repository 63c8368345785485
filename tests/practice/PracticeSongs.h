#pragma once

#include <QByteArray>

namespace harmonet::test {

// Songs for the practice tests, at 120 bpm with 480 ticks a quarter (a
// quarter lasts 500 ms). Each voice sings alone in a window of its own, so
// that a rendering shows each voice's level in its window:
//   "Soprano" channel 1, Choir Aahs, 0 to 500 ms;
//   "Alto"    channel 2, Choir Aahs, 1000 to 1500 ms;
//   "Piano"   channel 3, Acoustic Grand Piano, 2000 to 2500 ms (withPiano).
// Each voice track sets its volume to 100 and its pan to the centre.
QByteArray windowedSong(bool withPiano = false);

constexpr int SopranoFromMs = 0;
constexpr int AltoFromMs = 1000;
constexpr int PianoFromMs = 2000;
constexpr int VoiceWindowMs = 500;

// Four voices (channels 1 to 4) singing chords together for 3 seconds over a
// piano (channel 5) and drums (channel 10), each channel with a volume, pan,
// reverb and chorus of its own, the tenor bending its pitch: channels that
// sound at once and share the synthesizer's reverb and chorus.
QByteArray ensembleSong();
constexpr int EnsembleVoices = 4;

// A closed score: "Women", one track on channel 1 that holds two voices,
// the upper singing E5 (key 76) and the lower A4 (key 69) together, in
// ClosedScoreChords chords of a quarter each from 0 ms. Before its notes the
// track sets bank 0, Choir Aahs, volume 100, expression 110, pan 64, a
// pitch-bend range of 12 semitones and the pitch bend at its centre. With
// everyChannelTaken, a track of one note on each of the other fifteen
// channels follows, so that no channel is free.
QByteArray closedScoreSong(bool everyChannelTaken = false);

constexpr int ClosedScoreChords = 4;
constexpr quint8 UpperKey = 76;
constexpr quint8 LowerKey = 69;

// Two voices of sparse notes lasting minutes (long to render, small to hold).
QByteArray longSong(int minutes);

} // namespace harmonet::test
