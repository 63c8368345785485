#include "SequencerTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

using harmonet::SmfWriter;

TEST(SmfWriter, VariableLengthQuantities)
{
    EXPECT_EQ(SmfWriter::vlqBytes(0).toHex(), "00");
    EXPECT_EQ(SmfWriter::vlqBytes(0x7F).toHex(), "7f");
    EXPECT_EQ(SmfWriter::vlqBytes(0x80).toHex(), "8100");
    EXPECT_EQ(SmfWriter::vlqBytes(0x2000).toHex(), "c000");
    EXPECT_EQ(SmfWriter::vlqBytes(0x0FFFFFFF).toHex(), "ffffff7f");
    EXPECT_EQ(SmfWriter::vlqBytes(0x10000000).toHex(), "8180808000");
}

TEST(SmfWriter, ChunksCarryTheirLengthsAndEventsTheirBytes)
{
    SmfWriter w;
    w.header(1, 1, 480);
    w.beginTrack().noteOn(0, 2, 60, 100).running(0x10, 60, 0).tempo(0, 500000)
        .sysex(0, 0xF0, QByteArray::fromHex("7e7f")).endOfTrack();
    // bytes() closes an open track as if now; more may follow.
    EXPECT_EQ(w.bytes().size(), 14 + 8 + 23);
    w.endTrack().chunkDeclaring("MTrk", 100, QByteArray(1, '\0')).raw("ab");
    EXPECT_EQ(w.bytes().toHex().toStdString(),
              "4d546864000000060001000101e0"
              "4d54726b00000017" "00923c64" "103c00" "00ff510307a120" "00f0027e7f" "00ff2f00"
              "4d54726b00000064" "00"
              "6162");

    QTemporaryDir dir;
    w.saveTo(dir.filePath("song.mid"));
    QFile file(dir.filePath("song.mid"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), w.bytes());
    EXPECT_THROW(w.saveTo(dir.filePath("missing/folder/x.mid")), harmonet::Exception);
}
