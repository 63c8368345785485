// The text functions of the scrolling lyrics: the strip's three texts around
// a syllable, verse markers, decoding of lyric bytes, and playing time to ticks.
#include "player/LyricList.h"

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

TLyricList glory()
{
    TLyricList lyrics;
    lyrics.append(QStringLiteral("1."), 0);
    lyrics.append(QStringLiteral("Glo"), 100);
    lyrics.append(QStringLiteral("ry "), 100);
    lyrics.append(QStringLiteral("\r\nPraise"), 200);
    lyrics.append(QStringLiteral("\nhim"), 300);
    return lyrics;
}

TEST(LyricList, TextsAroundASyllableWithRepeatedTimesStandForTheFirst)
{
    const TLyricList lyrics = glory();
    EXPECT_EQ(lyrics.upTo(100), "1.Glo");
    EXPECT_EQ(lyrics.at(100), "Glo");
    EXPECT_EQ(lyrics.after(100), "ry \r\nPraise\nhim") << "line breaks kept to the right";

    EXPECT_EQ(lyrics.upTo(0), "1.");
    EXPECT_EQ(lyrics.after(0), "Glory \r\nPraise\nhim");
    EXPECT_EQ(lyrics.upTo(200), "1.Glory Praise") << "line breaks removed to the left";
    EXPECT_EQ(lyrics.at(300), "\nhim");
    EXPECT_EQ(lyrics.after(300), "") << "the last syllable has nothing after it";
    EXPECT_EQ(lyrics.upTo(150) + lyrics.at(150) + lyrics.after(150), "") << "no syllable at 150";
}

TEST(LyricList, FirstTimeFromFindsTheNextSyllableOrNone)
{
    const TLyricList lyrics = glory();
    EXPECT_EQ(lyrics.firstTimeFrom(-5), 0);
    EXPECT_EQ(lyrics.firstTimeFrom(0), 0);
    EXPECT_EQ(lyrics.firstTimeFrom(1), 100);
    EXPECT_EQ(lyrics.firstTimeFrom(301), -1);
}

TEST(LyricList, VerseMarkersHaveTheirFirstFullStopSecond)
{
    EXPECT_TRUE(isVerseMarker(QStringLiteral("1.")));
    EXPECT_TRUE(isVerseMarker(QStringLiteral("3.Now.")));
    EXPECT_FALSE(isVerseMarker(QStringLiteral("12.")));
    EXPECT_FALSE(isVerseMarker(QStringLiteral(".1")));
    EXPECT_FALSE(isVerseMarker(QString()));
}

TEST(LyricList, LyricBytesReadAsUtf8WhenValidElseLatin1)
{
    EXPECT_EQ(lyricText("Gloria"), "Gloria");
    EXPECT_EQ(lyricText("Ky\xC3\xA9rie"), QStringLiteral("Ky\u00E9rie")) << "UTF-8";
    EXPECT_EQ(lyricText("Ky\xE9rie"), QStringLiteral("Ky\u00E9rie")) << "Latin-1, no replacement character";
    EXPECT_EQ(lyricText("\xC3"), QStringLiteral("\u00C3")) << "a cut-off UTF-8 sequence is Latin-1";
}

TEST(LyricList, TicksAtMsRoundsHalvesToEvenAndNeedsATickDuration)
{
    EXPECT_EQ(ticksAtMs(1, 2000.0), 0) << "0.5 rounds to 0";
    EXPECT_EQ(ticksAtMs(3, 2000.0), 2) << "1.5 rounds to 2";
    EXPECT_EQ(ticksAtMs(30000, 500000.0 / 480), 28800);
    EXPECT_EQ(ticksAtMs(5000, 0.0), 0) << "no song: no division by zero";
    EXPECT_GT(ticksAtMs(2147483647, 0.001), 2147483647) << "past every tick a track can hold";
}

TEST(LyricList, SplitLinesAtEveryKindOfLineBreak)
{
    EXPECT_EQ(splitLines(QStringLiteral("a\r\nb\rc\nd")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines(QString()), QStringList({""}));
}

} // namespace
} // namespace harmonet::test
