// How the reader turns chunks and events of every shape into tracks.
#include "SequencerTestSupport.h"

using namespace harmonet;
using harmonet::test::loadReportingError;
using harmonet::test::textOf;

namespace {

QByteArray choirFile()
{
    SmfWriter w;
    w.header(1, 4, 480);
    w.beginTrack().meta(0, SmfWriter::TrackName, "Tempo").tempo(0, 500000).endOfTrack().endTrack();
    w.beginTrack().meta(0, SmfWriter::TrackName, "Soprano").programChange(0, 0, 52)
        .controlChange(0, 0, 7, 100).controlChange(0, 0, 10, 20)
        .noteOn(0, 0, 72, 90).noteOff(480, 0, 72).endOfTrack().endTrack();
    w.beginTrack().meta(0, SmfWriter::TrackName, "Alto").meta(0, SmfWriter::InstrumentName, "Voice")
        .noteOn(0, 1, 65, 90).noteOff(960, 1, 65).endOfTrack(10).endTrack();
    w.beginTrack().programChange(0, 2, 19).meta(0, SmfWriter::InstrumentName, "Organ pipes")
        .noteOn(0, 0, 48, 80).noteOn(0, 2, 48, 80).endOfTrack().endTrack();
    return w.bytes();
}

} // namespace

TEST(ReaderShapes, FormatOneChoirFileGivesOneTrackPerChunkWithItsFacts)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, choirFile()), QString());
    ASSERT_EQ(file.NumberOfTracks(), 4);
    EXPECT_EQ(file.FileFormat(), TFileFormat::multi_synch);
    EXPECT_EQ(file.TicksPerQuarter(), 480);

    TMidiTrack* tempo = file.TrackAt(0);
    EXPECT_EQ(tempo->TrackName(), "Tempo");
    EXPECT_EQ(tempo->Channel(), 0);
    EXPECT_EQ(tempo->CountChannelEvents(), 0);

    TMidiTrack* soprano = file.TrackAt(1);
    EXPECT_EQ(soprano->TrackName(), "Soprano");
    EXPECT_EQ(soprano->ProgramNumber(), 52);
    EXPECT_EQ(soprano->InstrumentName(), "Choir Aahs");
    EXPECT_EQ(soprano->Volume(), 100);
    EXPECT_EQ(soprano->Pan(), 20);
    EXPECT_EQ(soprano->Channel(), 1);
    EXPECT_EQ(soprano->CountChannelEvents(), 5);
    EXPECT_EQ(soprano->TrackNumber(), 1);
    EXPECT_EQ(soprano->LastEventTicks(), 480);

    TMidiTrack* alto = file.TrackAt(2);
    EXPECT_EQ(alto->InstrumentName(), "Voice");
    EXPECT_EQ(alto->ProgramNumber(), 0);
    EXPECT_EQ(alto->Channel(), 2);
    EXPECT_EQ(alto->LastEventTicks(), 970);
    EXPECT_EQ(alto->TickTotal(), 970);

    // The instrument meta event came after the program change, and the last
    // note-on's channel wins.
    TMidiTrack* organ = file.TrackAt(3);
    EXPECT_EQ(organ->InstrumentName(), "Organ pipes");
    EXPECT_EQ(organ->ProgramNumber(), 19);
    EXPECT_EQ(organ->Channel(), 3);
    EXPECT_EQ(file.TrackForChannel(3), organ);
    EXPECT_EQ(file.TrackForChannel(1), soprano);
    EXPECT_EQ(file.TrackForChannel(16), tempo);

    for (int i = 0; i < file.NumberOfTracks(); ++i) {
        EXPECT_EQ(file.TrackAt(i)->NextIndex(), 0);
        EXPECT_FALSE(file.TrackAt(i)->Ended());
        EXPECT_FALSE(file.TrackAt(i)->Muted());
    }
}

TEST(ReaderShapes, EventFieldsAndAccessorsOfATrack)
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().noteOn(5, 3, 60, 100).controlChange(7, 3, 64, 127).channel(0, 0xE3, 0x00, 0x40)
        .channel(1, 0xD3, 0x30).meta(2, SmfWriter::Lyric, QByteArray("Hal\0lo", 6)).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    EXPECT_EQ(file.FileFormat(), TFileFormat::single);
    const TMidiTrack* track = file.TrackAt(0);
    ASSERT_EQ(track->EventCount(), 5);
    EXPECT_EQ(track->EventAt(-1), nullptr);
    EXPECT_EQ(track->EventAt(5), nullptr);

    PMidiEvent bend = track->EventAt(2);
    EXPECT_EQ(bend->Status, 0xE3);
    EXPECT_EQ(bend->Value1, 0x00);
    EXPECT_EQ(bend->Value2, 0x40);
    EXPECT_EQ(bend->Ticks, 12);
    PMidiEvent pressure = track->EventAt(3);
    EXPECT_EQ(pressure->Status, 0xD3);
    EXPECT_EQ(pressure->Value1, 0x30);
    EXPECT_EQ(pressure->Value2, 0);
    EXPECT_EQ(pressure->DeltaTicks, 1);
    PMidiEvent lyric = track->EventAt(4);
    EXPECT_EQ(lyric->Status, 0xFF);
    EXPECT_EQ(lyric->Value1, SmfWriter::Lyric);
    EXPECT_EQ(lyric->Value2, 0);
    EXPECT_EQ(textOf(lyric), QByteArray("Hal"));
    EXPECT_EQ(lyric->Ticks, 15);
    EXPECT_TRUE(track->EventAt(0)->Text().isEmpty());
}

