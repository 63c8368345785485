// harmonet-dump --count and --trace.
#include "sequencer/SmfWriter.h"
#include "tests/tools/ToolRunner.h"

#include <gtest/gtest.h>

using namespace harmonet;
using namespace harmonet::test;

namespace {

// At 120 bpm and 480 ticks per quarter a tick lasts 1041.67 microseconds.
void tempoTrack(SmfWriter& w)
{
    w.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
}

TEST(DumpCount, CountsTracksAndEvents)
{
    SmfWriter w;
    w.header(1, 2, 480);
    tempoTrack(w);
    w.beginTrack().noteOn(0, 0, 60, 90).noteOff(480, 0, 60).endOfTrack().endTrack();
    SongDir dir;
    const ToolResult result = runDump({"--count", dir.save("two.mid", w.bytes())});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "tracks=2 events=5\n");

    // A failed load counts what was read and names the failure on stderr.
    const ToolResult stray = runDump({"--count", dir.save("stray.mid", w.bytes() + "xyz")});
    EXPECT_EQ(stray.exitCode, 0);
    EXPECT_EQ(stray.out, "tracks=2 events=5\n");
    EXPECT_TRUE(stray.err.contains("Read beyond end of file"));
}

TEST(DumpTrace, DeliversAnEventOnceItsRoundedPositionIsPassed)
{
    SmfWriter w;
    w.header(1, 2, 480);
    tempoTrack(w);
    w.beginTrack().noteOn(0, 0, 60, 90).noteOff(480, 0, 60).endOfTrack().endTrack();
    SongDir dir;
    const ToolResult result = runDump({"--trace", "1", dir.save("one.mid", w.bytes())});
    EXPECT_EQ(result.exitCode, 0);
    // Tick 0 needs a position above 0.5 (1 ms); tick 480 one above 480.5 (501 ms).
    EXPECT_EQ(result.out, "1 0 0\n"
                          "1 0 1\n"
                          "1 1 0\n"
                          "501 1 1\n"
                          "501 1 2\n");
}

TEST(DumpTrace, OneAdvanceDeliversTrackByTrack)
{
    SmfWriter w;
    w.header(1, 3, 480);
    tempoTrack(w);
    w.beginTrack().noteOn(100, 0, 60, 90).noteOff(10, 0, 60).endTrack();
    w.beginTrack().noteOn(105, 1, 64, 90).endTrack();
    SongDir dir;
    const ToolResult result = runDump({"--trace", "200", dir.save("order.mid", w.bytes())});
    // Song length 115 ms: advances to 200, 400 and 600 ms, everything in the first.
    EXPECT_EQ(result.out, "200 0 0\n"
                          "200 0 1\n"
                          "200 1 0\n"
                          "200 1 1\n"
                          "200 2 0\n");
}

TEST(DumpTrace, FollowsTheWholeSongToTwoStepsPastItsEnd)
{
    SmfWriter w;
    w.header(0, 1, 480).beginTrack().tempo(0, 500000);
    for (int i = 0; i < 20; ++i)
        w.noteOn(0, 0, quint8(60 + i), 90).noteOff(480, 0, quint8(60 + i));
    SongDir dir;
    const ToolResult result = runDump({"--trace", "250", dir.save("long.mid", w.bytes())});
    const QList<QByteArray> lines = result.out.trimmed().split('\n');
    // Every one of the 41 events once, in file order.
    ASSERT_EQ(lines.size(), 41);
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].endsWith(" 0 " + QByteArray::number(i))) << lines[i].toStdString();
    // The last note-off, at tick 9600 (10000 ms), comes at 10250 ms.
    EXPECT_EQ(lines.last(), "10250 0 40");
}

TEST(DumpTrace, FollowTempoTimesEventsThroughTheTempoMap)
{
    // A tempo track with 120 bpm, then 60 bpm from tick 960; a note track.
    SmfWriter w;
    w.header(1, 2, 480);
    w.beginTrack().tempo(0, 500000).tempo(960, 1000000).endOfTrack().endTrack();
    w.beginTrack().noteOn(480, 0, 60, 90).noteOff(960, 0, 60).endTrack();
    SongDir dir;
    const QString song = dir.save("ritardando.mid", w.bytes());
    // Tick 480 at 500 ms, 960 at 1000 ms, 1440 at 1000 + 480 x 2.083 = 2000
    // ms. Each is delivered once the position passes it by half a tick.
    const ToolResult followed = runDump({"--trace", "1", "--follow-tempo", song});
    EXPECT_EQ(followed.exitCode, 0);
    EXPECT_EQ(followed.out, "1 0 0\n501 1 0\n1002 0 1\n1002 0 2\n2002 1 1\n");
    // One tempo, the last: 2.083 ms a tick throughout.
    const ToolResult plain = runDump({"--trace", "1", song});
    EXPECT_EQ(plain.out, "2 0 0\n1002 1 0\n2002 0 1\n2002 0 2\n3002 1 1\n");
    EXPECT_EQ(runDump({"--follow-tempo", "--trace", "1", song}).exitCode, 2) << "the option goes before the file";
}

} // namespace
