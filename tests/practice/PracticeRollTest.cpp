// The practice roll without a window: syllables under my notes (hyphens,
// extenders), the current syllable, the keys fitted to my part, where ticks
// and keys are drawn, the bar lines with their numbers, and the words
// chosen per file in their text form.
#include "practice/PracticeMemory.h"
#include "practice/PracticeRoll.h"
#include "sequencer/WordsSource.h"

#include <gtest/gtest.h>

using namespace harmonet;

namespace {

constexpr qint32 Q = 480;

struct Sung {
    qint32 tick;
    const char* text;
    TWordsSyllable::Break breakBefore = TWordsSyllable::Break::None;
};

TWordsSource words(const QList<Sung>& sung, bool bare)
{
    TWordsSource source;
    source.bareSyllables = bare;
    for (const Sung& s : sung) {
        TWordsSyllable syllable;
        syllable.ticks = s.tick;
        syllable.text = QString::fromUtf8(s.text);
        syllable.shown = syllable.text;
        syllable.breakBefore = s.breakBefore;
        source.syllables.append(syllable);
    }
    return source;
}

// Quarter notes at the given ticks, all on one key.
std::vector<TRollNote> quarters(std::initializer_list<qint32> ticks)
{
    std::vector<TRollNote> notes;
    for (qint32 tick : ticks) {
        notes.push_back({tick, Q, 67});
    }
    return notes;
}

struct Drawn {
    QString text;
    bool hyphenAfter;
    qint64 extenderEnd;
};

TEST(PracticeRollTest, SyllablesAreJoinedWhereTheFileMarksAWordAndExtendedOverHeldNotes)
{
    struct Case {
        const char* name;
        QList<Sung> sung;
        bool bare;
        std::vector<TRollNote> notes;
        QList<Drawn> drawn;
    };
    const QList<Case> cases = {
        {"a trailing hyphen joins", {{0, "Glo-"}, {Q, "ry"}}, false, quarters({0, Q}),
         {{"Glo", true, -1}, {"ry", false, -1}}},
        {"LilyPond's bare syllables stand apart", {{0, "Glo"}, {Q, "ry"}}, true, quarters({0, Q}),
         {{"Glo", false, -1}, {"ry", false, -1}}},
        {"a hyphen marks a word also in a bare file", {{0, "Glo-"}, {Q, "ry"}}, true, quarters({0, Q}),
         {{"Glo", true, -1}, {"ry", false, -1}}},
        {"without a blank a karaoke word goes on", {{0, "Glo"}, {Q, "ry "}, {2 * Q, "to"}}, false,
         quarters({0, Q, 2 * Q}), {{"Glo", true, -1}, {"ry", false, -1}, {"to", false, -1}}},
        {"a new line ends the word", {{0, "Glo"}, {Q, "ry", TWordsSyllable::Break::Line}}, false, quarters({0, Q}),
         {{"Glo", false, -1}, {"ry", false, -1}}},
        {"a hyphen alone joins its neighbours", {{0, "Glo"}, {Q / 2, "-"}, {Q, "ry"}}, true, quarters({0, Q}),
         {{"Glo", true, -1}, {"ry", false, -1}}},
        {"held over three notes: an extender to the end of the last", {{0, "Lord"}, {4 * Q, "have"}}, true,
         quarters({0, Q, 2 * Q, 4 * Q}), {{"Lord", false, 3 * Q}, {"have", false, -1}}},
        {"a rest ends the held syllable", {{0, "Lord"}, {8 * Q, "have"}}, true, quarters({0, 2 * Q, 8 * Q}),
         {{"Lord", false, -1}, {"have", false, -1}}},
        {"the last syllable held on", {{0, "A"}, {Q, "men"}}, true, quarters({0, Q, 2 * Q, 3 * Q}),
         {{"A", false, -1}, {"men", false, 4 * Q}}},
        {"a hyphen rather than an extender within a word", {{0, "Glo-"}, {3 * Q, "ry"}}, false,
         quarters({0, Q, 2 * Q, 3 * Q}), {{"Glo", true, -1}, {"ry", false, -1}}},
        {"an underscore joins words on one note, alone it holds the note", {{0, "schrei'_ich"}, {Q, "_"}, {2 * Q, "zu"}},
         true, quarters({0, Q, 2 * Q}), {{"schrei' ich", false, 2 * Q}, {"zu", false, -1}}},
        {"line breaks and blanks are not drawn", {{0, "\r\nSing "}, {Q, "\nwe"}}, false, quarters({0, Q}),
         {{"Sing", false, -1}, {"we", false, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<TRollSyllable> syllables = rollSyllables(words(c.sung, c.bare), c.notes);
        ASSERT_EQ(syllables.size(), c.drawn.size());
        for (qsizetype i = 0; i < syllables.size(); ++i) {
            EXPECT_EQ(syllables[i].text, c.drawn[i].text) << i;
            EXPECT_EQ(syllables[i].hyphenAfter, c.drawn[i].hyphenAfter) << i;
            EXPECT_EQ(syllables[i].extenderEnd, c.drawn[i].extenderEnd) << i;
        }
    }
}

TVoice voice(const char* name, std::initializer_list<std::pair<qint32, quint8>> notes, qint32 length = Q)
{
    TVoice v;
    v.name = QString::fromLatin1(name);
    for (const auto& [tick, key] : notes) {
        v.notes.push_back({tick, length, key, 100, 0, -1});
    }
    return v;
}

TEST(PracticeRollTest, KeysAreFittedToMyPartWithAMarginAndTheCurrentSyllableFollowsThePosition)
{
    const QList<TVoice> voices = {voice("Soprano", {{0, 72}, {Q, 79}}), voice("Alto", {{0, 60}, {Q, 62}}),
                                  voice("Bass", {{0, 40}, {Q, 84}})};
    struct Case {
        int myVoice;
        int lowest;
        int highest;
    };
    for (const Case& c : {Case{0, 70, 82}, Case{1, 55, 67}, Case{-1, 38, 86}}) {
        SCOPED_TRACE(c.myVoice);
        const TPracticeRoll roll(voices, c.myVoice, nullptr, Q);
        EXPECT_EQ(roll.lowestKey(), c.lowest);
        EXPECT_EQ(roll.highestKey(), c.highest);
        EXPECT_EQ(roll.otherVoices().size(), c.myVoice < 0 ? 3 : 2);
        EXPECT_EQ(roll.endTick(), 2 * Q);
    }

    const TWordsSource alto = words({{0, "Ky"}, {Q, "ri"}, {Q, "e"}, {3 * Q, "son"}}, true);
    const TPracticeRoll roll(voices, 1, &alto, Q);
    struct Moment {
        double tick;
        int syllable;
    };
    for (const Moment& m : {Moment{-1, -1}, Moment{0, 0}, Moment{Q - 0.5, 0}, Moment{Q, 2}, Moment{2 * Q, 2},
                            Moment{3 * Q, 3}, Moment{100 * Q, 3}}) {
        EXPECT_EQ(roll.currentSyllable(m.tick), m.syllable) << m.tick;
    }
    const TPracticeRoll unsung(voices, 1, nullptr, Q);
    EXPECT_EQ(unsung.currentSyllable(Q), -1);
}

TEST(PracticeRollTest, TicksAndKeysMapToPixelsBothWays)
{
    // 48 pixels a quarter, the left edge at the second quarter, keys 60..71 in 120 pixels.
    const TRollGeometry geometry(Q, 48.0, Q, QRectF(10, 20, 400, 120), 60, 71);
    EXPECT_DOUBLE_EQ(geometry.xOfTick(Q), 10.0);
    EXPECT_DOUBLE_EQ(geometry.xOfTick(3 * Q), 106.0);
    EXPECT_DOUBLE_EQ(geometry.tickAtX(geometry.xOfTick(1234.5)), 1234.5);
    EXPECT_DOUBLE_EQ(geometry.rowHeight(), 10.0);
    EXPECT_DOUBLE_EQ(geometry.rowTop(71), 20.0);
    EXPECT_DOUBLE_EQ(geometry.rowTop(60), 130.0);
    EXPECT_EQ(geometry.noteRect({2 * Q, Q / 2, 65}), QRectF(58, 80, 24, 10));
    EXPECT_EQ(geometry.noteRect({2 * Q, Q / 2, 63}, 2), QRectF(58, 80, 24, 10)) << "drawn where it sounds";
    EXPECT_DOUBLE_EQ(geometry.followingLeftTick(10 * Q), 10 * Q - 400.0 / 3.0 * 10.0);

    struct Zoom {
        double from;
        double in;
        double out;
    };
    for (const Zoom& z : {Zoom{48, 64, 32}, Zoom{6, 8, 6}, Zoom{256, 256, 192}, Zoom{50, 64, 48}}) {
        EXPECT_EQ(TRollGeometry::zoomedIn(z.from), z.in) << z.from;
        EXPECT_EQ(TRollGeometry::zoomedOut(z.from), z.out) << z.from;
    }
    EXPECT_EQ(TRollGeometry::nearestZoom(1e9), 256);
    EXPECT_EQ(TRollGeometry::nearestZoom(std::nan("")), TRollGeometry::DefaultPixelsPerQuarter);
}

TEST(PracticeRollTest, BarLinesAreNumberedAsPrintedWithAnUpbeatAsBarZero)
{
    const std::vector<TTimeSignature> fourFour = {};
    struct Case {
        const char* name;
        std::optional<double> pickupBeats;
        double pixelsPerQuarter;
        QList<qint64> bars;
        QList<qint64> labelled;
    };
    const QList<Case> cases = {
        {"no upbeat", std::nullopt, 48, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}},
        {"an upbeat of one beat", 1.0, 48, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
        {"too small to number every bar", std::nullopt, 6, {1, 2, 3, 4, 5}, {2, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // 5 bars of 4/4 (and the upbeat) at 500 ms a quarter.
        const double end = 5 * 4 * Q + c.pickupBeats.value_or(0) * Q;
        const TBarMap bars(fourFour, Q, qint64(end), TSongTime(), c.pickupBeats);
        const TRollGeometry geometry(Q, c.pixelsPerQuarter, 0, QRectF(0, 0, 100000, 100), 60, 72);
        QList<qint64> numbers;
        QList<qint64> labelled;
        for (const TRollBarLine& line : geometry.barLines(bars, 0, end - 1)) {
            numbers.append(line.bar);
            EXPECT_DOUBLE_EQ(line.tick, bars.TicksOfBar(line.bar));
            if (line.labelled) {
                labelled.append(line.bar);
            }
        }
        EXPECT_EQ(numbers, c.bars);
        EXPECT_EQ(labelled, c.labelled);
        EXPECT_EQ(barAtTick(bars, -Q), bars.FirstBar());
        EXPECT_EQ(barAtTick(bars, end * 2), 5);
    }
}

TEST(PracticeRollTest, WordsChosenForAFileReadBackFromTheirTextAndDamagedTextsAreNone)
{
    const TWordsChoice choice{3, {{3, 5}, {4, 6}}};
    EXPECT_EQ(wordsChoiceText(choice), "3;3:5,4:6");
    EXPECT_EQ(wordsChoiceFromText(wordsChoiceText(choice)), choice);
    EXPECT_EQ(wordsChoiceFromText("-1;"), TWordsChoice{});
    for (const char* damaged : {"", "3", "x;1:2", "3;1", "3;1:", "3;1:2,", "3;-2:1", "3;1:70000", "99999999999;"}) {
        EXPECT_FALSE(wordsChoiceFromText(QString::fromLatin1(damaged))) << damaged;
    }
}

} // namespace
