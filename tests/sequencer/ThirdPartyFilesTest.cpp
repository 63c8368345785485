// Files made by other programs: each loads or fails with a known message.
#include "SequencerTestSupport.h"
#include "tests/support/TestPaths.h"

#include <QDirIterator>

using namespace harmonet;
using harmonet::test::thirdPartyDataDir;

namespace {

QString loadPath(TMidiFile& file, const QString& path)
{
    file.SetFilename(QDir(thirdPartyDataDir()).filePath(path));
    try {
        file.LoadSong();
    } catch (const Exception& error) {
        return error.message();
    }
    return QString();
}

} // namespace

TEST(ThirdPartyFiles, EveryFileLoadsOrReadsBeyondItsEnd)
{
    HARMONET_REQUIRE_TESTDATA();
    QDirIterator it(thirdPartyDataDir(), {"*.mid", "*.rmi"}, QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    for (; it.hasNext(); ++files) {
        TMidiFile file;
        const QString message = loadPath(file, it.next());
        EXPECT_TRUE(message.isEmpty() || message == "Read beyond end of file") << it.filePath().toStdString();
    }
    EXPECT_GT(files, 10);
}

TEST(ThirdPartyFiles, DamagedAndForeignFiles)
{
    HARMONET_REQUIRE_TESTDATA();
    const struct {
        const char* path;
        const char* message;
        int tracks;
    } cases[] = {
        {"midly/PiDamaged.mid", "Read beyond end of file", 2}, // cut off inside its third track
        {"midly/Beethoven.rmi", "", 15}, // a RIFF MIDI file
        {"jazz-soft/test-corrupt-file-extra-byte.mid", "Read beyond end of file", 1},
        {"jazz-soft/test-not-a-midi-file.mid", "Read beyond end of file", 0},
        {"jazz-soft/test-empty-file.mid", "", 0},
        {"jazz-soft/test-non-midi-track.mid", "", 1},
        {"midly/SysExTest.mid", "", 3},
    };
    for (const auto& c : cases) {
        TMidiFile file;
        EXPECT_EQ(loadPath(file, c.path), c.message) << c.path;
        EXPECT_EQ(file.NumberOfTracks(), c.tracks) << c.path;
    }
}

TEST(ThirdPartyFiles, LyricBytesAreKeptAsRead)
{
    HARMONET_REQUIRE_TESTDATA();
    const std::pair<const char*, QByteArray> cases[] = {
        {"music21/test18.mid", QByteArray("\xe6\x98\x8e")}, // UTF-8
        {"music21/test19.mid", QByteArray("\xc3\xf7")},     // a double-byte code page
    };
    for (const auto& [path, firstLyric] : cases) {
        TMidiFile file;
        ASSERT_EQ(loadPath(file, path), QString()) << path;
        std::vector<QByteArray> lyrics;
        for (int i = 0; i < file.NumberOfTracks(); ++i) {
            for (const TMidiEvent& event : file.TrackAt(i)->Events()) {
                if (event.Status == 0xFF && event.Value1 == SmfWriter::Lyric) {
                    lyrics.push_back(event.Text().toByteArray());
                }
            }
        }
        ASSERT_GT(lyrics.size(), 3u) << path;
        EXPECT_EQ(lyrics.front(), firstLyric) << path;
    }
}
