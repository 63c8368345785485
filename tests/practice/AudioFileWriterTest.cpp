// The audio file writer: a file appears under its name only once complete;
// a full disk is reported with the file's name and leaves nothing behind,
// not even in place of an earlier file of that name.
#include "render/AudioFileWriter.h"
#include "tests/support/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

namespace harmonet::test {
namespace {

QStringList entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

void writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(AudioFileWriter, TheFileAppearsOnlyWhenCompleteAndReplacesAnEarlierOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("song - Alto.flac"));
    writeText(path, "an earlier export");
    const std::vector<qint16> second(2 * 44100, 1000);
    {
        AudioFileWriter writer(path, AudioFormat::Flac, 44100, {QStringLiteral("song - Alto"), QStringLiteral("me"), QString(), 1, 1});
        writer.write(second);
        EXPECT_EQ(readText(path), "an earlier export") << "still the earlier file while writing";
        writer.commit();
    }
    EXPECT_EQ(entries(dir), QStringList({"song - Alto.flac"}));
    EXPECT_TRUE(readText(path).startsWith("fLaC"));
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadOther) << "not private like a temporary file";

    {
        AudioFileWriter abandoned(path, AudioFormat::Wav, 44100);
        abandoned.write(second);
    }
    EXPECT_EQ(entries(dir), QStringList({"song - Alto.flac"})) << "a writer never committed leaves nothing";
    EXPECT_TRUE(readText(path).startsWith("fLaC"));
}

TEST(AudioFileWriter, AFullDiskIsReportedWithTheFilesNameAndLeavesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("song - Full mix.wav"));
    writeText(path, "an earlier export");
    const std::vector<qint16> second(2 * 44100, 1000);
    QString message;
    {
        const FullDisk fullAfter(100000);
        try {
            AudioFileWriter writer(path, AudioFormat::Wav, 44100);
            for (int i = 0; i < 10; ++i) {
                writer.write(second);
            }
            writer.commit();
        } catch (const EAudioFileError& error) {
            message = error.message();
        }
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot write \"%1\": ").arg(QDir::toNativeSeparators(path))))
        << qPrintable(message);
    EXPECT_EQ(entries(dir), QStringList({"song - Full mix.wav"}));
    EXPECT_EQ(readText(path), "an earlier export");
}

// Seconds of a 440 Hz tone (silence would shrink to nothing in the lossy formats).
std::vector<qint16> tone(int seconds)
{
    std::vector<qint16> stereo(std::size_t(2 * 44100 * seconds));
    for (std::size_t i = 0; i < stereo.size(); ++i) {
        stereo[i] = qint16(8000 * std::sin(2 * M_PI * 440 * double(i / 2) / 44100));
    }
    return stereo;
}

// Writes the tone a second at a time and commits; the failure's message, or
// an empty string when the file was written.
QString writeTone(const QString& path, AudioFormat format, int seconds)
{
    const std::vector<qint16> audio = tone(seconds);
    try {
        AudioFileWriter writer(path, format, 44100);
        for (std::size_t at = 0; at < audio.size(); at += 2 * 44100) {
            writer.write(std::span(audio).subspan(at, 2 * 44100));
        }
        writer.commit();
    } catch (const EAudioFileError& error) {
        return error.message();
    }
    return {};
}

TEST(AudioFileWriter, AFullDiskFailsEveryFormatWithTheFilesNameAndReasonAndLeavesNothing)
{
    for (AudioFormat format : AllAudioFormats) {
        const QString extension = formatExtension(format);
        QTemporaryDir probe;
        ASSERT_EQ(writeTone(probe.filePath("whole." + extension), format, 3), QString());
        const qint64 size = QFileInfo(probe.filePath("whole." + extension)).size();
        // Full while the header, the audio or the last bytes are written:
        // the lossy encoders write those only as the file is closed.
        for (const qint64 room : {qint64(16), size / 2, size - 1}) {
            SCOPED_TRACE(QStringLiteral("%1 with room for %2 of %3 bytes").arg(extension).arg(room).arg(size).toStdString());
            QTemporaryDir dir;
            const QString path = dir.filePath("Song - Alto." + extension);
            QString message;
            {
                const FullDisk full{rlim_t(room)};
                message = writeTone(path, format, 3);
            }
            EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot "))) << qPrintable(message);
            EXPECT_TRUE(message.endsWith(QStringLiteral(" \"%1\": %2").arg(QDir::toNativeSeparators(path),
                                                                          QString::fromLocal8Bit(std::strerror(EFBIG)))))
                << qPrintable(message);
            EXPECT_EQ(entries(dir), QStringList()) << "neither the temporary file nor the final one";
        }
    }
}

TEST(AudioFileWriter, FormatsByNameAndExtension)
{
    const std::pair<const char*, std::optional<AudioFormat>> rows[] = {
        {"wav", AudioFormat::Wav},      {"FLAC", AudioFormat::Flac},   {"out.ogg", AudioFormat::Ogg},
        {"/a.b/c.Mp3", AudioFormat::Mp3}, {"aiff", std::nullopt},      {"/a.wav/out", std::nullopt},
    };
    for (const auto& [name, format] : rows) {
        EXPECT_EQ(formatFromName(QString::fromLatin1(name)), format) << name;
    }
}

} // namespace
} // namespace harmonet::test
