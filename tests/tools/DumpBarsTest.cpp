// harmonet-dump --bars: the bars of a song as one JSON object, with the upbeat
// the file shows or the one given.
#include "sequencer/SmfWriter.h"
#include "tests/tools/ToolRunner.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace harmonet;
using namespace harmonet::test;

namespace {

// 480 ticks a quarter. Track 0: 120 bpm, then 4/4 with a change to 3/4 at
// 2400 (1.25 bars: a one-beat upbeat) where the tempo doubles; the file's one
// tempo is the last. Track 1: a note to 5280, the end of the second 3/4 bar.
QByteArray upbeatSong()
{
    SmfWriter w;
    w.header(1, 2, 480);
    w.beginTrack().tempo(0, 500000).timeSignature(0, 4, 2).timeSignature(2400, 3, 2).tempo(0, 250000);
    w.endOfTrack().endTrack();
    w.beginTrack().noteOn(0, 0, 60, 90).noteOff(5280, 0, 60).endOfTrack().endTrack();
    return w.bytes();
}

// One time signature of 3 beats and a note to endTicks, with the given
// division, at 120 bpm.
QByteArray threeFourSong(quint16 division, quint8 denominatorPower = 2, quint64 endTicks = 3840)
{
    SmfWriter w;
    w.header(0, 1, division);
    w.beginTrack().timeSignature(0, 3, denominatorPower).noteOn(0, 0, 60, 90).noteOff(endTicks, 0, 60);
    return w.endOfTrack().endTrack().bytes();
}

TEST(DumpBars, EveryBarWithItsTickTimeAndMetre)
{
    struct BarsCase {
        const char* what;
        QByteArray song;
        QStringList options;
        QByteArray json;
    };
    const QList<BarsCase> cases = {
        {"an upbeat the file shows, at the file's one tempo", upbeatSong(), {},
         R"({"pickup":{"beats":1,"from":"file"},"firstBar":0,"lastBar":3,"bars":[)"
         R"({"bar":0,"tick":0,"ms":0,"metre":"4/4","beats":1},{"bar":1,"tick":480,"ms":250,"metre":"4/4","beats":4},)"
         R"({"bar":2,"tick":2400,"ms":1250,"metre":"3/4","beats":3},{"bar":3,"tick":3840,"ms":2000,"metre":"3/4","beats":3})"
         R"(],"barsLeftOut":0})"
         "\n"},
        {"an upbeat given when the file shows none", threeFourSong(480), {"--pickup", "2"},
         R"({"pickup":{"beats":2,"from":"hand"},"firstBar":0,"lastBar":2,"bars":[)"
         R"({"bar":0,"tick":0,"ms":0,"metre":"3/4","beats":2},{"bar":1,"tick":960,"ms":1000,"metre":"3/4","beats":3},)"
         R"({"bar":2,"tick":2400,"ms":2500,"metre":"3/4","beats":3}],"barsLeftOut":0})"
         "\n"},
    };
    SongDir dir;
    for (const BarsCase& c : cases) {
        const ToolResult result = runDump(QStringList{"--bars"} + c.options + QStringList{dir.save("bars.mid", c.song)});
        EXPECT_EQ(result.exitCode, 0) << c.what;
        EXPECT_EQ(result.out, c.json) << c.what;
        EXPECT_FALSE(parseDump(result.out).isEmpty()) << c.what;
    }
}

TEST(DumpBars, MillionsOfBarsAreCountedNotAllListed)
{
    // 3/4 at one tick a quarter: a bar every three ticks up to tick 0x0FFFFFFF,
    // the end of bar 89478485.
    SongDir dir;
    const ToolResult result = runDump({"--bars", dir.save("tiny.mid", threeFourSong(1, 2, 0x0FFFFFFF))});
    ASSERT_EQ(result.exitCode, 0);
    const QJsonObject bars = parseDump(result.out);
    EXPECT_EQ(bars.value("lastBar").toDouble(), 89478485.0);
    EXPECT_EQ(bars.value("bars").toArray().size(), 100000);
    EXPECT_EQ(bars.value("barsLeftOut").toDouble(), bars.value("lastBar").toDouble() - 100000);
}

} // namespace
