#pragma once

#include <QtGlobal>

#include <span>
#include <vector>

namespace harmonet::test {

// A note as a singer sings it: from when to when, at which pitch (a
// fractional MIDI key).
struct SungNote {
    double startMs = 0.0;
    double endMs = 0.0;
    double midi = 60.0;
};

// What the voice sounds like: a fundamental with harmonics falling off as
// 1/n, a vibrato, and breath noise below the voice's level.
struct VoiceTone {
    double level = 0.3;
    int harmonics = 6;
    double vibratoCents = 0.0;
    double vibratoHz = 5.5;
    // Noise level relative to the voice; -200: none.
    double breathDb = -200.0;
    quint32 seed = 1;
};

// The notes sung one after another (silence between them), lengthMs long,
// mono at rate, each note fading in and out over a few milliseconds.
std::vector<float> singNotes(std::span<const SungNote> notes, int rate, double lengthMs, const VoiceTone& tone = {});

// The same as 16-bit samples, as a microphone delivers them.
std::vector<qint16> toPcm16(std::span<const float> samples);

} // namespace harmonet::test
