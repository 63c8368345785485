// harmonet-dump FILE: the JSON model of a loaded song, its texts, failed loads
// and bad usage.
#include "sequencer/SmfWriter.h"
#include "tests/support/BadSongFiles.h"
#include "tests/tools/ToolRunner.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace harmonet;
using namespace harmonet::test;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int value : values)
        out.append(char(value));
    return out;
}

// A tempo track and an alto track on channel 3 with a running-status note-off.
QByteArray altoSong()
{
    SmfWriter w;
    w.header(1, 2, 480);
    w.beginTrack().meta(0, SmfWriter::TrackName, "Tempo").tempo(0, 500000).endOfTrack().endTrack();
    w.beginTrack().meta(0, SmfWriter::TrackName, "Alto");
    w.programChange(0, 2, 52).controlChange(0, 2, 7, 90).controlChange(0, 2, 10, 30);
    w.noteOn(0, 2, 60, 100).running(480, 60, 0);
    w.noteOn(0, 2, 62, 100).noteOff(240, 2, 62);
    return w.endOfTrack().endTrack().bytes();
}

QJsonArray event(int status, int value1, int value2, int delta, int ticks, int noteTicks, const QString& text = {})
{
    return QJsonArray{status, value1, value2, delta, ticks, noteTicks, text};
}

TEST(DumpJson, ModelOfALoadedSong)
{
    SongDir dir;
    const ToolResult result = runDump({dir.save("alto.mid", altoSong())});
    ASSERT_FALSE(result.crashed);
    EXPECT_EQ(result.exitCode, 0);
    const QJsonObject song = parseDump(result.out);

    EXPECT_EQ(song["format"].toString(), "multi_synch");
    EXPECT_EQ(song["ticksPerQuarter"].toInt(), 480);
    EXPECT_EQ(song["bpm"].toInt(), 120);
    EXPECT_EQ(song["microsecondsPerTick"].toDouble(), 500000.0 / 480.0);
    EXPECT_EQ(song["songLengthMs"].toInt(), 750);
    EXPECT_TRUE(song["error"].isNull());

    const QJsonArray tracks = song["tracks"].toArray();
    ASSERT_EQ(tracks.size(), 2);
    EXPECT_EQ(tracks[0].toObject()["name"].toString(), "Tempo");
    EXPECT_EQ(tracks[0].toObject()["channel"].toInt(), 0);

    const QJsonObject alto = tracks[1].toObject();
    EXPECT_EQ(alto["trackNumber"].toInt(), 1);
    EXPECT_EQ(alto["name"].toString(), "Alto");
    EXPECT_EQ(alto["instrument"].toString(), "Choir Aahs");
    EXPECT_EQ(alto["program"].toInt(), 52);
    EXPECT_EQ(alto["volume"].toInt(), 90);
    EXPECT_EQ(alto["pan"].toInt(), 30);
    EXPECT_EQ(alto["channel"].toInt(), 3);
    const QJsonArray expected{
        event(0xFF, 3, 0, 0, 0, 0, "Alto"), event(0xC2, 52, 0, 0, 0, 0),
        event(0xB2, 7, 90, 0, 0, 0),        event(0xB2, 10, 30, 0, 0, 0),
        event(0x92, 60, 100, 0, 0, 480),    event(0x92, 60, 0, 480, 480, -1),
        event(0x92, 62, 100, 0, 480, 240),  event(0x82, 62, 64, 240, 720, -1),
        event(0xFF, 0x2F, 0, 0, 720, 0),
    };
    EXPECT_EQ(alto["events"].toArray(), expected);
}

TEST(DumpJson, TextsKeepEveryByteAsALatin1Character)
{
    QByteArray everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte.append(char(b));
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.meta(0, SmfWriter::TrackName, bytes({'C', 'h', 0x9C, 'u', 'r', ' ', 0xE9, '"', '\\'}));
    w.meta(0, SmfWriter::Text, everyByte);
    w.meta(0, SmfWriter::Lyric, bytes({'H', 'a', 'l', 0x00, 'l', 'o'}));
    SongDir dir;
    const ToolResult result = runDump({dir.save("texts.mid", w.endOfTrack().endTrack().bytes())});
    const QJsonObject track = parseDump(result.out)["tracks"].toArray()[0].toObject();

    EXPECT_EQ(track["name"].toString(), QString::fromLatin1(bytes({'C', 'h', 0x9C, 'u', 'r', ' ', 0xE9, '"', '\\'})));
    const QJsonArray events = track["events"].toArray();
    ASSERT_EQ(events.size(), 4);
    EXPECT_EQ(events[1].toArray()[6].toString(), QString::fromLatin1(everyByte));
    EXPECT_EQ(events[2].toArray()[6].toString(), "Hal");
    // Control characters are escaped, never written raw.
    for (const char c : result.out)
        EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 && c != '\n') << int(c);
}

