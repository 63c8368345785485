// Note lengths: each note-off is matched to the latest note-on of its channel and key.
#include "SequencerTestSupport.h"

using namespace harmonet;
using harmonet::test::loadReportingError;

namespace {

// NoteTicks of every event of every track.
std::vector<std::vector<qint32>> noteTicksOf(SmfWriter& w)
{
    TMidiFile file;
    EXPECT_EQ(loadReportingError(file, w.bytes()), QString());
    std::vector<std::vector<qint32>> out;
    for (int i = 0; i < file.NumberOfTracks(); ++i) {
        out.emplace_back();
        for (const TMidiEvent& event : file.TrackAt(i)->Events()) {
            out.back().push_back(event.NoteTicks);
        }
    }
    return out;
}

using Lengths = std::vector<std::vector<qint32>>;

} // namespace

TEST(NoteMatching, NoteOffKindsAndUnmatchedEvents)
{
    SmfWriter w;
    w.beginTrack()
        .noteOn(0, 0, 60, 100)      // ended by a 0x80 note-off
        .noteOn(0, 0, 64, 100)      // ended by a velocity-0 note-on
        .noteOff(10, 0, 60)
        .noteOn(5, 0, 64, 0)
        .noteOff(0, 1, 67)          // nothing to match on channel 2
        .noteOn(0, 2, 70, 100)      // never ended
        .controlChange(0, 2, 70, 0) // not a note
        .endTrack();
    EXPECT_EQ(noteTicksOf(w), (Lengths{{10, 15, -1, -1, 0, 0, 0}}));
}

TEST(NoteMatching, OverlappingNotesOfOnePitchMatchTheLatestEachTime)
{
    SmfWriter w;
    w.beginTrack()
        .noteOn(0, 0, 60, 100) // at 0: never matched
        .noteOn(10, 0, 60, 90) // at 10
        .noteOff(10, 0, 60)    // at 20: matches the note at 10
        .noteOff(10, 0, 60)    // at 30: matches it again
        .noteOn(0, 0, 60, 0)   // at 30: a velocity-0 note-on, matches it too
        .noteOff(5, 0, 60)     // at 35: the latest 0x90 event is the velocity-0 one
        .endTrack();
    EXPECT_EQ(noteTicksOf(w), (Lengths{{0, 20, -1, -1, 5, -1}}));
}

TEST(NoteMatching, KeysAboveTheDataRangeChannelsAndTracksAreKeptApart)
{
    SmfWriter w;
    w.beginTrack().raw(QByteArray::fromHex("0093c840" "00944840" "0783c800" "02834800" "01844800")).endTrack();
    w.beginTrack().noteOff(0, 4, 0x48).noteOn(3, 0, 62, 100).noteOff(4, 3, 0xC8).noteOff(0, 0, 62).endTrack();
    EXPECT_EQ(noteTicksOf(w), (Lengths{{7, 10, -1, 0, -1}, {0, 4, 0, -1}}));
}

TEST(NoteMatching, ManyNoteOffsWithoutNoteOnsLoad)
{
    // Searching backwards for each would take some 2e10 steps.
    constexpr int count = 200000;
    SmfWriter w;
    w.beginTrack().noteOff(0, 0, 60);
    for (int i = 1; i < count; ++i) {
        w.running(1, quint8(i % 128), 64);
    }
    w.endTrack();
    const Lengths lengths = noteTicksOf(w);
    ASSERT_EQ(lengths.size(), 1u);
    EXPECT_EQ(lengths[0], std::vector<qint32>(count, 0));
}
