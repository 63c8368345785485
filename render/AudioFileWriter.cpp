#include "render/AudioFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <sndfile.h>
#include <unistd.h>

namespace harmonet {

namespace {

// Each format's libsndfile format, extension and caption.
struct FormatFacts {
    AudioFormat format;
    int sndfileFormat;
    const char* extension;
    const char* caption;
};

constexpr FormatFacts Formats[] = {
    {AudioFormat::Wav, SF_FORMAT_WAV | SF_FORMAT_PCM_16, "wav", "WAV 16-bit"},
    {AudioFormat::Flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "flac", "FLAC"},
    {AudioFormat::Ogg, SF_FORMAT_OGG | SF_FORMAT_VORBIS, "ogg", "Ogg Vorbis"},
    {AudioFormat::Mp3, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, "mp3", "MP3"},
};

const FormatFacts& factsOf(AudioFormat format)
{
    for (const FormatFacts& facts : Formats) {
        if (facts.format == format) {
            return facts;
        }
    }
    return Formats[0];
}

SF_INFO stereoInfo(AudioFormat format, int sampleRate)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = factsOf(format).sndfileFormat;
    return info;
}

QString shownName(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

QString formatExtension(AudioFormat format)
{
    return QString::fromLatin1(factsOf(format).extension);
}

std::optional<AudioFormat> formatFromName(const QString& name)
{
    const QString extension = name.contains(QLatin1Char('.')) ? QFileInfo(name).suffix() : name;
    for (AudioFormat format : AllAudioFormats) {
        if (extension.compare(formatExtension(format), Qt::CaseInsensitive) == 0) {
            return format;
        }
    }
    return std::nullopt;
}

QString formatCaption(AudioFormat format)
{
    return QString::fromLatin1(factsOf(format).caption);
}

bool formatAvailable(AudioFormat format)
{
    SF_INFO info = stereoInfo(format, 44100);
    return sf_format_check(&info) != 0;
}

AudioFileWriter::AudioFileWriter(const QString& path, AudioFormat format, int sampleRate, const AudioTags& tags)
    : m_path(path)
{
    if (!formatAvailable(format)) {
        fail(QStringLiteral("Cannot create"), QStringLiteral("%1 files cannot be written on this system")
                                                  .arg(formatCaption(format)));
    }
    const QFileInfo target(path);
    if (target.isDir()) {
        fail(QStringLiteral("Cannot create"), QStringLiteral("a folder of that name exists"));
    }
    // A hidden name beside the final one, so that the rename stays on one disk.
    m_temporary = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.")
                                                   + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!m_temporary->open()) {
        const QString reason = QFileInfo(target.absolutePath()).isDir() ? m_temporary->errorString()
                                                                        : QStringLiteral("the folder does not exist");
        fail(QStringLiteral("Cannot create"), reason);
    }
    SF_INFO info = stereoInfo(format, sampleRate);
    m_file = sf_open_fd(m_temporary->handle(), SFM_WRITE, &info, SF_FALSE);
    if (!m_file) {
        fail(QStringLiteral("Cannot create"), QString::fromUtf8(sf_strerror(nullptr)));
    }
    if (format == AudioFormat::Mp3) {
        // Variable bit rate at a middle quality: clear voices at about half
        // the size and encoding time of the library's constant 320 kbit/s.
        int mode = SF_BITRATE_MODE_VARIABLE;
        double compression = 0.7;
        sf_command(m_file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
        sf_command(m_file, SFC_SET_COMPRESSION_LEVEL, &compression, sizeof compression);
    }
    // Tags must be set before the first audio is written.
    if (!tags.title.isEmpty()) {
        sf_set_string(m_file, SF_STR_TITLE, tags.title.toUtf8().constData());
    }
    if (!tags.artist.isEmpty()) {
        sf_set_string(m_file, SF_STR_ARTIST, tags.artist.toUtf8().constData());
    }
    sf_set_string(m_file, SF_STR_SOFTWARE, "Harmonet");
}

AudioFileWriter::~AudioFileWriter()
{
    closeSoundFile();
    // The temporary file (if still there) is removed with its holder.
}

void AudioFileWriter::write(std::span<const qint16> stereo)
{
    if (!m_file) {
        fail(QStringLiteral("Cannot write"), QStringLiteral("the file is already finished"));
    }
    // Handed over as 32-bit samples: libsndfile 1.2.0 encodes 16-bit ones
    // wrongly to MP3 (the file decodes as noise); from 32 bits every format
    // takes the same values exactly.
    m_samples.resize(stereo.size());
    std::transform(stereo.begin(), stereo.end(), m_samples.begin(), [](qint16 sample) { return int(sample) * 65536; });
    const sf_count_t frames = static_cast<sf_count_t>(stereo.size() / 2);
    if (sf_writef_int(m_file, m_samples.data(), frames) != frames) {
        fail(QStringLiteral("Cannot write"), QString::fromUtf8(sf_strerror(m_file)));
    }
}

void AudioFileWriter::commit()
{
    if (!m_file) {
        fail(QStringLiteral("Cannot finish"), QStringLiteral("the file is already finished"));
    }
    const int closed = sf_close(std::exchange(m_file, nullptr));
    if (closed != 0) {
        fail(QStringLiteral("Cannot finish"), QString::fromUtf8(sf_error_number(closed)));
    }
    if (!m_temporary->flush() || ::fsync(m_temporary->handle()) != 0) {
        fail(QStringLiteral("Cannot finish"), QString::fromLocal8Bit(std::strerror(errno)));
    }
    // A temporary file is private to its owner; the finished file is not.
    m_temporary->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                | QFileDevice::ReadOther);
    const QString temporaryName = m_temporary->fileName();
    m_temporary->close();
    // rename() replaces an earlier file of the final name in one step.
    if (std::rename(QFile::encodeName(temporaryName).constData(), QFile::encodeName(m_path).constData()) != 0) {
        fail(QStringLiteral("Cannot finish"), QString::fromLocal8Bit(std::strerror(errno)));
    }
    m_temporary->setAutoRemove(false);
    m_temporary.reset();
}

void AudioFileWriter::closeSoundFile()
{
    if (m_file) {
        sf_close(std::exchange(m_file, nullptr));
    }
}

void AudioFileWriter::fail(const QString& what, const QString& reason)
{
    closeSoundFile();
    m_temporary.reset();
    throw EAudioFileError(QStringLiteral("%1 \"%2\": %3").arg(what, shownName(m_path), reason));
}

} // namespace harmonet
