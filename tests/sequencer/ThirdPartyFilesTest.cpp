// Files made by other programs: each loads or fails with a known message.
#include "SequencerTestSupport.h"
#include "tests/support/TestPaths.h"

#include <QDirIterator>

using namespace harmonet;
using harmonet::test::thirdPartyDataDir;

namespace {

QString loadPath(TMidiFile& file, const QString& relativePath)
{
    file.SetFilename(thirdPartyDataDir() + QLatin1Char('/') + relativePath);
    try {
        file.LoadSong();
    } catch (const Exception& error) {
        return error.message();
    }
    return QString();
}

} // namespace

TEST(ThirdPartyFiles, EveryFileLoadsOrFailsWithAKnownMessage)
{
    HARMONET_REQUIRE_TESTDATA();
    const QStringList known = {QString(), "Read beyond end of file", "Floating point division by zero"};
    QDirIterator it(thirdPartyDataDir(), {"*.mid", "*.rmi", "*.kar"}, QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        TMidiFile file;
        const QString message = loadPath(file, QDir(thirdPartyDataDir()).relativeFilePath(path));
        EXPECT_TRUE(known.contains(message)) << path.toStdString() << ": " << message.toStdString();
        for (int i = 0; i < file.NumberOfTracks(); ++i) {
            const TMidiTrack* track = file.TrackAt(i);
            for (int e = 1; e < track->EventCount(); ++e) {
                ASSERT_GE(track->EventAt(e)->Ticks, track->EventAt(e - 1)->Ticks) << path.toStdString();
            }
        }
        ++files;
    }
    EXPECT_GT(files, 10);
}

TEST(ThirdPartyFiles, DamagedAndForeignFiles)
{
    HARMONET_REQUIRE_TESTDATA();
    TMidiFile file;
    // Cut off inside its third track: the first two stay.
    EXPECT_EQ(loadPath(file, "midly/PiDamaged.mid"), "Read beyond end of file");
    EXPECT_EQ(file.NumberOfTracks(), 2);
    EXPECT_EQ(loadPath(file, "midly/Beethoven.rmi"), "Read beyond end of file");
    EXPECT_EQ(file.NumberOfTracks(), 0);
    EXPECT_EQ(loadPath(file, "jazz-soft/test-corrupt-file-extra-byte.mid"), "Read beyond end of file");
    EXPECT_EQ(file.NumberOfTracks(), 1);
    EXPECT_EQ(loadPath(file, "jazz-soft/test-not-a-midi-file.mid"), "Read beyond end of file");
    EXPECT_EQ(loadPath(file, "jazz-soft/test-empty-file.mid"), QString());
    EXPECT_EQ(file.NumberOfTracks(), 0);
    EXPECT_EQ(loadPath(file, "jazz-soft/test-non-midi-track.mid"), QString());
    EXPECT_EQ(file.NumberOfTracks(), 1);
    EXPECT_EQ(file.TrackAt(0)->TrackName(), "Non-MIDI Track Test");
    EXPECT_EQ(loadPath(file, "midly/SysExTest.mid"), QString());
    EXPECT_EQ(file.NumberOfTracks(), 3);
    EXPECT_EQ(file.TrackAt(1)->EventCount(), 0);
}

TEST(ThirdPartyFiles, LyricBytesAreKeptAsRead)
{
    HARMONET_REQUIRE_TESTDATA();
    const struct {
        const char* path;
        QByteArray firstLyric;
    } cases[] = {
        {"music21/test18.mid", QByteArray("\xe6\x98\x8e")},
        {"music21/test19.mid", QByteArray("\xc3\xf7")},
    };
    for (const auto& c : cases) {
        TMidiFile file;
        ASSERT_EQ(loadPath(file, c.path), QString()) << c.path;
        QByteArray first;
        int lyrics = 0;
        for (int i = 0; i < file.NumberOfTracks(); ++i) {
            for (const TMidiEvent& event : file.TrackAt(i)->Events()) {
                if (event.Status == 0xFF && event.Value1 == SmfWriter::Lyric) {
                    if (lyrics++ == 0) {
                        first = event.Text().toByteArray();
                    }
                }
            }
        }
        EXPECT_EQ(first, c.firstLyric) << c.path;
        EXPECT_GT(lyrics, 3) << c.path;
    }
}
