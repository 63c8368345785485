// The bars of LilyPond scores against the bar numbers they print: where a
// \partial upbeat is, what bar the double bars, entries and the final bar
// fall in, and how many bars each score has.
#include "SequencerTestSupport.h"
#include "sequencer/BarMap.h"
#include "sequencer/PhraseStart.h"
#include "tests/support/LilyPondScores.h"

#include <QDir>

using namespace harmonet;

namespace {

// The first note of the upper staff: LilyPond writes the staves from track 1 on.
qint64 firstNoteOfUpperStaff(const TMidiFile& file)
{
    const std::vector<TNoteSpan> notes = notesOfTrack(*file.TrackAt(1));
    return notes.empty() ? -1 : notes.front().StartTicks;
}

struct ScoreCase {
    const char* score;
    // The MIDI file of the score in a book of several: "", "-1", "-2", ...
    const char* movement;
    // The \partial in the source, in beats, set by hand (the files show none).
    double pickupBeats;
    qint64 lastBar;
    // Where the upper staff's first note falls, and a place the source marks
    // (at quarter notes from the start): "bar.beat".
    const char* firstNote;
    double markedQuarters;
    const char* marked;
};

TEST(LilyPondBars, PrintedBarNumbersOfScores)
{
    const ScoreCase cases[] = {
        // 3/4, \partial 4, four verses of an upbeat, five bars and a half bar
        // closed by "||": the double bars fall on beat 3 of bars 6, 12 and 18;
        // the last bar holds two beats.
        {"Uxbridge", "", 1, 24, "0.3", 18, "6.3"},
        // No. 1: 4/4, \partial 2., fermatas at the start of every even bar, a last bar of one beat.
        {"Mendelssohn-BartholdyF_op_23_No_1", "", 3, 14, "0.2", 55, "14.1"},
        // No. 2: 4/4 without upbeat, s1*107 and the closing bar; the sopranos
        // rest nine bars.
        {"Mendelssohn-BartholdyF_op_23_No_1", "-1", 0, 108, "10.1", 428, "108.1"},
        // No. 3: 3/8, 104 bars; the sopranos are silent for 53 bars and enter on the third eighth.
        {"Mendelssohn-BartholdyF_op_23_No_1", "-2", 0, 104, "54.3", 79.5, "54.1"},
        // No. 4: 4/4, \partial 2. and 59 full bars (counted from the start it
        // would be 60); the sopranos rest until the third beat of bar 4.
        {"Mendelssohn-BartholdyF_op_23_No_1", "-3", 3, 59, "4.3", 235, "59.1"},
        {"Mendelssohn-BartholdyF_op_23_No_1", "-3", 0, 60, "5.2", 235, "59.4"},
        // 4/4, one bar a line of the source, 38 lines; the fermata bar closes it.
        {"AveverumM", "", 0, 38, "1.1", 148, "38.1"},
    };
    for (const ScoreCase& c : cases) {
        SCOPED_TRACE(std::string(c.score) + c.movement);
        HARMONET_REQUIRE_LILYPOND_SCORE(folder, QString::fromLatin1(c.score));
        TMidiFile file;
        file.SetFilename(QDir(folder).filePath(QString::fromLatin1(c.score) + QString::fromLatin1(c.movement)
                                               + QStringLiteral(".midi")));
        ASSERT_NO_THROW(file.LoadSong());
        const TBarMap bars = TBarMap::ofSong(file, true, c.pickupBeats);
        EXPECT_EQ(bars.PickupSource(), c.pickupBeats > 0 ? TPickupSource::Hand : TPickupSource::None);
        EXPECT_EQ(bars.LastBar(), c.lastBar);
        EXPECT_EQ(barBeatText(bars.BarAtTicks(double(firstNoteOfUpperStaff(file)))).toStdString(), c.firstNote);
        const double marked = c.markedQuarters * file.TicksPerQuarter();
        EXPECT_EQ(barBeatText(bars.BarAtTicks(marked)).toStdString(), c.marked);
    }
}

TEST(LilyPondBars, UpperStaffsPhraseAfterTheRestInBar24StartsInBar25)
{
    // Ave verum: the upper staff sings "e'2 r2" in bar 24 and starts anew in bar 25.
    HARMONET_REQUIRE_LILYPOND_SCORE(folder, QStringLiteral("AveverumM"));
    TMidiFile file;
    file.SetFilename(QDir(folder).filePath(QStringLiteral("AveverumM.midi")));
    ASSERT_NO_THROW(file.LoadSong());
    const TBarMap bars = TBarMap::ofSong(file, true);
    const std::vector<TNoteSpan> upper = notesOfTrack(*file.TrackAt(1));
    EXPECT_EQ(phraseStartBefore(upper, bars.TicksOfBar(26) + 100, bars), qint64(bars.TicksOfBar(25)));
}

} // namespace
