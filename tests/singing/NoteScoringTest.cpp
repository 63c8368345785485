#include "singing/NoteScoring.h"
#include "singing/TakeAnalyzer.h"
#include "tests/singing/SungAlto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace harmonet::test {
namespace {

constexpr int Rate = 44100;
constexpr double Always = std::numeric_limits<double>::infinity();

using Faults = std::vector<std::pair<int, NoteVerdict>>;

std::vector<NoteResult> scoreTake(const std::vector<TargetNote>& targets, const AltoFaults& faults,
                                  double firstSampleMs = 0.0, double fromMs = -Always, double toMs = Always)
{
    const std::vector<SungNote> sung = sungAlto(targets, faults);
    const std::vector<float> take = singNotes(sung, Rate, takeLengthMs(targets) + faults.delayMs);
    TakeAnalyzer analyzer(Rate, firstSampleMs);
    analyzer.push(take);
    return scoreNotes(targets, analyzer.frames(), fromMs, toMs);
}

TEST(NoteScoring, NamesExactlyTheNotesSungWrong)
{
    const std::vector<TargetNote> targets = altoTargets(*exampleSong());
    ASSERT_GT(targets.size(), 30u);
    struct Case {
        const char* what;
        AltoFaults faults;
        double firstSampleMs;
        Faults expected;
    };
    const Faults three{{ThreeFaults.flatNote, NoteVerdict::Flat},
                       {ThreeFaults.lateNote, NoteVerdict::Late},
                       {ThreeFaults.leftOut, NoteVerdict::Missed}};
    const Case cases[] = {
        {"three faults", ThreeFaults, 0.0, three},
        {"an octave down", {-1, -1, -1, -1, 0.0}, 0.0, {}},
        {"an octave up with three faults", {2, 10, 20, 1, 0.0}, 0.0, three},
        {"recorded 180 ms late, corrected", {-1, -1, -1, 0, 180.0}, -180.0, {}},
    };
    for (const Case& c : cases) {
        const std::vector<NoteResult> results = scoreTake(targets, c.faults, c.firstSampleMs);
        ASSERT_EQ(results.size(), targets.size()) << c.what;
        const Faults found = faultsOf(results);
        EXPECT_EQ(found, c.expected) << c.what;
        for (int i = 0; i < int(results.size()); ++i) {
            const NoteResult& result = results[std::size_t(i)];
            EXPECT_EQ(result.octaves, i == c.faults.leftOut ? 0 : c.faults.octaves) << c.what << " note " << i;
            if (i == c.faults.leftOut) {
                EXPECT_FALSE(result.cents) << c.what;
                EXPECT_FALSE(result.onsetMs) << c.what;
            } else if (i == c.faults.flatNote) {
                EXPECT_NEAR(result.cents.value_or(0.0), -100.0, 15.0) << c.what;
            } else {
                EXPECT_NEAR(result.cents.value_or(999.0), 0.0, 15.0) << c.what << " note " << i;
            }
            if (i == c.faults.lateNote) {
                EXPECT_NEAR(result.onsetMs.value_or(0.0), LateMs, 40.0) << c.what;
            } else if (result.onsetMs) {
                EXPECT_LT(std::abs(*result.onsetMs), 50.0) << c.what << " note " << i;
            }
        }
    }
}

TEST(NoteScoring, AnUncorrectedDelayMakesNotesLateNotFlat)
{
    const std::vector<TargetNote> targets = altoTargets(*exampleSong());
    const std::vector<NoteResult> results = scoreTake(targets, {-1, -1, -1, 0, 180.0});
    int late = 0;
    for (const NoteResult& result : results) {
        ASSERT_TRUE(result.cents);
        EXPECT_LT(std::abs(*result.cents), 15.0);
        late += result.verdict == NoteVerdict::Late ? 1 : 0;
    }
    EXPECT_GT(late, int(targets.size()) * 3 / 4);
}

TEST(NoteScoring, ScoresOnlyTheNotesOfTheStretchSung)
{
    const std::vector<TargetNote> targets = altoTargets(*exampleSong());
    const double from = targets[8].startMs;
    const double to = targets[16].startMs;
    const std::vector<NoteResult> results = scoreTake(targets, ThreeFaults, 0.0, from, to);
    ASSERT_EQ(results.size(), 8u);
    EXPECT_EQ(results.front().note.startMs, from);
    EXPECT_EQ(faultsOf(results), (Faults{{ThreeFaults.lateNote - 8, NoteVerdict::Late}}));
}

NoteResult result(qint64 bar, std::optional<double> cents, std::optional<double> onsetMs, NoteVerdict verdict)
{
    NoteResult made;
    made.note.bar = bar;
    made.cents = cents;
    made.onsetMs = onsetMs;
    made.verdict = verdict;
    return made;
}

TEST(NoteScoring, SummarisesAndFindsTheWorstBars)
{
    const std::vector<NoteResult> results{
        result(1, 10.0, 5.0, NoteVerdict::Good),      result(1, -20.0, -30.0, NoteVerdict::Good),
        result(2, -100.0, 0.0, NoteVerdict::Flat),    result(2, 0.0, 0.0, NoteVerdict::Good),
        result(3, 30.0, 220.0, NoteVerdict::Late),    result(4, std::nullopt, std::nullopt, NoteVerdict::Missed),
        result(5, 70.0, 150.0, NoteVerdict::Sharp),   result(6, 5.0, -150.0, NoteVerdict::Early),
        result(7, 5.0, std::nullopt, NoteVerdict::Good),
    };
    const TakeSummary summary = summarize(results);
    EXPECT_EQ(summary.notes, 9);
    EXPECT_EQ(summary.sung, 8);
    EXPECT_EQ(summary.missed, 1);
    EXPECT_EQ(summary.withinTolerance, 6);
    EXPECT_NEAR(summary.meanAbsCents, (10 + 20 + 100 + 0 + 30 + 70 + 5 + 5) / 8.0, 1e-9);
    EXPECT_EQ(summary.late, 2);
    // Bar 5: 70 + 50; bar 4: 100; bar 3: 30 + 50; bars 2 and 6 lose out.
    ASSERT_EQ(summary.worstBars.size(), 3u);
    EXPECT_EQ(summary.worstBars[0].bar, 5);
    EXPECT_EQ(summary.worstBars[1].bar, 4);
    EXPECT_EQ(summary.worstBars[2].bar, 3);
    EXPECT_DOUBLE_EQ(summary.worstBars[0].badness, 120.0);

    const TakeSummary empty = summarize({});
    EXPECT_EQ(empty.notes, 0);
    EXPECT_EQ(empty.meanAbsCents, 0.0);
    EXPECT_TRUE(empty.worstBars.empty());
}

} // namespace
} // namespace harmonet::test