TEST(ReaderShapes, FormatsHeaderVariantsAndDivisions)
{
    TMidiFile file;
    for (quint16 format : {0, 1, 2}) {
        SmfWriter w;
        w.header(format, 0, 0xE728);
        ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
        EXPECT_EQ(int(file.FileFormat()), format);
        EXPECT_EQ(file.NumberOfTracks(), 0);
        // A time-code division is read as ticks per quarter note.
        EXPECT_EQ(file.TicksPerQuarter(), 0xE728);
    }

    // An unknown format keeps the previous one; only byte 1 of the word counts.
    SmfWriter unknown;
    unknown.header(7, 0, 96);
    ASSERT_EQ(loadReportingError(file, unknown.bytes()), QString());
    EXPECT_EQ(file.FileFormat(), TFileFormat::multi_asynch);
    EXPECT_EQ(file.TicksPerQuarter(), 96);
    SmfWriter highByte;
    highByte.header(0x0100, 0, 96);
    ASSERT_EQ(loadReportingError(file, highByte.bytes()), QString());
    EXPECT_EQ(file.FileFormat(), TFileFormat::single);

    // A short header takes only the fields it holds, and the next chunk is
    // still found where the short length says.
    SmfWriter shortHeader;
    shortHeader.chunk("MThd", QByteArray::fromHex("0001001e01"));
    shortHeader.beginTrack().noteOn(0, 0, 60, 1).endTrack();
    ASSERT_EQ(loadReportingError(file, shortHeader.bytes()), QString());
    EXPECT_EQ(file.FileFormat(), TFileFormat::multi_synch);
    EXPECT_EQ(file.TicksPerQuarter(), 96);
    EXPECT_EQ(file.NumberOfTracks(), 1);

    // A file without a header keeps the header fields.
    SmfWriter noHeader;
    noHeader.beginTrack().endTrack();
    ASSERT_EQ(loadReportingError(file, noHeader.bytes()), QString());
    EXPECT_EQ(file.TicksPerQuarter(), 96);
    EXPECT_EQ(file.NumberOfTracks(), 1);
}

TEST(ReaderShapes, EmptyAndUnknownChunksAndTrailingZeroBytes)
{
    SmfWriter w;
    w.header(1, 3, 480);
    w.beginTrack().endTrack();
    w.chunk("Junk", "not a track at all");
    w.beginTrack().noteOn(0, 4, 60, 100).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    ASSERT_EQ(file.NumberOfTracks(), 2);
    const TMidiTrack* empty = file.TrackAt(0);
    EXPECT_EQ(empty->EventCount(), 0);
    EXPECT_EQ(empty->LastEventTicks(), 0);
    EXPECT_EQ(empty->Channel(), 0);
    EXPECT_EQ(file.TrackAt(1)->TrackNumber(), 1);
    EXPECT_EQ(file.TrackAt(1)->Channel(), 5);

    // Eight zero bytes are an unknown chunk of length 0; one more is a stray byte.
    EXPECT_EQ(loadReportingError(file, w.bytes() + QByteArray(8, '\0')), QString());
    EXPECT_EQ(file.NumberOfTracks(), 2);
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
    // 00 90 3C 40 10 3C 00: a note-on and a second 0x90 event under running status.
    w.beginTrack().raw(QByteArray::fromHex("00903c40103c00"));
    // After a meta event its status is the running status: the next bytes
    // are read as another meta event.
    w.meta(0, SmfWriter::Text, "x").raw(QByteArray::fromHex("000101" "41"));
    // After a system-exclusive event the bytes without status are another one.
    w.sysex(0, 0xF0, QByteArray::fromHex("7e7f0901f7")).raw(QByteArray::fromHex("0002" "3132"));
    // A status byte alone (tune request) and running status after it.
    w.raw(QByteArray::fromHex("00f6" "00c5" "07" "0009"));
    w.endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    const TMidiTrack* track = file.TrackAt(0);
    ASSERT_EQ(track->EventCount(), 9);
    EXPECT_EQ(track->EventAt(1)->Status, 0x90);
    EXPECT_EQ(track->EventAt(1)->Value1, 0x3C);
    EXPECT_EQ(track->EventAt(1)->Value2, 0);
    EXPECT_EQ(track->EventAt(1)->Ticks, 16);
    EXPECT_EQ(track->EventAt(0)->NoteTicks, 16);
    EXPECT_EQ(track->EventAt(1)->NoteTicks, -1);

    PMidiEvent repeatedMeta = track->EventAt(3);
    EXPECT_EQ(repeatedMeta->Status, 0xFF);
    EXPECT_EQ(repeatedMeta->Value1, 0x01);
    EXPECT_EQ(textOf(repeatedMeta), "A");

    PMidiEvent sysex = track->EventAt(4);
    EXPECT_EQ(sysex->Status, 0xF0);
    EXPECT_EQ(sysex->Value1, 0);
    EXPECT_TRUE(sysex->Text().isEmpty());
    EXPECT_EQ(track->EventAt(5)->Status, 0xF0);
    EXPECT_EQ(track->EventAt(6)->Status, 0xF6);
    EXPECT_EQ(track->EventAt(7)->Status, 0xC5);
    EXPECT_EQ(track->EventAt(7)->Value1, 7);
    EXPECT_EQ(track->EventAt(8)->Status, 0xC5);
    EXPECT_EQ(track->EventAt(8)->Value1, 9);
    EXPECT_EQ(track->ProgramNumber(), 9);
}

