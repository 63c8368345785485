#pragma once

#include "practice/VoiceModel.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace harmonet {

class TMidiFile;

// A song as read from its file, once: its bytes and what the reader made of
// them. It never changes after reading and is shared, by reference, by
// everything that plays it: the window's session and the export jobs each
// play it with a sequencer of their own.
class Song {
public:
    // Reads the file; raises what TMidiFile::LoadSong raises.
    static std::shared_ptr<const Song> read(const QString& path);
    // The song of bytes already in memory; path only names it.
    static std::shared_ptr<const Song> fromBytes(const QByteArray& bytes, const QString& path = {});

    ~Song();
    Song(const Song&) = delete;
    Song& operator=(const Song&) = delete;

    const QString& path() const { return m_path; }
    const QByteArray& bytes() const { return m_bytes; }
    // The tracks, tempo and texts as read; never played.
    const TMidiFile& file() const { return *m_file; }
    // The voices a singer can follow, in panel order, each named and paired
    // with its words (see findVoices).
    const QList<TVoice>& voices() const { return m_voices; }

private:
    Song(const QByteArray& bytes, const QString& path);

    QString m_path;
    QByteArray m_bytes;
    std::unique_ptr<TMidiFile> m_file;
    QList<TVoice> m_voices;
};

} // namespace harmonet
