#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace harmonet::bench {

// Songs the benchmarks load, made with SmfWriter.

// A format-1 song: a tempo track (120 bpm) and noteTracks note tracks of
// exactly eventsPerTrack events each, on channels 1..16 in turn. Notes use
// running status; their note-offs alternate between note-on with velocity 0
// and 0x80 messages; a lyric comes before every 32nd note.
QByteArray choirSong(int noteTracks, int eventsPerTrack, quint16 ticksPerQuarter = 480);

// One track of count note-offs (0x80 under running status) and no note-on:
// every note-off searches for a note-on that does not exist.
QByteArray unmatchedNoteOffs(int count);

// noteTracks tracks that rest for restTicks before their first note, so
// that advancing through the rest finds nothing due.
QByteArray songWithLongRest(int noteTracks, qint32 restTicks);

// A format-1 song of noteTracks tracks (channels 1..16 in turn) that all
// play steady eighth notes at 120 bpm for seconds seconds.
QByteArray steadyEighths(int noteTracks, int seconds, quint16 ticksPerQuarter);

// A choir score laid out as LilyPond writes one: a tempo track (120 bpm,
// 4/4), then for each of voices voices a track of notes (a quarter or an
// eighth at a time, each voice in its own range, rests between phrases) and
// after it a note-free track of its words, one bare syllable on each note
// onset; minutes long.
QByteArray lilyPondChoir(int voices, int minutes);
// The MIDI file lilypond makes of a LilyPond source, or nothing (no such
// source, no lilypond, or it failed).
QByteArray lilypondMidi(const QString& source);

// A temporary folder that holds the files a benchmark loads.
class SongFolder {
public:
    SongFolder();
    // Writes bytes to a file of that name in the folder and returns its path.
    QString save(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
};

} // namespace harmonet::bench
