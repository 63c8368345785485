#include "SequencerTestSupport.h"

#include <QTemporaryDir>
#include <QFile>

using harmonet::SmfWriter;

TEST(SmfWriter, VariableLengthQuantities)
{
    EXPECT_EQ(SmfWriter::vlqBytes(0), QByteArray::fromHex("00"));
    EXPECT_EQ(SmfWriter::vlqBytes(0x7F), QByteArray::fromHex("7f"));
    EXPECT_EQ(SmfWriter::vlqBytes(0x80), QByteArray::fromHex("8100"));
    EXPECT_EQ(SmfWriter::vlqBytes(0x2000), QByteArray::fromHex("c000"));
    EXPECT_EQ(SmfWriter::vlqBytes(0x0FFFFFFF), QByteArray::fromHex("ffffff7f"));
    EXPECT_EQ(SmfWriter::vlqBytes(0x10000000), QByteArray::fromHex("8180808000"));
}

TEST(SmfWriter, ChunksCarryTheirLengthsAndEventsTheirBytes)
{
    SmfWriter w;
    w.header(1, 1, 480);
    w.beginTrack().noteOn(0, 2, 60, 100).running(0x10, 60, 0).tempo(0, 500000).sysex(0, 0xF0, QByteArray::fromHex("7e7f"))
        .endOfTrack().endTrack();
    w.chunkDeclaring("MTrk", 100, QByteArray(1, '\0'));
    w.raw("ab");
    EXPECT_EQ(w.bytes().toHex().toStdString(),
              std::string("4d546864000000060001000101e0"
                         "4d54726b00000017" "00923c64" "103c00" "00ff510307a120" "00f0027e7f" "00ff2f00"
                         "4d54726b00000064" "00"
                         "6162"));
}

TEST(SmfWriter, AnOpenTrackIsClosedByBytesAndSaveTo)
{
    SmfWriter w;
    w.beginTrack().programChange(0, 0, 5);
    EXPECT_EQ(w.bytes().toHex(), QByteArray("4d54726b0000000300c005"));
    QTemporaryDir dir;
    const QString path = dir.filePath("open.mid");
    w.saveTo(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), w.bytes());
    EXPECT_THROW(w.saveTo(dir.filePath("missing/folder/x.mid")), harmonet::Exception);
}
