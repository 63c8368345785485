// Note lengths: each note-off is matched to the latest note-on of its channel and key.
#include "SequencerTestSupport.h"

using namespace harmonet;
using harmonet::test::loadReportingError;

namespace {

const TMidiTrack* loadSingleTrack(TMidiFile& file, SmfWriter& w)
{
    SmfWriter whole;
    whole.header(0, 1, 96);
    QByteArray bytes = whole.bytes() + w.bytes();
    EXPECT_EQ(loadReportingError(file, bytes), QString());
    return file.NumberOfTracks() > 0 ? file.TrackAt(0) : nullptr;
}

std::vector<qint32> noteTicks(const TMidiTrack* track)
{
    std::vector<qint32> out;
    for (const TMidiEvent& event : track->Events()) {
        out.push_back(event.NoteTicks);
    }
    return out;
}

} // namespace

TEST(NoteMatching, NoteOffKindsAndUnmatchedEvents)
{
    SmfWriter w;
    w.beginTrack()
        .noteOn(0, 0, 60, 100)   // 0: ended by a 0x80 note-off
        .noteOn(0, 0, 64, 100)   // 1: ended by a velocity-0 note-on
        .noteOff(10, 0, 60)      // 2
        .noteOn(5, 0, 64, 0)     // 3
        .noteOff(0, 1, 67)       // 4: nothing to match on channel 2
        .noteOn(0, 2, 70, 100)   // 5: never ended
        .controlChange(0, 2, 70, 0) // 6: not a note
        .endTrack();
    TMidiFile file;
    const TMidiTrack* track = loadSingleTrack(file, w);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(noteTicks(track), (std::vector<qint32>{10, 15, -1, -1, 0, 0, 0}));
}

TEST(NoteMatching, OverlappingNotesOfOnePitchMatchTheLatestEachTime)
{
    SmfWriter w;
    w.beginTrack()
        .noteOn(0, 0, 60, 100)  // 0 at 0
        .noteOn(10, 0, 60, 90)  // 1 at 10
        .noteOff(10, 0, 60)     // 2 at 20: matches 1
        .noteOff(10, 0, 60)     // 3 at 30: matches 1 again, never 0
        .noteOn(0, 0, 60, 0)    // 4 at 30: a velocity-0 note-on, matches 1 too
        .noteOff(5, 0, 60)      // 5 at 35: the latest 0x90 event is now 4 itself
        .endTrack();
    TMidiFile file;
    const TMidiTrack* track = loadSingleTrack(file, w);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(noteTicks(track), (std::vector<qint32>{0, 20, -1, -1, 5, -1}));
}

TEST(NoteMatching, KeysAboveTheDataRangeAndChannelsAreKeptApart)
{
    SmfWriter w;
    w.beginTrack()
        .raw(QByteArray::fromHex("0093c840"))  // 0: note-on channel 4, key 0xC8 as read
        .raw(QByteArray::fromHex("00944840"))  // 1: channel 5, key 0x48
        .raw(QByteArray::fromHex("0783c800"))  // 2: note-off channel 4, key 0xC8
        .raw(QByteArray::fromHex("02834800"))  // 3: channel 4 key 0x48: nothing
        .raw(QByteArray::fromHex("01844800"))  // 4: channel 5 key 0x48
        .endTrack();
    TMidiFile file;
    const TMidiTrack* track = loadSingleTrack(file, w);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(noteTicks(track), (std::vector<qint32>{7, 10, -1, 0, -1}));
}

TEST(NoteMatching, NoteOnsOfOneTrackAreNotMatchedFromAnother)
{
    SmfWriter w;
    w.header(1, 2, 96);
    w.beginTrack().noteOn(0, 0, 60, 100).noteOn(0, 0, 61, 100).endTrack();
    w.beginTrack().noteOff(0, 0, 61).noteOn(3, 0, 62, 100).noteOff(4, 0, 60).noteOff(0, 0, 62).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EXPECT_EQ(noteTicks(file.TrackAt(0)), (std::vector<qint32>{0, 0}));
    EXPECT_EQ(noteTicks(file.TrackAt(1)), (std::vector<qint32>{0, 4, 0, -1}));
}

TEST(NoteMatching, ManyNoteOffsWithoutNoteOnsLoad)
{
    // Searching backwards for each would take some 2e10 steps; the table
    // answers each in one.
    constexpr int count = 200000;
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().noteOff(0, 0, 60);
    for (int i = 1; i < count; ++i) {
        w.running(1, quint8(i % 128), 64);
    }
    w.endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    const TMidiTrack* track = file.TrackAt(0);
    ASSERT_EQ(track->EventCount(), count);
    EXPECT_EQ(track->LastEventTicks(), count - 1);
    for (const TMidiEvent& event : track->Events()) {
        ASSERT_EQ(event.NoteTicks, 0);
    }
}
