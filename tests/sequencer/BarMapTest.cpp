// Bars as a score prints them: metre changes, an upbeat shown by a change or
// set by hand, bar times through the tempo map or at one tempo, files that
// make no sense, and the start of the phrase a part is in.
#include "SequencerTestSupport.h"
#include "sequencer/BarMap.h"
#include "sequencer/PhraseStart.h"

#include <QStringList>
#include <limits>

using namespace harmonet;
using harmonet::test::loadReportingError;

namespace {

struct Signature {
    quint64 ticks;
    quint8 numerator;
    quint8 denominatorPower;
};

// Track 0 holds the time signatures (absolute ticks, in the order given),
// track 1 one note from 0 to endTicks.
QByteArray songWithMetres(quint16 division, const std::vector<Signature>& signatures, quint64 endTicks)
{
    SmfWriter w;
    w.header(1, 2, division);
    w.beginTrack();
    quint64 at = 0;
    for (const Signature& s : signatures) {
        w.timeSignature(s.ticks >= at ? s.ticks - at : 0, s.numerator, s.denominatorPower);
        at = std::max(at, s.ticks);
    }
    w.endOfTrack().endTrack();
    w.beginTrack().noteOn(0, 0, 60, 90).noteOff(endTicks, 0, 60).endOfTrack().endTrack();
    return w.bytes();
}

struct BarCase {
    const char* what;
    quint16 division;
    std::vector<Signature> signatures;
    quint64 endTicks;
    std::optional<double> handPickup;
    // Expected: first and last bar, the upbeat and where it comes from.
    qint64 firstBar;
    qint64 lastBar;
    double pickupBeats;
    TPickupSource source;
    // "bar@tick metre beats" for some bars, and "tick=bar.beat" for some places.
    QStringList bars;
    QStringList places;
};

QString describeBar(const TBarMap& map, qint64 bar)
{
    const TMetre metre = map.MetreOfBar(bar);
    return QStringLiteral("%1@%2 %3/%4 %5")
        .arg(bar)
        .arg(map.TicksOfBar(bar))
        .arg(metre.Numerator)
        .arg(metre.Denominator)
        .arg(map.BeatsOfBar(bar));
}

TEST(BarMap, BarsOfHandMadeFiles)
{
    const std::vector<BarCase> cases = {
        {"no time signature: 4/4, a song ending on a bar line ends in the bar before", 480, {}, 7680, {},
         1, 4, 0, TPickupSource::None, {"1@0 4/4 4", "3@3840 4/4 4", "4@5760 4/4 4"},
         {"0=1.1", "4200=3.1", "5759=3.4", "7680=5.1"}},
        {"metre changes on bar lines", 480, {{0, 4, 2}, {3840, 3, 2}, {6720, 6, 3}}, 9600, {},
         1, 6, 0, TPickupSource::None, {"2@1920 4/4 4", "3@3840 3/4 3", "4@5280 3/4 3", "5@6720 6/8 6"},
         {"7000=5.2", "6719=4.3"}},
        {"a change at 1.25 bars shows a one-beat upbeat, which beats the hand", 480,
         {{0, 4, 2}, {2400, 3, 2}, {5280, 4, 2}}, 7200, 2.0,
         0, 4, 1, TPickupSource::File, {"0@0 4/4 1", "1@480 4/4 4", "2@2400 3/4 3", "4@5280 4/4 4"},
         {"0=0.4", "240=0.4", "480=1.1", "2399=1.4", "2400=2.1"}},
        {"an upbeat set by hand when no change shows one; a short last bar", 480, {{0, 3, 2}}, 34560, 1.0,
         0, 24, 1, TPickupSource::Hand, {"0@0 3/4 1", "1@480 3/4 3", "7@9120 3/4 3", "24@33600 3/4 2"},
         {"0=0.3", "9120=7.1", "8640=6.3"}},
        {"an upbeat of half a beat set by hand", 480, {{0, 2, 2}}, 1200, 0.5,
         0, 1, 0.5, TPickupSource::Hand, {"0@0 2/4 0.5", "1@240 2/4 2"}, {"0=0.2", "120=0.2", "240=1.1"}},
        {"an upbeat of a whole bar is none", 480, {{0, 3, 2}}, 2880, 3.0,
         1, 2, 0, TPickupSource::None, {"1@0 3/4 3"}, {"1440=2.1"}},
        {"a first time signature after the start: 4/4 before it", 480, {{1920, 3, 2}}, 4800, {},
         1, 3, 0, TPickupSource::None, {"1@0 4/4 4", "2@1920 3/4 3", "3@3360 3/4 3"}, {"1900=1.4"}},
        {"a later change inside a bar cuts the bar short", 480, {{0, 4, 2}, {3840, 3, 2}, {5760, 4, 2}}, 7680, {},
         1, 5, 0, TPickupSource::None, {"3@3840 3/4 3", "4@5280 3/4 1", "5@5760 4/4 4"}, {"5500=4.1", "5760=5.1"}},
        {"two at one tick: the one read later; the metre written again changes nothing", 480,
         {{0, 4, 2}, {0, 3, 2}, {1000, 3, 2}, {2880, 3, 2}}, 4320, {},
         1, 3, 0, TPickupSource::None, {"2@1440 3/4 3", "3@2880 3/4 3"}, {"1000=1.3"}},
        {"a numerator of 0, a 2^200th note and a bar under a tick make no metre", 2,
         {{0, 3, 2}, {6, 0, 2}, {6, 4, 200}, {6, 1, 7}, {9, 5, 8}}, 12, {},
         1, 2, 0, TPickupSource::None, {"1@0 3/4 3", "2@6 3/4 3"}, {"9=2.2"}},
        {"an absurd numerator at the largest division: one bar", 65535, {{0, 255, 0}}, 131070, {},
         1, 1, 0, TPickupSource::None, {"1@0 255/1 0.5"}, {"131070=1.1"}},
        {"no division: no bars", 0, {{0, 3, 2}}, 960, 1.0, 1, 0, 0, TPickupSource::None, {}, {"500=1.1"}},
        {"a song of one tick", 96, {{0, 6, 3}}, 1, {}, 1, 1, 0, TPickupSource::None, {"1@0 6/8 0.0208333"},
         {"1=1.1"}},
    };
    for (const BarCase& c : cases) {
        SCOPED_TRACE(c.what);
        TMidiFile file;
        ASSERT_EQ(loadReportingError(file, songWithMetres(c.division, c.signatures, c.endTicks)), QString());
        const TBarMap map = TBarMap::ofSong(file, false, c.handPickup);
        EXPECT_EQ(map.FirstBar(), c.firstBar);
        EXPECT_EQ(map.LastBar(), c.lastBar);
        EXPECT_DOUBLE_EQ(map.PickupBeats(), c.pickupBeats);
        EXPECT_EQ(map.PickupSource(), c.source);
        for (const QString& bar : c.bars) {
            EXPECT_EQ(describeBar(map, bar.section(QLatin1Char('@'), 0, 0).toLongLong()).toStdString(),
                      bar.toStdString());
        }
        for (const QString& place : c.places) {
            const double ticks = place.section(QLatin1Char('='), 0, 0).toDouble();
            EXPECT_EQ(barBeatText(map.BarAtTicks(ticks)).toStdString(), place.section(QLatin1Char('='), 1).toStdString())
                << ticks;
        }
    }
}

TEST(BarMap, HostileValuesAreAnswered)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TMidiFile song;
    ASSERT_EQ(loadReportingError(song, songWithMetres(480, {{0, 3, 2}}, 2880)), QString());
    EXPECT_EQ(TBarMap::ofSong(song, false, nan).PickupSource(), TPickupSource::None);
    const TBarMap map = TBarMap::ofSong(song, false, -1.0);
    EXPECT_EQ(map.BarAtTicks(nan), (TBarPosition{1, 1.0}));
    EXPECT_EQ(map.BarAtTicks(inf).Bar, map.BarAtTicks(1e12).Bar) << "on past the end in the last metre";
    EXPECT_EQ(map.TicksOfBar(std::numeric_limits<qint64>::max()), 2880.0) << "after the last bar: the end";
    EXPECT_EQ(map.MetreOfBar(std::numeric_limits<qint64>::min()), (TMetre{3, 4}));
}

