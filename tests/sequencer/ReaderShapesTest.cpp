// How the reader turns chunks and events of every shape into tracks.
#include "SequencerTestSupport.h"

using namespace harmonet;
using harmonet::test::loadReportingError;
using harmonet::test::textOf;

TEST(ReaderShapes, FormatOneChoirFileGivesOneTrackPerChunkWithItsFacts)
{
    SmfWriter w;
    w.header(1, 4, 480);
    w.beginTrack().meta(0, SmfWriter::TrackName, "Tempo").tempo(0, 500000).endOfTrack().endTrack();
    w.beginTrack().meta(0, SmfWriter::TrackName, "Soprano").programChange(0, 0, 52)
        .controlChange(0, 0, 7, 100).controlChange(0, 0, 10, 20).channel(0, 0xE0, 0x00, 0x40)
        .noteOn(5, 0, 72, 90).noteOff(480, 0, 72).endTrack();
    w.beginTrack().meta(0, SmfWriter::InstrumentName, "Voice").noteOn(0, 1, 65, 90).endOfTrack(970).endTrack();
    // The instrument meta event comes after the program change; the last note-on's channel wins.
    w.beginTrack().programChange(0, 2, 19).meta(0, SmfWriter::InstrumentName, "Organ pipes")
        .noteOn(0, 0, 48, 80).noteOn(0, 2, 48, 80).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    ASSERT_EQ(file.NumberOfTracks(), 4);
    EXPECT_EQ(file.FileFormat(), TFileFormat::multi_synch);
    EXPECT_EQ(file.TicksPerQuarter(), 480);

    const TMidiTrack* tempo = file.TrackAt(0);
    EXPECT_EQ(tempo->TrackName(), "Tempo");
    EXPECT_EQ(tempo->Channel(), 0);
    EXPECT_EQ(tempo->CountChannelEvents(), 0);

    const TMidiTrack* soprano = file.TrackAt(1);
    EXPECT_EQ(soprano->ProgramNumber(), 52);
    EXPECT_EQ(soprano->InstrumentName(), "Choir Aahs");
    EXPECT_EQ(soprano->Volume(), 100);
    EXPECT_EQ(soprano->Pan(), 20);
    EXPECT_EQ(soprano->Channel(), 1);
    EXPECT_EQ(soprano->CountChannelEvents(), 6);
    EXPECT_EQ(soprano->LastEventTicks(), 485);
    PMidiEvent bend = soprano->EventAt(4);
    EXPECT_EQ(std::tuple(bend->Status, bend->Value1, bend->Value2, bend->Ticks), std::tuple(0xE0, 0x00, 0x40, 0));
    EXPECT_EQ(soprano->EventAt(-1), nullptr);
    EXPECT_EQ(soprano->EventAt(soprano->EventCount()), nullptr);

    EXPECT_EQ(file.TrackAt(2)->InstrumentName(), "Voice");
    EXPECT_EQ(file.TrackAt(2)->LastEventTicks(), 970);
    const TMidiTrack* organ = file.TrackAt(3);
    EXPECT_EQ(organ->InstrumentName(), "Organ pipes");
    EXPECT_EQ(organ->ProgramNumber(), 19);
    EXPECT_EQ(organ->TrackNumber(), 3);
    EXPECT_EQ(file.TrackForChannel(3), organ);
    EXPECT_EQ(file.TrackForChannel(1), soprano);
    EXPECT_EQ(file.TrackForChannel(16), tempo);
}

TEST(ReaderShapes, FormatsHeaderVariantsAndDivisions)
{
    TMidiFile file;
    for (quint16 format : {0, 1, 2}) {
        ASSERT_EQ(loadReportingError(file, SmfWriter().header(format, 0, 0xE728).bytes()), QString());
        EXPECT_EQ(int(file.FileFormat()), format);
        // A time-code division is read as ticks per quarter note.
        EXPECT_EQ(file.TicksPerQuarter(), 0xE728);
    }
    // An unknown format keeps the previous one; only the low byte of the word counts.
    ASSERT_EQ(loadReportingError(file, SmfWriter().header(7, 0, 96).bytes()), QString());
    EXPECT_EQ(file.FileFormat(), TFileFormat::multi_asynch);
    ASSERT_EQ(loadReportingError(file, SmfWriter().header(0x0100, 0, 96).bytes()), QString());
    EXPECT_EQ(file.FileFormat(), TFileFormat::single);

    // A short header gives only the fields it holds; the next chunk is found
    // where its length says. A file without a header keeps the fields.
    SmfWriter shortHeader;
    shortHeader.chunk("MThd", QByteArray::fromHex("0001001e01")).beginTrack().endTrack();
    ASSERT_EQ(loadReportingError(file, shortHeader.bytes()), QString());
    EXPECT_EQ(file.FileFormat(), TFileFormat::multi_synch);
    EXPECT_EQ(file.TicksPerQuarter(), 96);
    EXPECT_EQ(file.NumberOfTracks(), 1);
}