TEST(DumpJson, FailedLoadPrintsItsMessageAndTheTracksReadSoFar)
{
    SongDir dir;
    // Stray bytes after the last chunk: every track is read, then the load fails.
    const ToolResult stray = runDump({dir.save("stray.mid", altoSong() + bytes({0x00, 0xFF, 0x2F}))});
    EXPECT_EQ(stray.exitCode, 0);
    const QJsonObject song = parseDump(stray.out);
    EXPECT_EQ(song["error"].toString(), "Read beyond end of file");
    ASSERT_EQ(song["tracks"].toArray().size(), 2);
    EXPECT_EQ(song["tracks"].toArray()[1].toObject()["events"].toArray().size(), 9);

    // A file cut inside its second track keeps the first one.
    const ToolResult cut = runDump({dir.save("cut.mid", altoSong().chopped(10))});
    EXPECT_EQ(cut.exitCode, 0);
    const QJsonObject partial = parseDump(cut.out);
    EXPECT_EQ(partial["error"].toString(), "Read beyond end of file");
    ASSERT_EQ(partial["tracks"].toArray().size(), 1);
    EXPECT_EQ(partial["tracks"].toArray()[0].toObject()["name"].toString(), "Tempo");
}

TEST(DumpJson, AnInputThatIsNoMidiFileIsNamedAsThePlayerNamesItAndFailsTheRun)
{
    QTemporaryDir dir;
    for (const BadSongFile& bad : makeBadSongFiles(dir.path(), altoSong())) {
        SCOPED_TRACE(bad.what);
        const ToolResult json = runDump({bad.path});
        EXPECT_EQ(json.exitCode, 3);
        EXPECT_EQ(json.err, "harmonet-dump: " + bad.summary.toUtf8() + "\n");
        const QJsonObject song = parseDump(json.out);
        EXPECT_EQ(song["error"].toString(), bad.summary);
        EXPECT_TRUE(song["tracks"].toArray().isEmpty());
        const ToolResult count = runDump({"--count", bad.path});
        EXPECT_EQ(count.exitCode, 3);
        EXPECT_EQ(count.err, json.err);
        EXPECT_EQ(count.out, "tracks=0 events=0\n");
    }
    SongDir songs;
    const ToolResult rmi = runDump({"--count", songs.save("alto.rmi", riffMidi(altoSong()))});
    EXPECT_EQ(rmi.exitCode, 0) << rmi.err.toStdString();
    EXPECT_EQ(rmi.out, "tracks=2 events=12\n");
}

TEST(DumpJson, BadUsageExitsWithTwoAndAUsageLine)
{
    SongDir dir;
    const QString file = dir.save("alto.mid", altoSong());
    const QList<QStringList> badCalls{
        {},
        {file, file},
        {"--count"},
        {"--bogus", file},
        {"--trace", file},
        {"--trace", "0", file},
        {"--trace", "-10", file},
        {"--trace", "ten", file},
    };
    for (const QStringList& args : badCalls) {
        const ToolResult result = runDump(args);
        EXPECT_FALSE(result.crashed);
        EXPECT_EQ(result.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.startsWith("usage: harmonet-dump")) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << args.join(' ').toStdString();
    }
}

TEST(DumpJson, AnOutputThatCannotBeWrittenFailsTheRun)
{
    SongDir dir;
    const QString file = dir.save("alto.mid", altoSong());
    for (const QStringList& args : QList<QStringList>{{file}, {"--count", file}, {"--trace", "10", file}}) {
        const ToolResult result = runDump(args, "/dev/full");
        EXPECT_FALSE(result.crashed);
        EXPECT_EQ(result.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("cannot write the output")) << result.err.toStdString();
    }
}

} // namespace
