#include "tests/support/BadSongFiles.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace harmonet::test {

namespace {

QString write(const QString& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return path;
}

QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray riffChunk(const QByteArray& id, const QByteArray& content)
{
    return id + littleEndian32(quint32(content.size())) + content + (content.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

} // namespace

std::vector<BadSongFile> makeBadSongFiles(const QString& folder, const QByteArray& validSong)
{
    QByteArray damagedHeader = validSong;
    damagedHeader.replace(0, 4, "MT0d");
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000000100000001008060000001ff3ff61");
    QDir(folder).mkdir(QStringLiteral("Psalms.mid"));
    return {
        {"an empty file", write(folder, "empty.mid", QByteArray()), "“empty.mid” is empty."},
        {"a header that is not MThd", write(folder, "header.mid", damagedHeader), "“header.mid” is not a MIDI file."},
        {"a picture named as a song", write(folder, "picture.mid", png), "“picture.mid” is not a MIDI file."},
        {"a text file", write(folder, "words.txt", "All people that on earth do dwell\n"),
         "“words.txt” is not a MIDI file."},
        {"a folder", QDir(folder).filePath("Psalms.mid"), "“Psalms.mid” is a folder, not a MIDI file."},
        {"a missing file", QDir(folder).filePath("missing.mid"), "“missing.mid” was not found."},
    };
}

QByteArray riffMidi(const QByteArray& song)
{
    const QByteArray info = riffChunk("LIST", "INFO" + riffChunk("INAM", "Hymn"));
    return riffChunk("RIFF", "RMID" + riffChunk("data", song) + info);
}

} // namespace harmonet::test
