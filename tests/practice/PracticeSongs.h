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

// Two voices of sparse notes lasting minutes (long to render, small to hold).
QByteArray longSong(int minutes);

} // namespace harmonet::test
