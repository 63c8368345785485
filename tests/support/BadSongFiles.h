#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace harmonet::test {

// One input that names no MIDI file, and the first sentence the user is told.
struct BadSongFile {
    const char* what;
    QString path;
    QString summary;
};

// Puts the inputs that name no MIDI file into folder: an empty file, a song
// whose header says "MT0d", a picture and a text named as songs, a folder
// named as a song, and the path of a file that does not exist.
std::vector<BadSongFile> makeBadSongFiles(const QString& folder, const QByteArray& validSong);

// The song wrapped as a RIFF MIDI file (".rmi"), with an empty INFO list after it.
QByteArray riffMidi(const QByteArray& song);

} // namespace harmonet::test
