// harmonet-dump --voices: the voices a singer can follow, as one JSON object.
#include "sequencer/SmfWriter.h"
#include "tests/tools/ToolRunner.h"

#include <gtest/gtest.h>

using namespace harmonet;
using namespace harmonet::test;

namespace {

// A tempo track, a closed-score staff (two voices in thirds on one channel,
// meeting in a unison) and its words.
QByteArray closedScore()
{
    SmfWriter w;
    w.header(1, 3, 480);
    w.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    w.beginTrack().meta(0, SmfWriter::TrackName, "upper:");
    w.noteOn(0, 0, 64, 90).noteOn(0, 0, 60, 90).noteOff(480, 0, 64).noteOff(0, 0, 60);
    w.noteOn(0, 0, 62, 90).noteOn(0, 0, 59, 90).noteOff(480, 0, 62).noteOff(0, 0, 59);
    w.noteOn(0, 0, 60, 90).noteOff(480, 0, 60).endOfTrack().endTrack();
    w.beginTrack().meta(0, SmfWriter::TrackName, "Words");
    w.meta(0, SmfWriter::Lyric, "Glo").meta(480, SmfWriter::Lyric, "ri").meta(480, SmfWriter::Lyric, "a");
    return w.endOfTrack().endTrack().bytes();
}

TEST(DumpVoices, EveryVoiceWithItsTrackChannelNotesAndWords)
{
    SongDir dir;
    const ToolResult result = runDump({"--voices", dir.save("voices.mid", closedScore())});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              R"({"voices":[)"
              R"({"name":"Upper 1","fileName":"upper:","track":1,"channel":1,"split":true,"words":2,)"
              R"("notes":[[0,64,480],[480,62,480],[960,60,480]]},)"
              R"({"name":"Upper 2","fileName":"upper:","track":1,"channel":1,"split":true,"words":2,)"
              R"("notes":[[0,60,480],[480,59,480],[960,60,480]]}]})"
              "\n");
    EXPECT_FALSE(parseDump(result.out).isEmpty());
}

} // namespace
