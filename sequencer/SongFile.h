#pragma once

#include "core/Exception.h"

#include <QString>

#include <functional>

namespace harmonet {


// What keeps a path from naming a MIDI file, found before anything is read.
enum class SongFileProblem {
    None,     // a file that begins as a MIDI file (or a RIFF MIDI file) does
    NotFound, // nothing is at the path
    Folder,   // the path names a folder
    Empty,    // the file holds no byte
    NotMidi,  // the file holds something else: a picture, a text, a damaged header
};

// Looks at the path and at most the first bytes of the file there. A file that
// cannot be opened has no problem here: reading it says why.
SongFileProblem songFileProblem(const QString& path);

// The problem in the user's words, naming the file: "“hymn.png” is not a MIDI
// file". Empty for SongFileProblem::None.
QString songFileProblemText(SongFileProblem problem, const QString& path);

// A song file that could not be loaded. The message says what is wrong in the
// user's words, then the reader's own message where there is one, then the
// file's full path.
class ESongFileError : public Exception {
public:
    ESongFileError(const QString& summary, const QString& readerMessage, const QString& path);

    // The first sentence: what is wrong, naming the file.
    QString summary() const { return m_summary; }
    // What the reader reported, or empty when the file was not read.
    QString readerMessage() const { return m_readerMessage; }

private:
    QString m_summary;
    QString m_readerMessage;
};

// Runs read, which reads the MIDI file at path, once the path is known to
// hold one. A path with a problem raises it as ESongFileError without
// running read; a failure of read raises "“name” could not be read" with
// the reader's message.
void readSongFile(const QString& path, const std::function<void()>& read);

} // namespace harmonet
