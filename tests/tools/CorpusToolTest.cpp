// The fuzz seed corpus: made by harmonet-make-corpus, and every seed dumps.
#include "tests/support/TestPaths.h"
#include "tests/tools/ToolRunner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <gtest/gtest.h>

using namespace harmonet::test;

namespace {

QDir committedCorpus()
{
    return QDir(sourceDir() + QStringLiteral("/fuzz/corpus"));
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(FuzzCorpus, IsWhatTheCorpusMakerWrites)
{
    SongDir dir;
    const ToolResult result = runMakeCorpus({dir.path("corpus")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QDir made(dir.path("corpus"));
    const QStringList names = made.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(committedCorpus().entryList(QDir::Files, QDir::Name), names);
    for (const QString& name : names) {
        EXPECT_EQ(contents(made.filePath(name)), contents(committedCorpus().filePath(name)))
            << name.toStdString() << " differs: run harmonet-make-corpus fuzz/corpus";
        EXPECT_TRUE(name.startsWith("valid-") || name.startsWith("invalid-")) << name.toStdString();
    }
}

TEST(FuzzCorpus, EverySeedDumpsAsJsonThatAgreesWithItsCount)
{
    const QStringList names = committedCorpus().entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = committedCorpus().filePath(name);
        const ToolResult dump = runDump({path});
        ASSERT_FALSE(dump.crashed);
        // 3: a damaged seed that is no MIDI file at all, turned away before reading.
        EXPECT_TRUE(dump.exitCode == 0 || (dump.exitCode == 3 && name.startsWith("invalid-"))) << dump.err.toStdString();
        const QJsonArray tracks = parseDump(dump.out)["tracks"].toArray();
        qsizetype events = 0;
        for (const auto& track : tracks)
            events += track.toObject()["events"].toArray().size();
        const ToolResult count = runDump({"--count", path});
        EXPECT_EQ(count.out, QStringLiteral("tracks=%1 events=%2\n").arg(tracks.size()).arg(events).toLatin1());
        // A damaged seed's name says so; a valid one loads without error.
        if (name.startsWith("valid-")) {
            EXPECT_TRUE(parseDump(dump.out)["error"].isNull());
        }
    }
}

} // namespace