// 480 ticks a quarter: 4/4 and 120 bpm, then 240 bpm from bar 2 (tick 1920).
QByteArray songWithTempoChange()
{
    SmfWriter w;
    w.header(1, 2, 480);
    w.beginTrack().tempo(0, 500000).tempo(1920, 250000).endOfTrack().endTrack();
    w.beginTrack().noteOn(0, 0, 60, 90).noteOff(5760, 0, 60).endOfTrack().endTrack();
    return w.bytes();
}

TEST(BarMap, BarTimesFollowTheTempoMapOrOneTempo)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, songWithTempoChange()), QString());
    struct TimeCase {
        bool follow;
        double bar2Ms, bar3Ms;
        const char* at750Ms;
    };
    // Following: 2000 ms for bar 1, then 1000 ms a bar. At one tempo: the
    // file's last, 240 bpm, 1000 ms a bar throughout.
    for (const TimeCase& c : {TimeCase{true, 2000, 3000, "1.2"}, TimeCase{false, 1000, 2000, "1.4"}}) {
        const TBarMap map = TBarMap::ofSong(file, c.follow);
        EXPECT_DOUBLE_EQ(map.MsOfBar(2), c.bar2Ms) << c.follow;
        EXPECT_DOUBLE_EQ(map.MsOfBar(3), c.bar3Ms) << c.follow;
        EXPECT_EQ(barBeatText(map.BarAtMs(750)).toStdString(), c.at750Ms) << c.follow;
        EXPECT_EQ(map.BarAtMs(c.bar3Ms), (TBarPosition{3, 1.0})) << c.follow;
    }
}

TEST(PhraseStart, TheLastRestLongerThanABeat)
{
    // 480 ticks a quarter; 4/4 for two bars, then 6/8 (a beat is an eighth, 240 ticks).
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, songWithMetres(480, {{0, 4, 2}, {3840, 6, 3}}, 7680)), QString());
    const TBarMap bars = TBarMap::ofSong(file, false);
    struct PhraseCase {
        const char* what;
        std::vector<TNoteSpan> notes;
        double before;
        std::optional<qint64> start;
    };
    const std::vector<PhraseCase> cases = {
        {"a rest of one beat is no break", {{0, 480}, {960, 1440}, {1440, 1920}}, 1500, 0},
        {"a rest longer than a beat is", {{0, 480}, {1000, 1440}, {1440, 1920}}, 1500, 1000},
        {"a note still sounding fills the gap", {{0, 1900}, {100, 200}, {1000, 1440}}, 1500, 0},
        {"at a phrase's start: the phrase before it", {{0, 480}, {1000, 1440}, {2000, 2400}}, 1000, 0},
        {"in any order", {{1900, 2400}, {1000, 1440}, {0, 480}}, 2100, 1000},
        {"in 6/8 a quarter rest is longer than a beat", {{3840, 4080}, {4560, 4800}, {4800, 5040}}, 5000, 4560},
        {"no note before the place", {{1000, 1440}}, 1000, std::nullopt},
    };
    for (const PhraseCase& c : cases) {
        EXPECT_EQ(phraseStartBefore(c.notes, c.before, bars), c.start) << c.what;
    }
}

} // namespace
