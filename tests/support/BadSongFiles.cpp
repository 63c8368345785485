#include "tests/support/BadSongFiles.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace harmonet::test {

namespace {

QString write(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QFile file(QDir(folder).filePath(name));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return file.fileName();
}

QByteArray riffChunk(const QByteArray& id, const QByteArray& content)
{
    QByteArray length(4, '\0');
    qToLittleEndian(quint32(content.size()), length.data());
    return id + length + content;
}

} // namespace

std::vector<BadSongFile> makeBadSongFiles(const QString& folder, const QByteArray& validSong)
{
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000010000000100806000000");
    QDir(folder).mkdir(QStringLiteral("Psalms.mid"));
    return {
        {"an empty file", write(folder, "empty.mid", {}), "“empty.mid” is empty."},
        {"a header that is not MThd", write(folder, "header.mid", "MT0d" + validSong.mid(4)),
         "“header.mid” is not a MIDI file."},
        {"a picture named as a song", write(folder, "picture.mid", png), "“picture.mid” is not a MIDI file."},
        {"a text file", write(folder, "words.txt", "All people that on earth do dwell\n"),
         "“words.txt” is not a MIDI file."},
        {"a folder", QDir(folder).filePath("Psalms.mid"), "“Psalms.mid” is a folder, not a MIDI file."},
        {"a missing file", QDir(folder).filePath("missing.mid"), "“missing.mid” was not found."},
    };
}

QByteArray riffMidi(const QByteArray& song)
{
    return riffChunk("RIFF", "RMID" + riffChunk("data", song) + riffChunk("LIST", "INFO"));
}

} // namespace harmonet::test