TEST(ReaderShapes, EmptyAndUnknownChunksAndTrailingZeroBytes)
{
    SmfWriter w;
    w.header(1, 3, 480).beginTrack().endTrack().chunk("Junk", "not a track").beginTrack().noteOn(0, 4, 60, 1).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    ASSERT_EQ(file.NumberOfTracks(), 2);
    EXPECT_EQ(file.TrackAt(0)->EventCount(), 0);
    EXPECT_EQ(file.TrackAt(0)->LastEventTicks(), 0);
    EXPECT_EQ(file.TrackAt(0)->Channel(), 0);
    EXPECT_EQ(file.TrackAt(1)->Channel(), 5);

    // Eight zero bytes are an unknown chunk of length 0; more are stray bytes.
    EXPECT_EQ(loadReportingError(file, w.bytes() + QByteArray(8, '\0')), QString());
    for (int extra = 9; extra <= 15; ++extra) {
        EXPECT_EQ(loadReportingError(file, w.bytes() + QByteArray(extra, '\0')), "Read beyond end of file");
        EXPECT_EQ(file.NumberOfTracks(), 2);
    }
    EXPECT_EQ(loadReportingError(file, QByteArray()), QString());
    EXPECT_EQ(file.NumberOfTracks(), 0);
}

TEST(ReaderShapes, RunningStatusCarriesAcrossEventsMetaAndSysex)
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().raw(QByteArray::fromHex("00903c40103c00"));
    // A meta event's status is the running status after it: the next bytes
    // are another meta event. The same holds for system exclusive.
    w.meta(0, SmfWriter::Lyric, QByteArray("Hal\0lo", 6)).raw(QByteArray::fromHex("00010141"));
    w.sysex(0, 0xF0, QByteArray::fromHex("7e7f0901f7")).raw(QByteArray::fromHex("00023132"));
    // A status byte alone (tune request), then a program change under running status.
    w.raw(QByteArray::fromHex("00f6" "00c507" "0009")).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    const TMidiTrack* track = file.TrackAt(0);
    ASSERT_EQ(track->EventCount(), 9);
    PMidiEvent second = track->EventAt(1);
    EXPECT_EQ(std::tuple(second->Status, second->Value1, second->Value2, second->Ticks), std::tuple(0x90, 0x3C, 0, 16));
    EXPECT_EQ(track->EventAt(0)->NoteTicks, 16);
    EXPECT_EQ(second->NoteTicks, -1);
    EXPECT_EQ(textOf(track->EventAt(2)), "Hal");
    EXPECT_EQ(track->EventAt(3)->Value1, SmfWriter::Text);
    EXPECT_EQ(textOf(track->EventAt(3)), "A");
    const std::vector<int> statuses = {0xF0, 0xF0, 0xF6, 0xC5, 0xC5};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(track->EventAt(4 + i)->Status, statuses[size_t(i)]) << i;
    }
    EXPECT_TRUE(track->EventAt(4)->Text().isEmpty());
    EXPECT_EQ(track->ProgramNumber(), 9);
}

TEST(ReaderShapes, OddBytesAreTakenAsRead)
{
    SmfWriter w;
    w.header(0, 1, 96);
    // Before the first status byte an event is its delta time alone; a data
    // byte with the top bit set is still data; a long delta time is clamped.
    w.beginTrack().raw(QByteArray::fromHex("0510" "00c090" "ffffffffff7f903c40"));
    for (int i = 0; i < 8; ++i) {
        w.running(0x0FFFFFFF, 0x3D, 0x40);
    }
    w.endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    const TMidiTrack* track = file.TrackAt(0);
    ASSERT_EQ(track->EventCount(), 12);
    EXPECT_EQ(std::tuple(track->EventAt(0)->Status, track->EventAt(0)->Ticks), std::tuple(0, 5));
    EXPECT_EQ(std::tuple(track->EventAt(1)->Status, track->EventAt(1)->Ticks), std::tuple(0, 21));
    EXPECT_EQ(track->EventAt(2)->Value1, 144);
    EXPECT_EQ(track->ProgramNumber(), 144);
    EXPECT_EQ(track->InstrumentName(), "Acoustic Grand Piano");
    EXPECT_EQ(track->EventAt(3)->DeltaTicks, 0x0FFFFFFF);
    // Ticks saturate and never decrease.
    for (int i = 1; i < track->EventCount(); ++i) {
        EXPECT_GE(track->EventAt(i)->Ticks, track->EventAt(i - 1)->Ticks);
    }
    EXPECT_EQ(track->LastEventTicks(), 2147483647);
}

TEST(ReaderShapes, TextsAreBytesThatStayValidUntilTheNextLoad)
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().meta(0, SmfWriter::Lyric, "\xe6\x98\x8e").meta(0, SmfWriter::TrackName, "B\xe4ss")
        .meta(0, SmfWriter::TrackName, "").endTrack();
    TMidiFile file;
    QByteArray bytes = w.bytes();
    ASSERT_EQ(loadReportingError(file, bytes), QString());
    bytes.fill('\0'); // the caller's buffer changes; the loaded texts do not
    EXPECT_EQ(textOf(file.TrackAt(0)->EventAt(0)), QByteArray("\xe6\x98\x8e"));
    EXPECT_EQ(textOf(file.TrackAt(0)->EventAt(1)), QByteArray("B\xe4ss"));
    EXPECT_EQ(file.TrackAt(0)->TrackName(), QString()); // the last name counts, also when empty

    QByteArray buffer = w.bytes();
    file.LoadSongFromBytes(QByteArray::fromRawData(buffer.constData(), buffer.size()));
    buffer.fill('\0');
    EXPECT_EQ(textOf(file.TrackAt(0)->EventAt(1)), QByteArray("B\xe4ss"));
}
