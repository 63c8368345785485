// A closed score's two voices exported as practice tracks of their own: one
// file for each voice of the shared track, and in each the voice it is for
// heard above its partner, measured at each voice's pitch. Skipped without a
// SoundFont.
#include "render/PracticeExport.h"
#include "session/Song.h"
#include "tests/practice/AudioMeasure.h"
#include "tests/practice/PracticeSongs.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace harmonet::test {
namespace {

constexpr int ChordsEndMs = ClosedScoreChords * 500;

TEST(SplitVoiceExport, EachVoiceOfASharedTrackIsAFileInWhichItIsHeardAboveItsPartner)
{
    HARMONET_REQUIRE_SOUNDFONT();
    QTemporaryDir folder;
    ExportRequest request;
    request.song = Song::fromBytes(closedScoreSong());
    request.songName = QStringLiteral("Hymn");
    request.folder = folder.path();
    request.mix.othersDb = -12;
    const std::vector<PracticeFile> files = plannedFiles(request);
    const QList<TVoice>& voices = request.song->voices();
    ASSERT_EQ(voices.size(), 2);
    ASSERT_EQ(files.size(), 3u) << "the two voices of the track and the full mix";
    EXPECT_NE(files[0].voice, files[1].voice);
    EXPECT_EQ(QFileInfo(files[1].path).fileName(), QStringLiteral("Hymn - %1.wav").arg(voices[1].name));

    // How far the upper voice's pitch stands above the lower's in the upper
    // voice's file, the lower's and the full mix: with the others 12 dB
    // down, each voice's file moves it some 12 dB from the full mix's.
    const char* what[] = {"upper voice emphasised", "lower voice emphasised", "full mix"};
    double above[3] = {};
    for (std::size_t f = 0; f < files.size(); ++f) {
        ASSERT_TRUE(renderPracticeFile(request, files[f], {})) << what[f];
        const AudioFile audio = readAudioFile(files[f].path);
        ASSERT_TRUE(audio.opened) << what[f];
        const double upper = toneLevelDb(audio, keyHz(UpperKey), 100, ChordsEndMs);
        const double lower = toneLevelDb(audio, keyHz(LowerKey), 100, ChordsEndMs);
        above[f] = upper - lower;
        std::printf("%s: upper voice %.1f dB, lower voice %.1f dB\n", what[f], upper, lower);
    }
    EXPECT_GE(above[0] - above[2], 8.0);
    EXPECT_GE(above[2] - above[1], 8.0);
}

} // namespace
} // namespace harmonet::test
