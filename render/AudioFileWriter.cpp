#include "render/AudioFileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
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

// The temporary file as libsndfile writes it, through this writer's own
// calls, which keep the system's reason for the first write or seek that
// failed: some of libsndfile's encoders go on after a failed write, and its
// own message is then at best "Unspecified internal error". After a failure
// nothing more is written.
struct AudioSink {
    int descriptor = -1;
    int error = 0;

    void failed(int reason)
    {
        if (error == 0) {
            error = reason != 0 ? reason : EIO;
        }
    }
};

namespace {

AudioSink& sinkOf(void* data)
{
    return *static_cast<AudioSink*>(data);
}

sf_count_t sinkLength(void* data)
{
    struct stat facts {};
    return ::fstat(sinkOf(data).descriptor, &facts) == 0 ? sf_count_t(facts.st_size) : -1;
}

sf_count_t sinkSeek(sf_count_t offset, int whence, void* data)
{
    AudioSink& sink = sinkOf(data);
    const off_t at = ::lseek(sink.descriptor, off_t(offset), whence);
    if (at < 0) {
        sink.failed(errno);
    }
    return sf_count_t(at);
}

sf_count_t sinkRead(void* buffer, sf_count_t count, void* data)
{
    AudioSink& sink = sinkOf(data);
    sf_count_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(sink.descriptor, static_cast<char*>(buffer) + done, std::size_t(count - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            sink.failed(errno);
        }
        if (n <= 0) {
            break;
        }
        done += n;
    }
    return done;
}

sf_count_t sinkWrite(const void* buffer, sf_count_t count, void* data)
{
    AudioSink& sink = sinkOf(data);
    sf_count_t done = 0;
    while (sink.error == 0 && done < count) {
        const ssize_t n = ::write(sink.descriptor, static_cast<const char*>(buffer) + done, std::size_t(count - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            sink.failed(n < 0 ? errno : ENOSPC);
            break;
        }
        done += n;
    }
    return done;
}

sf_count_t sinkTell(void* data)
{
    return sf_count_t(::lseek(sinkOf(data).descriptor, 0, SEEK_CUR));
}

SF_VIRTUAL_IO SinkCalls = {sinkLength, sinkSeek, sinkRead, sinkWrite, sinkTell};

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Players show long tags cut anyway; a file's own track name may be any length.
constexpr qsizetype LongestTag = 250;

} // namespace

AudioFileWriter::AudioFileWriter(const QString& path, AudioFormat format, int sampleRate, const AudioTags& tags)
    : m_path(path), m_sink(std::make_unique<AudioSink>())
{
    if (!formatAvailable(format)) {
        fail(QCoreApplication::translate("Export", "Cannot create"), QCoreApplication::translate("Export", "%1 files cannot be written on this system")
                                                  .arg(formatCaption(format)));
    }
    const QFileInfo target(path);
    if (target.isDir()) {
        fail(QCoreApplication::translate("Export", "Cannot create"), QCoreApplication::translate("Export", "a folder of that name exists"));
    }
    // A hidden name beside the final one, so that the rename stays on one disk.
    QByteArray temporaryPath =
        QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    m_sink->descriptor = ::mkostemp(temporaryPath.data(), O_CLOEXEC);
    if (m_sink->descriptor < 0) {
        const int error = errno;
        fail(QCoreApplication::translate("Export", "Cannot create"), QFileInfo(target.absolutePath()).isDir()
                                                  ? systemReason(error)
                                                  : QCoreApplication::translate("Export", "the folder does not exist"));
    }
    m_temporaryPath = temporaryPath;
    SF_INFO info = stereoInfo(format, sampleRate);
    m_file = sf_open_virtual(&SinkCalls, SFM_WRITE, &info, m_sink.get());
    if (!m_file || m_sink->error != 0) {
        fail(QCoreApplication::translate("Export", "Cannot create"), failureReason(sf_error(m_file)));
    }
    if (format == AudioFormat::Mp3) {
        // Variable bit rate at a middle quality: clear voices at about half
        // the size and encoding time of the library's constant 320 kbit/s.
        int mode = SF_BITRATE_MODE_VARIABLE;
        double compression = 0.7;
        sf_command(m_file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
        sf_command(m_file, SFC_SET_COMPRESSION_LEVEL, &compression, sizeof compression);
    }
    setTags(format, tags);
}

AudioFileWriter::~AudioFileWriter()
{
    discard();
}

void AudioFileWriter::setTags(AudioFormat format, const AudioTags& tags)
{
    // libsndfile hands MP3 tags to the encoder as Latin-1, every other format's as UTF-8.
    const auto text = [format](const QString& tag) {
        const QString shown = tag.left(LongestTag);
        return format == AudioFormat::Mp3 ? QString(shown).replace(QChar(0x2013), QLatin1Char('-')).toLatin1()
                                          : shown.toUtf8();
    };
    QList<std::pair<int, QByteArray>> strings{{SF_STR_SOFTWARE, "Harmonet"}};
    for (const auto& [kind, tag] : {std::pair{SF_STR_TITLE, tags.title}, std::pair{SF_STR_ARTIST, tags.artist},
                                    std::pair{SF_STR_ALBUM, tags.album}}) {
        if (!tag.isEmpty()) {
            strings.append({kind, text(tag)});
        }
    }
    if (tags.trackNumber > 0) {
        // ID3's form "3/5" also makes the encoder write an ID3v2 tag, which
        // it leaves out where the short ID3v1 one holds every tag.
        strings.append({SF_STR_TRACKNUMBER, format == AudioFormat::Mp3 && tags.trackCount > 0
                                                ? QByteArray::number(tags.trackNumber) + '/'
                                                    + QByteArray::number(tags.trackCount)
                                                : QByteArray::number(tags.trackNumber)});
    }
    // Tags must be set before the first audio is written.
    for (const auto& [kind, value] : std::as_const(strings)) {
        if (sf_set_string(m_file, kind, value.constData()) != 0) {
            fail(QCoreApplication::translate("Export", "Cannot create"), QString::fromUtf8(sf_strerror(m_file)));
        }
    }
}

void AudioFileWriter::write(std::span<const qint16> stereo)
{
    if (!m_file) {
        fail(QCoreApplication::translate("Export", "Cannot write"), QCoreApplication::translate("Export", "the file is already finished"));
    }
    // Handed over as 32-bit samples: libsndfile 1.2.0 encodes 16-bit ones
    // wrongly to MP3 (the file decodes as noise); from 32 bits every format
    // takes the same values exactly.
    m_samples.resize(stereo.size());
    std::transform(stereo.begin(), stereo.end(), m_samples.begin(), [](qint16 sample) { return int(sample) * 65536; });
    const sf_count_t frames = static_cast<sf_count_t>(stereo.size() / 2);
    if (sf_writef_int(m_file, m_samples.data(), frames) != frames || m_sink->error != 0) {
        fail(QCoreApplication::translate("Export", "Cannot write"), failureReason(sf_error(m_file)));
    }
}

void AudioFileWriter::commit()
{
    if (!m_file) {
        fail(QCoreApplication::translate("Export", "Cannot finish"), QCoreApplication::translate("Export", "the file is already finished"));
    }
    // Closing writes what the encoder held back, and the header.
    const int closed = sf_close(std::exchange(m_file, nullptr));
    if (closed != 0 || m_sink->error != 0) {
        fail(QCoreApplication::translate("Export", "Cannot finish"), failureReason(closed));
    }
    // A temporary file is private to its owner; the finished file is not.
    if (::fchmod(m_sink->descriptor, 0644) != 0 || ::fsync(m_sink->descriptor) != 0) {
        fail(QCoreApplication::translate("Export", "Cannot finish"), systemReason(errno));
    }
    const int descriptor = std::exchange(m_sink->descriptor, -1);
    if (::close(descriptor) != 0) {
        fail(QCoreApplication::translate("Export", "Cannot finish"), systemReason(errno));
    }
    // rename() replaces an earlier file of the final name in one step.
    if (std::rename(m_temporaryPath.constData(), QFile::encodeName(m_path).constData()) != 0) {
        fail(QCoreApplication::translate("Export", "Cannot finish"), systemReason(errno));
    }
    m_temporaryPath.clear();
}

QString AudioFileWriter::failureReason(int sndfileError) const
{
    if (m_sink->error != 0) {
        return systemReason(m_sink->error);
    }
    // Some encoders report failures by codes libsndfile has no text for.
    return sndfileError > 0 ? QString::fromUtf8(sf_error_number(sndfileError))
                            : QCoreApplication::translate("Export", "the encoder failed");
}

void AudioFileWriter::discard()
{
    if (m_file) {
        // Whatever the encoder still writes is thrown away with the file.
        m_sink->failed(ECANCELED);
        sf_close(std::exchange(m_file, nullptr));
    }
    if (m_sink->descriptor >= 0) {
        ::close(std::exchange(m_sink->descriptor, -1));
    }
    if (!m_temporaryPath.isEmpty()) {
        ::unlink(m_temporaryPath.constData());
        m_temporaryPath.clear();
    }
}

void AudioFileWriter::fail(const QString& what, const QString& reason)
{
    discard();
    throw EAudioFileError(QStringLiteral("%1 \"%2\": %3").arg(what, shownName(m_path), reason));
}

} // namespace harmonet
