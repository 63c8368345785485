#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace harmonet {

class TMidiFile;

// Parses Standard MIDI File bytes into a TMidiFile's tracks. Every read stays
// inside the bytes given and inside the chunk being read.
class SmfReader {
public:
    // Replaces file's tracks with those of bytes (of the Standard MIDI File
    // inside them, for a RIFF MIDI file). On failure the tracks read so
    // far stay and the error is raised; the header fields and the tempo are
    // those the file set, or the default tempo where no tempo event took effect.
    static void read(TMidiFile& file, const QByteArray& bytes);

private:
    class TrackParser;
    // Reads the chunks of smf, which lies within bytes (the tracks keep bytes).
    static void readChunks(TMidiFile& file, const QByteArray& bytes, QByteArrayView smf, bool& tempoTookEffect);
};

} // namespace harmonet
