#include "session/Song.h"

#include "core/Exception.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SongFile.h"
#include "sequencer/SongWords.h"

#include <QCoreApplication>

#include <new>

namespace harmonet {

Song::Song(const QByteArray& bytes, const QString& path)
    : m_path(path), m_bytes(bytes), m_file(std::make_unique<TMidiFile>())
{
    m_file->SetFilename(path);
    m_file->LoadSongFromBytes(m_bytes);
    TSongWords words;
    words.build(*m_file);
    m_voices = findVoices(*m_file, words);
    // Read from every thread that plays the song and freed by whichever
    // holds it last, it belongs to none.
    m_file->moveToThread(nullptr);
}

Song::~Song() = default;

std::shared_ptr<const Song> Song::read(const QString& path)
{
    std::shared_ptr<const Song> song;
    readSongFile(path, [&] {
        QByteArray bytes;
        try {
            bytes = TMidiFile::ReadWholeFile(path);
        } catch (const std::bad_alloc&) {
            throw Exception(QCoreApplication::translate("SongFile", "Out of memory"));
        }
        song = fromBytes(bytes, path);
    });
    return song;
}

std::shared_ptr<const Song> Song::fromBytes(const QByteArray& bytes, const QString& path)
{
    return std::shared_ptr<const Song>(new Song(bytes, path));
}

} // namespace harmonet
