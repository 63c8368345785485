// Files that cannot be read completely: the message, and what is kept.
#include "SequencerTestSupport.h"

#include <QDir>
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
    w.beginTrack().noteOn(0, 1, 60, 100).noteOff(480, 1, 60).endTrack();
    w.beginTrack().noteOn(0, 4, 62, 100).noteOff(480, 4, 62).endTrack();
    return w.bytes();
}

} // namespace

TEST(LoadErrors, FilesThatCannotBeOpened)
{
    QTemporaryDir dir;
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, twoTrackFile()), QString());
    EXPECT_EQ(loadFileReportingError(file, dir.filePath("absent.mid")), "File not found");
    EXPECT_EQ(file.NumberOfTracks(), 0);
    EXPECT_EQ(loadFileReportingError(file, QString()), "File not found");
    EXPECT_EQ(loadFileReportingError(file, dir.path()), "Is a directory");
}

TEST(LoadErrors, AnUnreadableFileIsDenied)
{
    QTemporaryDir dir;
    TMidiFile file;
    const QString locked = dir.filePath("locked.mid");
    SmfWriter().header(0, 0, 96).saveTo(locked);
    QFile::setPermissions(locked, QFileDevice::Permissions());
    QFile probe(locked);
    if (probe.open(QIODevice::ReadOnly)) {
        GTEST_SKIP() << "running with the privilege to read any file";
    }
    EXPECT_EQ(loadFileReportingError(file, locked), "Access denied");
}

TEST(LoadErrors, AFileOnDiskLoadsLikeItsBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("two.mid");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(twoTrackFile());
    out.close();
    TMidiFile file;
    EXPECT_EQ(loadFileReportingError(file, path), QString());
    EXPECT_EQ(file.Filename(), path);
    EXPECT_EQ(file.NumberOfTracks(), 2);
    EXPECT_EQ(file.TrackAt(1)->Channel(), 5);
}

TEST(LoadErrors, TruncatedWrappedAndHugeChunksReadBeyondTheEnd)
{
    const QByteArray whole = twoTrackFile();
    TMidiFile file;

    // Cut inside the second track's content: the first track stays.
    EXPECT_EQ(loadReportingError(file, whole.left(whole.size() - 3)), "Read beyond end of file");
    EXPECT_EQ(file.NumberOfTracks(), 1);
    // Cut inside the second track's chunk header.
    EXPECT_EQ(loadReportingError(file, whole.left(14 + 17 + 5)), "Read beyond end of file");
    EXPECT_EQ(file.NumberOfTracks(), 1);

    // A container whose lengths are little-endian.
    QByteArray riff("RIFF");
    riff.append(QByteArray::fromHex("6e000000")).append("RMIDdata").append(whole);
    EXPECT_EQ(loadReportingError(file, riff), "Read beyond end of file");
    EXPECT_EQ(file.NumberOfTracks(), 0);

    // A 30-byte file declaring a 4 GB chunk fails before setting anything aside.
    SmfWriter huge;
    huge.header(0, 1, 96).chunkDeclaring("MTrk", 0xFFFFFFFF, QByteArray::fromHex("00903c40"));
    ASSERT_EQ(huge.bytes().size(), 26);
    EXPECT_EQ(loadReportingError(file, huge.bytes() + "abcd"), "Read beyond end of file");
    EXPECT_EQ(file.NumberOfTracks(), 0);

    // Stray bytes after the last chunk: every track has been read.
    for (int stray = 1; stray <= 7; ++stray) {
        EXPECT_EQ(loadReportingError(file, whole + QByteArray(stray, 'x')), "Read beyond end of file");
        EXPECT_EQ(file.NumberOfTracks(), 2);
        EXPECT_EQ(file.TrackAt(1)->EventCount(), 2);
    }
    EXPECT_THROW(file.TrackAt(2), EIndexOutOfBounds);
}

TEST(LoadErrors, AfterAFailureTheTracksReadKeepTheirChannelsAndTempo)
{
    SmfWriter w;
    w.header(1, 3, 480);
    w.beginTrack().tempo(0, 600000).endTrack();
    w.beginTrack().noteOn(0, 2, 60, 100).noteOn(0, 6, 60, 100).endTrack();
    w.chunkDeclaring("MTrk", 1000, QByteArray::fromHex("0090"));
    TMidiFile file;
    EXPECT_EQ(loadReportingError(file, w.bytes()), "Read beyond end of file");
    ASSERT_EQ(file.NumberOfTracks(), 2);
    EXPECT_EQ(file.TrackAt(1)->Channel(), 7);
    EXPECT_EQ(file.TrackForChannel(7), file.TrackAt(1));
    EXPECT_EQ(file.TrackForChannel(3), file.TrackAt(0));
    EXPECT_EQ(file.Bpm(), 100);

    try {
        file.TrackAt(-1);
        FAIL() << "no error for index -1";
    } catch (const EIndexOutOfBounds& error) {
        EXPECT_EQ(error.message(), "List index out of bounds (-1)");
    }
}

TEST(LoadErrors, AnEventRunningPastItsChunkIsDroppedAndLoadingGoesOn)
{
    const QByteArray cutTails[] = {
        QByteArray::fromHex("00ff0532414243"),   // meta data longer than the chunk
        QByteArray::fromHex("00ff05"),           // meta length missing
        QByteArray::fromHex("00ff0588"),         // meta length cut inside
        QByteArray::fromHex("00f00a7e7f"),       // system-exclusive data cut
        QByteArray::fromHex("0090"),             // note-on without data
        QByteArray::fromHex("00903c"),           // note-on with one data byte
        QByteArray::fromHex("00c0"),             // program change without data
        QByteArray::fromHex("8181"),             // delta time cut inside
        QByteArray::fromHex("81"),               // one byte left: not read at all
    };
    for (const QByteArray& tail : cutTails) {
        SmfWriter w;
        w.header(1, 2, 96);
        w.beginTrack().noteOn(0, 0, 60, 100).raw(tail).endTrack();
        w.beginTrack().noteOn(0, 3, 60, 100).endTrack();
        TMidiFile file;
        ASSERT_EQ(loadReportingError(file, w.bytes()), QString()) << tail.toHex().constData();
        ASSERT_EQ(file.NumberOfTracks(), 2);
        EXPECT_EQ(file.TrackAt(0)->EventCount(), 1) << tail.toHex().constData();
        EXPECT_EQ(file.TrackAt(1)->Channel(), 4);
    }
}

TEST(LoadErrors, ALoadDiscardsThePreviousTracksEvenWhenItFails)
{
    TMidiFile file;
    ASSERT_EQ(loadReportingError(file, twoTrackFile()), QString());
    EXPECT_EQ(loadReportingError(file, QByteArray("MThd")), "Read beyond end of file");
    EXPECT_EQ(file.NumberOfTracks(), 0);
    EXPECT_EQ(file.SongLengthMs(), 0);
    EXPECT_TRUE(file.AllTracksEnded());
}
