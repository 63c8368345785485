// The song's one tempo: from the file's tempo events, the default, and the setter.
#include "SequencerTestSupport.h"

using namespace harmonet;
using harmonet::test::loadReportingError;

namespace {

QByteArray fileWithTempos(quint16 division, std::initializer_list<quint32> tempos)
{
    SmfWriter w;
    w.header(1, 2, division).beginTrack();
    for (quint32 tempo : tempos) {
        w.tempo(1000, tempo);
    }
    w.endTrack().beginTrack().noteOn(0, 0, 60, 100).noteOff(division, 0, 60).endTrack();
    return w.bytes();
}

QString setBpmReportingError(TMidiFile& file, int bpm)
{
    try {
        file.SetBpm(bpm);
    } catch (const Exception& error) {
        return error.message();
    }
    return QString();
}

} // namespace

TEST(Tempo, TheLastTempoEventWinsAndWithoutOneTheDefaultApplies)
{
    TMidiFile file;
    EXPECT_EQ(file.Bpm(), 0);
    ASSERT_EQ(loadReportingError(file, fileWithTempos(480, {500000, 1000000})), QString());
    EXPECT_EQ(file.Bpm(), 60);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 1000000.0 / 480);
    // A tempo of 0 changes nothing.
    ASSERT_EQ(loadReportingError(file, fileWithTempos(100, {600000, 0})), QString());
    EXPECT_EQ(file.Bpm(), 100);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 6000.0);

    // No tempo event: 120 bpm, whatever the file before had.
    ASSERT_EQ(loadReportingError(file, fileWithTempos(96, {})), QString());
    EXPECT_EQ(file.Bpm(), 120);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 500000.0 / 96);
    EXPECT_EQ(file.SongLengthMs(), 500);
    ASSERT_EQ(loadReportingError(file, fileWithTempos(0, {})), QString());
    EXPECT_EQ(file.Bpm(), 120);
    EXPECT_EQ(file.MicrosecondsPerTick(), 0.0);
}

TEST(Tempo, ATempoEventWithoutDivisionFailsAndChangesNothing)
{
    TMidiFile file;
    SmfWriter w;
    w.header(0, 1, 0).beginTrack().noteOn(0, 0, 60, 100).tempo(0, 400000).noteOff(10, 0, 60).endTrack();
    EXPECT_EQ(loadReportingError(file, w.bytes()), "Floating point division by zero");
    EXPECT_EQ(file.Bpm(), 120);
    EXPECT_EQ(file.MicrosecondsPerTick(), 0.0);
    ASSERT_EQ(file.NumberOfTracks(), 1);
    EXPECT_EQ(file.TrackAt(0)->EventCount(), 1); // the tempo event is not kept
    EXPECT_EQ(file.TrackAt(0)->Channel(), 1);

    // A tempo that took effect before the failure stays.
    SmfWriter late;
    late.header(0, 2, 480).beginTrack().tempo(0, 750000).endTrack();
    late.header(0, 2, 0).beginTrack().tempo(0, 400000).endTrack();
    EXPECT_EQ(loadReportingError(file, late.bytes()), "Floating point division by zero");
    EXPECT_EQ(file.Bpm(), 80);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 750000.0 / 480);
}

TEST(Tempo, SetterRoundsThroughWholeMicrosecondsAndRejectsImpossibleValues)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, fileWithTempos(480, {500001})), QString());
    EXPECT_EQ(file.Bpm(), 119);
    file.SetBpm(119); // the same value does not even recompute the tick duration
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 500001.0 / 480);
    file.SetBpm(45000);
    EXPECT_EQ(file.Bpm(), 45011);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 1333.0 / 480);

    EXPECT_EQ(setBpmReportingError(file, 0), "Division by zero");
    EXPECT_EQ(setBpmReportingError(file, -5), "Tempo out of range (-5 beats per minute)");
    EXPECT_EQ(setBpmReportingError(file, 60000001), "Tempo out of range (60000001 beats per minute)");
    EXPECT_EQ(file.Bpm(), 45011);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 1333.0 / 480);
    file.SetBpm(60000000);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 1.0 / 480);

    TMidiFile noDivision;
    EXPECT_EQ(setBpmReportingError(noDivision, 0), QString()); // equal to the current 0
    EXPECT_EQ(setBpmReportingError(noDivision, 100), "Floating point division by zero");
    EXPECT_EQ(noDivision.Bpm(), 0);
}
