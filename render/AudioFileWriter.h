#pragma once

#include "core/Exception.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <span>
#include <vector>

struct sf_private_tag;

namespace harmonet {

// The audio file formats practice tracks are written in.
enum class AudioFormat { Wav, Flac, Ogg, Mp3 };

constexpr AudioFormat AllAudioFormats[] = {AudioFormat::Wav, AudioFormat::Flac, AudioFormat::Ogg, AudioFormat::Mp3};

// "wav", "flac", "ogg", "mp3": the file name extension and the name the
// command line takes.
QString formatExtension(AudioFormat format);
// The format of a name ("mp3") or of a file name's extension, regardless of case.
std::optional<AudioFormat> formatFromName(const QString& name);
// "WAV 16-bit", "FLAC", "Ogg Vorbis", "MP3".
QString formatCaption(AudioFormat format);
// Whether this system's audio file library writes the format.
bool formatAvailable(AudioFormat format);

// A failure to create, write or finish an audio file; the message names the file.
class EAudioFileError : public Exception {
public:
    using Exception::Exception;
};

// The tags written into the file. MP3 keeps them as Latin-1 (ID3), so "–"
// is "-" there and other characters beyond Latin-1 are "?".
struct AudioTags {
    QString title;
    QString artist;
    QString album;
    // The file's number among the files of its export, from 1, and their
    // count; 0: no track number.
    int trackNumber = 0;
    int trackCount = 0;
};

struct AudioSink;
class Mp3Encoder;

// Writes 16-bit stereo audio to a file through libsndfile (MP3 through LAME),
// streamed as it comes. The audio goes to a temporary file beside the final one, which only
// commit() puts in place (replacing an earlier file of that name), once every
// frame was taken, the encoder has finished and the data is on the disk; a
// writer destroyed without commit, after a failure or a cancel, removes what
// it wrote and leaves any earlier file as it was. Failures name the file and
// the system's reason ("No space left on device").
class AudioFileWriter {
public:
    // Raises EAudioFileError when the file cannot be created (no such
    // folder, no permission, format not available).
    AudioFileWriter(const QString& path, AudioFormat format, int sampleRate, const AudioTags& tags = {});
    ~AudioFileWriter();

    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // Appends interleaved stereo frames (left, right, ...); raises
    // EAudioFileError when they cannot be written (a full disk).
    void write(std::span<const qint16> stereo);
    // Finishes the file and gives it its final name; raises EAudioFileError
    // when that fails (and then nothing is left behind). An encoder may hold
    // back audio until here, so a full disk may show only now.
    void commit();

    const QString& path() const { return m_path; }

private:
    void setTags(const AudioTags& tags);
    void startMp3(int sampleRate, const AudioTags& tags);
    // Why an MP3 step failed: the system's reason where a write failed, else the encoder's.
    QString mp3FailureReason() const;
    // Why the last step failed: the system's reason where a write or seek
    // failed, else the text of libsndfile's error code.
    QString failureReason(int sndfileError) const;
    [[noreturn]] void fail(const QString& what, const QString& reason);
    void discard();

    QString m_path;
    QByteArray m_temporaryPath;
    std::unique_ptr<AudioSink> m_sink;
    sf_private_tag* m_file = nullptr;
    std::unique_ptr<Mp3Encoder> m_mp3;
    std::vector<int> m_samples;
};

} // namespace harmonet
