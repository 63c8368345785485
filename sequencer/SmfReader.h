#pragma once

#include <QByteArray>

namespace harmonet {

class TMidiFile;

// Parses Standard MIDI File bytes into a TMidiFile's tracks. Every read stays
// inside the bytes given and inside the chunk being read.
class SmfReader {
public:
    // Replaces file's tracks with those of bytes. On failure the tracks read so
    // far stay and the error is raised; the header fields and the tempo are
    // those the file set, or the default tempo where no tempo event took effect.
    static void read(TMidiFile& file, const QByteArray& bytes);

private:
    class TrackParser;
    static void readChunks(TMidiFile& file, const QByteArray& bytes, bool& tempoTookEffect);
};

} // namespace harmonet
