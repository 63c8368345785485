#pragma once

#include <QString>
#include <QStringList>

namespace harmonet {

class TMidiFile;

// The name a singer reads for a voice, made from its track's own name.
// Notation programs write "staff:voice" names built from their variables
// (":altusNotes", "women:Sopran", "men:Tenor", "uniqueContext0:"): the voice
// part is taken, else the staff part; names the program made up itself
// ("uniqueContext3") count as none; a last word "Notes", "Music" or "Voice"
// goes (a word of its own: "altusNotes", "alto music", not "Bassnotes");
// a name written as one identifier is split into its words ("sopranoTwo" is
// "Soprano Two", "tenor2" is "Tenor 2"); "_" reads as a space and the first
// letter is a capital. Where nothing readable is left, the voice is its
// instrument with its number ("Choir Aahs 3"), or without an instrument
// the caption given (what its track panel shows).
QString readableVoiceName(const QString& trackName, const QString& instrumentName, int number,
                          const QString& caption);

// The names in their order, those that occur more than once (regardless of
// case) numbered "Tenor 1", "Tenor 2", ... past any name already taken.
QStringList distinctVoiceNames(const QStringList& names);

// The song's title: the name of the first track of a file of several tracks
// played together (format 1) when that track holds no notes, as notation
// programs write it ("Le Chant des Oyseaux"); else the file's name without
// its extension.
QString songTitle(const TMidiFile& song, const QString& fileName);

} // namespace harmonet
