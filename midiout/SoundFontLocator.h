#pragma once

#include <QString>
#include <QStringList>

namespace harmonet {

// Where the built-in synthesizer looks for its General MIDI SoundFont, in
// order: the file named by HARMONET_SOUNDFONT, then the usual places of a
// Debian-style system.
QStringList soundFontCandidates();

// The first candidate that exists as a file, or an empty string.
QString findSoundFont();

// What to tell the user when none of candidates was a SoundFont: where it was
// looked for and how to install one.
QString noSoundFontAdvice(const QStringList& candidates = soundFontCandidates());

} // namespace harmonet
