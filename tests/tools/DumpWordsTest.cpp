// harmonet-dump --words: how a song's words are understood, as one JSON object.
#include "sequencer/SmfWriter.h"
#include "tests/tools/ToolRunner.h"

#include <gtest/gtest.h>

using namespace harmonet;
using namespace harmonet::test;

namespace {

struct WordsCase {
    const char* what;
    QByteArray voiceName;
    QByteArray wordsName;
    quint8 textType;
    QList<QByteArray> texts;
    QByteArray json;
};

// A tempo track, a voice with notes at 0 and 480, then a track with the texts
// at 0, 480, 960, ... and no notes.
QByteArray song(const WordsCase& c)
{
    SmfWriter w;
    w.header(1, 3, 480);
    w.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    w.beginTrack().meta(0, SmfWriter::TrackName, c.voiceName);
    w.noteOn(0, 0, 60, 90).noteOff(240, 0, 60).noteOn(240, 0, 62, 90).noteOff(240, 0, 62).endOfTrack().endTrack();
    w.beginTrack().meta(0, SmfWriter::TrackName, c.wordsName);
    for (qsizetype k = 0; k < c.texts.size(); ++k) {
        w.meta(k == 0 ? 0 : 480, c.textType, c.texts[k]);
    }
    return w.endOfTrack().endTrack().bytes();
}

TEST(DumpWords, VoicesTheirChosenWordsAndEverySourceDecoded)
{
    const QList<WordsCase> cases = {
        {"lyric events in a track of their own", ":altusNotes", "altusLyrics:", SmfWriter::Lyric, {"Re", "veil"},
         R"({"encoding":"ASCII","voices":[{"track":1,"name":":altusNotes","words":2}],)"
         R"("words":[{"track":2,"name":"altusLyrics:","kind":"lyric","syllables":[[0,"Re"],[480,"veil"]]}]})"
         "\n"},
        {"karaoke text, marks removed, UTF-8 names", "S\xC3\xA4nger", "Words", SmfWriter::Text,
         {"@TGl\xC3\xBC" "ck", "\\Gl\xC3\xBC", "/ck \"auf\""},
         R"({"encoding":"UTF-8","voices":[{"track":1,"name":"S)" "\xC3\xA4" R"(nger","words":2}],)"
         R"("words":[{"track":2,"name":"Words","kind":"karaoke","syllables":[[480,"Gl)" "\xC3\xBC"
         R"("],[960,"ck \"auf\""]]}]})"
         "\n"},
        {"no words: the voice has none", "Alto", "Info", SmfWriter::Text, {"not sung"},
         R"({"encoding":"ASCII","voices":[{"track":1,"name":"Alto","words":-1}],"words":[]})"
         "\n"},
    };
    SongDir dir;
    for (const WordsCase& c : cases) {
        const ToolResult result = runDump({"--words", dir.save("words.mid", song(c))});
        EXPECT_EQ(result.exitCode, 0) << c.what;
        EXPECT_EQ(result.out, c.json) << c.what;
        EXPECT_FALSE(parseDump(result.out).isEmpty()) << c.what;
    }
}

} // namespace
