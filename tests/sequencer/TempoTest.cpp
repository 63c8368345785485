// The song's one tempo: from the file's tempo events, the default, and the setter.
#include "SequencerTestSupport.h"

using namespace harmonet;
using harmonet::test::loadReportingError;

namespace {

QByteArray fileWithTempos(quint16 division, std::initializer_list<quint32> tempos)
{
    SmfWriter w;
    w.header(1, 2, division);
    w.beginTrack();
    quint64 delta = 1000;
    for (quint32 tempo : tempos) {
        w.tempo(delta, tempo);
        delta = 0;
    }
    w.endTrack();
    w.beginTrack().noteOn(0, 0, 60, 100).noteOff(division, 0, 60).endTrack();
    return w.bytes();
}

} // namespace

TEST(Tempo, TheLastTempoEventOfTheFileWins)
{
    TMidiFile file;
    EXPECT_EQ(file.Bpm(), 0);
    EXPECT_EQ(file.MicrosecondsPerTick(), 0.0);
    ASSERT_EQ(loadReportingError(file, fileWithTempos(480, {500000, 1000000})), QString());
    EXPECT_EQ(file.Bpm(), 60);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 1000000.0 / 480);

    // A tempo of 0 and a tempo event with fewer than three bytes change nothing.
    SmfWriter w;
    w.header(0, 1, 100);
    w.beginTrack().tempo(0, 600000).tempo(0, 0).meta(0, SmfWriter::SetTempo, "\x01\x02").endTrack();
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EXPECT_EQ(file.Bpm(), 100);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 6000.0);
    EXPECT_EQ(file.TrackAt(0)->EventCount(), 3);
}

TEST(Tempo, AFileWithoutTempoPlaysAtTheDefault)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, fileWithTempos(480, {600000})), QString());
    EXPECT_EQ(file.Bpm(), 100);
    ASSERT_EQ(loadReportingError(file, fileWithTempos(96, {})), QString());
    EXPECT_EQ(file.Bpm(), 120);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 500000.0 / 96);

    TMidiFile first;
    ASSERT_EQ(loadReportingError(first, fileWithTempos(480, {})), QString());
    EXPECT_EQ(first.Bpm(), 120);
    EXPECT_DOUBLE_EQ(first.MicrosecondsPerTick(), 500000.0 / 480);
    EXPECT_EQ(first.SongLengthMs(), 500);

    ASSERT_EQ(loadReportingError(first, fileWithTempos(0, {})), QString());
    EXPECT_EQ(first.Bpm(), 120);
    EXPECT_EQ(first.MicrosecondsPerTick(), 0.0);
}

TEST(Tempo, ATempoEventWithoutDivisionFailsAndChangesNothing)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, fileWithTempos(480, {600000})), QString());
    SmfWriter w;
    w.header(0, 1, 0);
    w.beginTrack().noteOn(0, 0, 60, 100).tempo(0, 400000).noteOff(10, 0, 60).endTrack();
    EXPECT_EQ(loadReportingError(file, w.bytes()), "Floating point division by zero");
    // The failed load set no tempo: the default applies, with no tick duration.
    EXPECT_EQ(file.Bpm(), 120);
    EXPECT_EQ(file.MicrosecondsPerTick(), 0.0);
    ASSERT_EQ(file.NumberOfTracks(), 1);
    EXPECT_EQ(file.TrackAt(0)->EventCount(), 1);
    EXPECT_EQ(file.TrackAt(0)->Channel(), 1);

    // A tempo that took effect before the failure stays.
    SmfWriter late;
    late.header(0, 2, 480);
    late.beginTrack().tempo(0, 750000).endTrack();
    late.header(0, 2, 0);
    late.beginTrack().tempo(0, 400000).endTrack();
    EXPECT_EQ(loadReportingError(file, late.bytes()), "Floating point division by zero");
    EXPECT_EQ(file.Bpm(), 80);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 750000.0 / 480);
}

TEST(Tempo, SetterKeepsPositionAndRejectsImpossibleValues)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, fileWithTempos(480, {500001})), QString());
    EXPECT_EQ(file.Bpm(), 119);
    // The same value does nothing, not even recompute the tick duration.
    file.SetBpm(119);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 500001.0 / 480);

    file.SetBpm(60);
    EXPECT_EQ(file.Bpm(), 60);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 1000000.0 / 480);
    // Above 2000 the whole microseconds per quarter round the tempo.
    file.SetBpm(45000);
    EXPECT_EQ(file.Bpm(), 45011);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 1333.0 / 480);

    const double before = file.MicrosecondsPerTick();
    const int bpm = file.Bpm();
    const auto messageOf = [&](int value) {
        try {
            file.SetBpm(value);
        } catch (const Exception& error) {
            return error.message();
        }
        return QString();
    };
    EXPECT_EQ(messageOf(0), "Division by zero");
    EXPECT_EQ(messageOf(-5), "Tempo out of range (-5 beats per minute)");
    EXPECT_EQ(messageOf(60000001), "Tempo out of range (60000001 beats per minute)");
    EXPECT_EQ(file.Bpm(), bpm);
    EXPECT_EQ(file.MicrosecondsPerTick(), before);
    file.SetBpm(60000000);
    EXPECT_EQ(file.Bpm(), 60000000);
    EXPECT_DOUBLE_EQ(file.MicrosecondsPerTick(), 1.0 / 480);

    TMidiFile noDivision;
    EXPECT_NO_THROW(noDivision.SetBpm(0)); // equal to the current 0: nothing happens
    EXPECT_THROW(noDivision.SetBpm(100), EFloatDivisionByZero);
    EXPECT_EQ(noDivision.Bpm(), 0);
}
