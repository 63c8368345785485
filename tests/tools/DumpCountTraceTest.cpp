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

} // namespace
