// Following the file's tempo changes: the tempo map built from every tempo
// event of every track, playing time through it, and Bpm scaling it.
#include "SequencerTestSupport.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace harmonet;
using harmonet::test::loadReportingError;

namespace {

// 480 ticks a quarter. Track 0: 120 bpm at 0, 60 bpm at 960, 75 bpm at 2880.
// Track 1: 240 bpm at 1920 and 100 bpm at 2880, read after track 0's change
// at the same tick, so 100 bpm holds from there. Track 2: notes up to 3840.
QByteArray fourTempoSong()
{
    SmfWriter w;
    w.header(1, 3, 480);
    w.beginTrack().tempo(0, 500000).tempo(960, 1000000).tempo(1920, 800000).endOfTrack().endTrack();
    w.beginTrack().tempo(1920, 250000).tempo(960, 600000).endOfTrack().endTrack();
    w.beginTrack()
        .noteOn(480, 0, 60, 90)
        .noteOff(960, 0, 60)
        .noteOn(960, 0, 62, 90)
        .noteOff(1440, 0, 62)
        .endTrack();
    return w.bytes();
}

// The same song's map worked out by hand: 1000 ms for the first 960 ticks,
// 2000 ms for the next 960, 500 ms for the next, then 1.25 ms a tick.
struct MapPoint {
    double ticks;
    double ms;
};
const MapPoint HandMap[] = {
    {0, 0},       {480, 500},    {960, 1000},   {1440, 2000}, {1920, 3000},
    {2400, 3250}, {2880, 3500},  {3840, 4700},  {-480, -500},
};

TEST(TempoMap, ConvertsBothWaysThroughEveryTrackTempoEvents)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, fourTempoSong()), QString());
    const TTempoMap& map = file.TempoMap();
    EXPECT_TRUE(map.HasTempoChanges());
    EXPECT_EQ(map.StartMicrosecondsPerQuarter(), 500000u);
    file.SetFollowTempoChanges(true);
    for (const MapPoint& point : HandMap) {
        EXPECT_NEAR(map.MsAt(point.ticks), point.ms, 1e-9) << point.ticks;
        EXPECT_NEAR(map.TicksAt(point.ms), point.ticks, 1e-9) << point.ms;
        EXPECT_NEAR(file.MsAtTicks(point.ticks), point.ms, 1e-9) << point.ticks;
        if (point.ms >= 0) {
            EXPECT_EQ(file.TicksAtMs(int(point.ms)), qint64(point.ticks)) << point.ms;
        }
    }
    EXPECT_EQ(file.SongLengthMs(), 4700);
    EXPECT_EQ(file.Bpm(), 120) << "the tempo at the start";

    // Off again: the last tempo read (100 bpm) for the whole song, as before.
    file.SetFollowTempoChanges(false);
    EXPECT_EQ(file.Bpm(), 100);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 1250.0);
    EXPECT_EQ(file.SongLengthMs(), 4800);
    EXPECT_EQ(file.TicksAtMs(1000), 800);
}

TEST(TempoMap, DefaultTempoBeforeTheFirstEventAndWhatCountsAsAChange)
{
    struct Case {
        const char* what;
        std::vector<TTempoChange> changes;
        int ticksPerQuarter;
        bool hasChanges;
        double msAt960;
    };
    const Case cases[] = {
        {"no tempo event: 120 bpm", {}, 480, false, 1000},
        {"one tempo, twice", {{0, 600000}, {480, 600000}}, 480, false, 1200},
        {"first event late: 120 bpm before it", {{480, 1000000}}, 480, false, 1500},
        {"a tempo of 0 is none", {{0, 1000000}, {480, 0}}, 480, false, 2000},
        {"two tempi", {{0, 500000}, {480, 1000000}}, 480, true, 1500},
        {"out of order in the list: sorted by tick", {{480, 1000000}, {0, 1000000}, {240, 500000}}, 480, true, 1750},
        {"no division: no lengths", {{0, 500000}, {480, 1000000}}, 0, true, 0},
    };
    for (const Case& c : cases) {
        const TTempoMap map(c.changes, c.ticksPerQuarter);
        EXPECT_EQ(map.HasTempoChanges(), c.hasChanges) << c.what;
        EXPECT_NEAR(map.MsAt(960), c.msAt960, 1e-9) << c.what;
        EXPECT_EQ(map.IsEmpty(), c.ticksPerQuarter == 0) << c.what;
    }
}