TEST(ReaderShapes, EventsBeforeTheFirstStatusByteAreDeltaTimesAlone)
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().raw(QByteArray::fromHex("0510" "0090407f")).endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    const TMidiTrack* track = file.TrackAt(0);
    ASSERT_EQ(track->EventCount(), 3);
    EXPECT_EQ(track->EventAt(0)->Status, 0);
    EXPECT_EQ(track->EventAt(0)->Ticks, 5);
    EXPECT_EQ(track->EventAt(1)->Status, 0);
    EXPECT_EQ(track->EventAt(1)->Ticks, 21);
    EXPECT_EQ(track->EventAt(2)->Status, 0x90);
    EXPECT_EQ(track->CountChannelEvents(), 3);
}

TEST(ReaderShapes, DataBytesAreTakenAsReadEvenWithTheTopBitSet)
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().raw(QByteArray::fromHex("00c090")).meta(0, SmfWriter::Text, "end").endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    const TMidiTrack* track = file.TrackAt(0);
    ASSERT_EQ(track->EventCount(), 2);
    EXPECT_EQ(track->EventAt(0)->Value1, 144);
    EXPECT_EQ(track->ProgramNumber(), 144);
    EXPECT_EQ(track->InstrumentName(), "Acoustic Grand Piano");
}

TEST(ReaderShapes, LongDeltaTimesAreClampedAndTicksSaturate)
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().raw(QByteArray::fromHex("ffffffffff7f" "903c40"));
    for (int i = 0; i < 8; ++i) {
        w.running(0x0FFFFFFF, 0x3D, 0x40);
    }
    w.endTrack();
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, w.bytes()), QString());
    const TMidiTrack* track = file.TrackAt(0);
    ASSERT_EQ(track->EventCount(), 9);
    EXPECT_EQ(track->EventAt(0)->DeltaTicks, 0x0FFFFFFF);
    EXPECT_EQ(track->EventAt(0)->Ticks, 0x0FFFFFFF);
    for (int i = 1; i < track->EventCount(); ++i) {
        EXPECT_GE(track->EventAt(i)->Ticks, track->EventAt(i - 1)->Ticks);
    }
    EXPECT_EQ(track->LastEventTicks(), 2147483647);
    EXPECT_EQ(track->TickTotal(), 2147483647);
}

TEST(ReaderShapes, TextsStayValidAndByteExactUntilTheNextLoad)
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().meta(0, SmfWriter::Lyric, "\xe6\x98\x8e").meta(0, SmfWriter::TrackName, "B\xe4ss")
        .meta(0, SmfWriter::TrackName, "").endTrack();
    TMidiFile file;
    QByteArray bytes = w.bytes();
    ASSERT_EQ(loadReportingError(file, bytes), QString());
    bytes.fill('\0'); // the caller's buffer changes; the loaded texts do not
    const TMidiTrack* track = file.TrackAt(0);
    EXPECT_EQ(textOf(track->EventAt(0)), QByteArray("\xe6\x98\x8e"));
    EXPECT_EQ(textOf(track->EventAt(1)), QByteArray("B\xe4ss"));
    // The last track name counts, also when empty.
    EXPECT_EQ(track->TrackName(), QString());
}
