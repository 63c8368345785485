#include "render/AudioFileWriter.h"

#include "render/Mp3Encoder.h"

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
    // MP3 is encoded by LAME directly (see Mp3Encoder).
    {AudioFormat::Mp3, 0, "mp3", "MP3"},
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
    if (format == AudioFormat::Mp3) {
        return true;
    }
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
    // Bytes appended since the disk was last asked to take them.
    qint64 unsent = 0;

    void failed(int reason)
    {
        if (error == 0) {
            error = reason != 0 ? reason : EIO;
        }
    }

    // Long exports write gigabytes: the disk takes them as they come, so
    // that the sync before the file is complete has little left to wait for
    // (the system would hold them until its own limit for unwritten data).
    void appended(qint64 bytes)
    {
        constexpr qint64 WritebackBytes = qint64(8) << 20;
        unsent += bytes;
        if (unsent < WritebackBytes) {
            return;
        }
        unsent = 0;
#ifdef __linux__
        // Only a hint: a failure to start the writing early shows at the sync.
        ::sync_file_range(descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
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
    sink.appended(done);
    // Once a write failed, what follows is thrown away as if written: told
    // of a short write, libsndfile's Ogg encoder frees nothing at its close.
    return sink.error == 0 ? done : count;
}

sf_count_t sinkTell(void* data)
{
    return sf_count_t(::lseek(sinkOf(data).descriptor, 0, SEEK_CUR));
}

SF_VIRTUAL_IO SinkCalls = {sinkLength, sinkSeek, sinkRead, sinkWrite, sinkTell};

// Bytes written at an offset, the position left as it was.
bool sinkPlace(AudioSink& sink, qint64 offset, std::span<const unsigned char> bytes)
{
    std::size_t done = 0;
    while (sink.error == 0 && done < bytes.size()) {
        const ssize_t n = ::pwrite(sink.descriptor, bytes.data() + done, bytes.size() - done, off_t(offset) + off_t(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            sink.failed(n < 0 ? errno : ENOSPC);
            break;
        }
        done += std::size_t(n);
    }
    return sink.error == 0;
}

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
    if (format == AudioFormat::Mp3) {
        startMp3(sampleRate, tags);
        return;
    }
    SF_INFO info = stereoInfo(format, sampleRate);
    m_file = sf_open_virtual(&SinkCalls, SFM_WRITE, &info, m_sink.get());
    if (!m_file || m_sink->error != 0) {
        fail(QCoreApplication::translate("Export", "Cannot create"), failureReason(sf_error(m_file)));
    }
    setTags(tags);
}

void AudioFileWriter::startMp3(int sampleRate, const AudioTags& tags)
{
    // ID3 holds Latin-1.
    const auto text = [](const QString& tag) {
        return tag.left(LongestTag).replace(QChar(0x2013), QLatin1Char('-')).toLatin1();
    };
    Mp3Tags mp3Tags{text(tags.title), text(tags.artist), text(tags.album), {}};
    if (tags.trackNumber > 0) {
        mp3Tags.track = QByteArray::number(tags.trackNumber);
        if (tags.trackCount > 0) {
            mp3Tags.track += '/' + QByteArray::number(tags.trackCount);
        }
    }
    AudioSink& sink = *m_sink;
    m_mp3 = std::make_unique<Mp3Encoder>(
        sampleRate, mp3Tags,
        Mp3Encoder::Output{[&sink](std::span<const unsigned char> bytes) {
                               return sinkWrite(bytes.data(), sf_count_t(bytes.size()), &sink) == sf_count_t(bytes.size());
                           },
                           [&sink](qint64 offset, std::span<const unsigned char> bytes) {
                               return sinkPlace(sink, offset, bytes);
                           }});
    if (!m_mp3->start()) {
        fail(QCoreApplication::translate("Export", "Cannot create"), mp3FailureReason());
    }
}

QString AudioFileWriter::mp3FailureReason() const
{
    return m_sink->error != 0 ? systemReason(m_sink->error) : m_mp3->failure();
}

AudioFileWriter::~AudioFileWriter()
{
    discard();
}

void AudioFileWriter::setTags(const AudioTags& tags)
{
    const auto text = [](const QString& tag) { return tag.left(LongestTag).toUtf8(); };
    QList<std::pair<int, QByteArray>> strings{{SF_STR_SOFTWARE, "Harmonet"}};
    for (const auto& [kind, tag] : {std::pair{SF_STR_TITLE, tags.title}, std::pair{SF_STR_ARTIST, tags.artist},
                                    std::pair{SF_STR_ALBUM, tags.album}}) {
        if (!tag.isEmpty()) {
            strings.append({kind, text(tag)});
        }
    }
    if (tags.trackNumber > 0) {
        strings.append({SF_STR_TRACKNUMBER, QByteArray::number(tags.trackNumber)});
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
    if (m_mp3) {
        if (!m_mp3->encode(stereo) || m_sink->error != 0) {
            fail(QCoreApplication::translate("Export", "Cannot write"), mp3FailureReason());
        }
        return;
    }
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
    if (!m_file && !m_mp3) {
        fail(QCoreApplication::translate("Export", "Cannot finish"), QCoreApplication::translate("Export", "the file is already finished"));
    }
    // Finishing writes what the encoder held back, and the header.
    if (m_mp3) {
        if (!m_mp3->finish() || m_sink->error != 0) {
            fail(QCoreApplication::translate("Export", "Cannot finish"), mp3FailureReason());
        }
        m_mp3.reset();
    } else {
        const int closed = sf_close(std::exchange(m_file, nullptr));
        if (closed != 0 || m_sink->error != 0) {
            fail(QCoreApplication::translate("Export", "Cannot finish"), failureReason(closed));
        }
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
    m_mp3.reset();
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