TEST(TempoMap, WithoutADivisionAtTheEndTheSongPlaysAtItsOneTempoAlsoWhenFollowing)
{
    // The tempo took effect under a division of 480; a later header says 0.
    SmfWriter w;
    w.header(0, 1, 480).beginTrack().tempo(0, 1000000).noteOn(0, 0, 60, 90).noteOff(480, 0, 60).endTrack();
    w.header(0, 1, 0);
    TMidiFile file;
    file.SetFollowTempoChanges(true);
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EXPECT_TRUE(file.TempoMap().IsEmpty());
    EXPECT_EQ(file.SongLengthMs(), 1000);
    test::EventRecorder recorder;
    recorder.attach(file);
    file.SeekTo(0);
    file.AdvanceTo(1002);
    EXPECT_EQ(recorder.ticks(), (std::vector<qint32>{0, 0, 480})) << "every event plays";
}

TEST(TempoMap, BpmScalesTheWholeMapAndTheFileStartTempoRestoresIt)
{
    // 85 bpm (705882 µs) is not a whole-beat tempo of the file's 700000 µs.
    SmfWriter w;
    w.header(0, 1, 100)
        .beginTrack()
        .tempo(0, 700000)
        .noteOn(0, 0, 60, 90)
        .tempo(100, 350000)
        .noteOff(100, 0, 60)
        .endTrack();
    TMidiFile file;
    file.SetFollowTempoChanges(true);
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EXPECT_EQ(file.Bpm(), 85);
    EXPECT_EQ(file.SongLengthMs(), 1050);

    ManualClock clock;
    file.SetClock(&clock);
    file.PlayFromStart();
    clock.setNowMs(700);
    file.AdvanceTo(700);
    EXPECT_NEAR(file.CurrentPos(), 100.0, 1e-9);
    // 170 bpm is 352941 µs a quarter: every tempo plays 352941 / 700000 times as long.
    const double scale = 352941.0 / 700000.0;
    file.SetBpm(170);
    EXPECT_EQ(file.Bpm(), 170);
    EXPECT_EQ(file.SongLengthMs(), 529) << "1050 ms scaled";
    EXPECT_NEAR(file.CurrentPos(), 100.0, 1e-9) << "the place is kept";
    clock.setNowMs(770);
    file.AdvanceTo(770);
    EXPECT_NEAR(file.CurrentPos(), 100.0 + 70.0 / scale / 3.5, 1e-6) << "on at the second tempo, scaled";
    file.SetBpm(85);
    EXPECT_EQ(file.SongLengthMs(), 1050) << "the file's own tempi again, exactly";
    file.HaltPlay();
}

TEST(TempoMap, ThirdPartyFileWithManyTempoChangesPlaysAtItsWrittenLength)
{
    HARMONET_REQUIRE_TESTDATA();
    TMidiFile file;
    file.SetFilename(harmonet::test::thirdPartyDataDir() + "/music21/test04.mid");
    ASSERT_NO_THROW(file.LoadSong());
    EXPECT_TRUE(file.TempoMap().HasTempoChanges());
    EXPECT_EQ(file.SongLengthMs() / 1000, 16 * 60) << "one tempo: 16:00";
    file.SetFollowTempoChanges(true);
    EXPECT_EQ(file.SongLengthMs() / 1000, 9 * 60 + 55) << "as written: 9:55";
}

TEST(TempoMap, EngravedScoreWithASlowerBarTakesItsTime)
{
    const QString lilypond = QStandardPaths::findExecutable("lilypond");
    if (lilypond.isEmpty()) {
        GTEST_SKIP() << "lilypond not installed";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile score(dir.filePath("slower.ly"));
    ASSERT_TRUE(score.open(QIODevice::WriteOnly));
    // One bar at 120 bpm (2 s), one at 60 (4 s).
    score.write("\\version \"2.24.0\"\n"
                "\\score { \\new Staff { \\tempo 4 = 120 c'4 d' e' f' \\tempo 4 = 60 g'4 a' b' c'' }\n"
                "  \\midi { } }\n");
    score.close();
    test::ChildProcess::RunOptions options;
    options.workingDirectory = dir.path();
    options.timeoutMs = 120000;
    const test::ChildProcess::Result engrave = test::ChildProcess::run(lilypond, {"-s", "slower.ly"}, options);
    ASSERT_TRUE(engrave.finished);
    ASSERT_EQ(engrave.exitCode, 0) << engrave.errors.toStdString();

    TMidiFile file;
    file.SetFilename(dir.filePath("slower.midi"));
    ASSERT_NO_THROW(file.LoadSong());
    EXPECT_EQ(file.SongLengthMs(), 8000) << "both bars at the last tempo";
    file.SetFollowTempoChanges(true);
    EXPECT_EQ(file.SongLengthMs(), 6000);
    EXPECT_EQ(file.Bpm(), 120);
}

} // namespace
