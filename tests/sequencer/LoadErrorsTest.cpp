// Files that cannot be read completely: the message, and what is kept.
#include "SequencerTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

using namespace harmonet;
using harmonet::test::loadReportingError;

namespace {

QString loadFileReportingError(TMidiFile& file, const QString& path)
{
    file.SetFilename(path);
    try {
        file.LoadSong();
    } catch (const Exception& error) {
        return error.message();
    }
    return QString();
}

QByteArray twoTrackFile()
{
    SmfWriter w;
    w.header(1, 2, 480);
    w.beginTrack().tempo(0, 600000).noteOn(0, 1, 60, 100).noteOff(480, 1, 60).endTrack();
    w.beginTrack().noteOn(0, 4, 62, 100).noteOff(480, 4, 62).endTrack();
    return w.bytes();
}

} // namespace

TEST(LoadErrors, FilesOnDisk)
{
    QTemporaryDir dir;
    TMidiFile file;
    const QString path = dir.filePath("two.mid");
    SmfWriter().raw(twoTrackFile()).saveTo(path);
    EXPECT_EQ(loadFileReportingError(file, path), QString());
    EXPECT_EQ(file.NumberOfTracks(), 2);
    EXPECT_EQ(loadFileReportingError(file, dir.filePath("absent.mid")), "File not found");
    EXPECT_EQ(file.NumberOfTracks(), 0);
    EXPECT_EQ(file.Bpm(), 120);
    EXPECT_EQ(loadFileReportingError(file, QString()), "File not found");
    EXPECT_EQ(loadFileReportingError(file, dir.path()), "Is a directory");
}

TEST(LoadErrors, UnreadableFileIsAccessDenied)
{
    QTemporaryDir dir;
    TMidiFile file;
    const QString path = dir.filePath("locked.mid");
    SmfWriter().raw(twoTrackFile()).saveTo(path);
    QFile::setPermissions(path, QFileDevice::Permissions());
    if (QFile probe(path); probe.open(QIODevice::ReadOnly)) {
        GTEST_SKIP() << "running with the privilege to read any file";
    }
    EXPECT_EQ(loadFileReportingError(file, path), "Access denied");
}

TEST(LoadErrors, TruncatedWrappedHugeAndStrayBytesReadBeyondTheEnd)
{
    const QByteArray whole = twoTrackFile();
    const int secondTrack = whole.lastIndexOf("MTrk");
    TMidiFile file;
    // Cut inside the second track's content, or inside its chunk header: the
    // first track stays and keeps its channel and tempo.
    for (int cut : {3, int(whole.size()) - secondTrack - 5}) {
        EXPECT_EQ(loadReportingError(file, whole.left(whole.size() - cut)), "Read beyond end of file");
        ASSERT_EQ(file.NumberOfTracks(), 1);
        EXPECT_EQ(file.TrackAt(0)->Channel(), 2);
        EXPECT_EQ(file.TrackForChannel(5), file.TrackAt(0));
        EXPECT_EQ(file.Bpm(), 100);
    }
    // Stray bytes after the last chunk: every track has been read.
    for (int stray = 1; stray <= 7; ++stray) {
        EXPECT_EQ(loadReportingError(file, whole + QByteArray(stray, 'x')), "Read beyond end of file");
        ASSERT_EQ(file.NumberOfTracks(), 2);
        EXPECT_EQ(file.TrackForChannel(5), file.TrackAt(1));
    }
    // A container whose lengths are little-endian.
    const QByteArray riff = "RIFF" + QByteArray::fromHex("6e000000") + "RMIDdata" + whole;
    EXPECT_EQ(loadReportingError(file, riff), "Read beyond end of file");
    EXPECT_EQ(file.NumberOfTracks(), 0);
    // A 30-byte file declaring a 4 GB chunk fails before setting anything aside.
    SmfWriter huge;
    huge.header(0, 1, 96).chunkDeclaring("MTrk", 0xFFFFFFFF, QByteArray::fromHex("00903c40aabbccdd"));
    ASSERT_EQ(huge.bytes().size(), 30);
    EXPECT_EQ(loadReportingError(file, huge.bytes()), "Read beyond end of file");

    try {
        file.TrackAt(-1);
        FAIL() << "no error for index -1";
    } catch (const EIndexOutOfBounds& error) {
        EXPECT_EQ(error.message(), "List index out of bounds (-1)");
    }
}

TEST(LoadErrors, AnEventRunningPastItsChunkIsDroppedAndLoadingGoesOn)
{
    const char* cutTails[] = {
        "00ff0532414243", // meta data longer than the chunk
        "00ff05",         // meta length missing
        "00ff0588",       // meta length cut inside
        "00f00a7e7f",     // system-exclusive data cut
        "00903c",         // note-on with one data byte
        "00c0",           // program change without data
        "8181",           // delta time cut inside
        "81",             // one byte left: not read at all
    };
    for (const char* tail : cutTails) {
        SmfWriter w;
        w.header(1, 2, 96);
        w.beginTrack().noteOn(0, 0, 60, 100).raw(QByteArray::fromHex(tail)).endTrack();
        w.beginTrack().noteOn(0, 3, 60, 100).endTrack();
        TMidiFile file;
        ASSERT_EQ(loadReportingError(file, w.bytes()), QString()) << tail;
        ASSERT_EQ(file.NumberOfTracks(), 2);
        EXPECT_EQ(file.TrackAt(0)->EventCount(), 1) << tail;
        EXPECT_EQ(file.TrackAt(1)->Channel(), 4);
    }
}
