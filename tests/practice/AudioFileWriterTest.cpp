// The audio file writer: a file appears under its name only once complete;
// a full disk is reported with the file's name and leaves nothing behind,
// not even in place of an earlier file of that name.
#include "render/AudioFileWriter.h"
#include "tests/support/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        AudioFileWriter writer(path, AudioFormat::Flac, 44100, {QStringLiteral("song - Alto"), QStringLiteral("me")});
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
