#include "sequencer/MidiFile.h"
#include "singing/MyPart.h"
#include "singing/SingAlongPass.h"
#include "tests/singing/PipeMicrophone.h"
#include "tests/singing/SungAlto.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

using Clock = std::chrono::steady_clock;

// The first notes of the alto, at twice the song's tempo (a test of a few seconds).
struct FastAlto {
    std::vector<TargetNote> targets;
    double endMs = 0.0;
};

FastAlto fastAlto(int noteCount)
{
    const auto song = exampleSong();
    TMidiFile sequencer;
    sequencer.LoadSongFrom(song->file());
    sequencer.SetBpm(sequencer.Bpm() * 2);
    const std::optional<TVoice> alto = voiceNamed(song->voices(), QStringLiteral("Alto"));
    EXPECT_TRUE(alto);
    FastAlto fast{partTargets(sequencer, *alto), 0.0};
    fast.targets.resize(std::size_t(noteCount));
    fast.endMs = fast.targets.back().endMs;
    return fast;
}

class LiveSinging : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.start()) {
            GTEST_SKIP() << server.why().toStdString();
        }
    }

    PrivateSoundServer server;
};

TEST_F(LiveSinging, NamesTheNotesSungWrongIntoTheMicrophone)
{
    PipeMicrophone microphone(server);
    ASSERT_TRUE(microphone.plugIn());
    const FastAlto alto = fastAlto(24);
    const std::vector<float> take = singNotes(sungAlto(alto.targets, ThreeFaults), PipeMicrophone::Rate,
                                              alto.endMs + 300.0);
    SingAlongPass pass;
    QSignalSpy heard(&pass, &SingAlongPass::framesHeard);
    const Clock::time_point start = Clock::now() + std::chrono::milliseconds(200);
    ASSERT_TRUE(pass.start(0.0, start, 0.0)) << pass.notice().toStdString();
    EXPECT_EQ(pass.sourceName(), QStringLiteral("mic"));
    microphone.sing(take, start);
    QTRY_VERIFY_WITH_TIMEOUT(pass.take().size() >= take.size(), 60000);
    pass.stop();

    EXPECT_GT(heard.count(), 0) << "the pitch reaches the window while singing";
    const std::vector<NoteResult> results = pass.score(alto.targets, 0.0, alto.endMs);
    ASSERT_EQ(results.size(), alto.targets.size());
    EXPECT_EQ(faultsOf(results), (std::vector<std::pair<int, NoteVerdict>>{{ThreeFaults.flatNote, NoteVerdict::Flat},
                                                                         {ThreeFaults.lateNote, NoteVerdict::Late},
                                                                         {ThreeFaults.leftOut, NoteVerdict::Missed}}));
    EXPECT_NEAR(results[ThreeFaults.lateNote].onsetMs.value_or(0.0), LateMs, 50.0);
    EXPECT_NEAR(pass.takeStartMs(), 0.0, 50.0);
}

TEST_F(LiveSinging, NoMicrophoneIsANotice)
{
    // The private server has an output, whose monitor is no microphone.
    SingAlongPass pass;
    EXPECT_FALSE(pass.start(0.0, Clock::now(), 0.0));
    EXPECT_EQ(pass.problem(), CaptureProblem::NoSource);
    EXPECT_TRUE(pass.notice().contains(QStringLiteral("No microphone")));

    server.stop();
    EXPECT_FALSE(pass.start(0.0, Clock::now(), 0.0));
    EXPECT_EQ(pass.problem(), CaptureProblem::NoServer);
    EXPECT_FALSE(pass.notice().isEmpty());
}

TEST_F(LiveSinging, AMicrophonePulledOutMidPassIsANoticeAndTheTakeStays)
{
    PipeMicrophone microphone(server);
    ASSERT_TRUE(microphone.plugIn());
    const SungNote note{0.0, 20000.0, 64.0};
    SingAlongPass pass;
    QSignalSpy lost(&pass, &SingAlongPass::captureLost);
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(pass.start(0.0, start, 0.0)) << pass.notice().toStdString();
    microphone.sing(singNotes({&note, 1}, PipeMicrophone::Rate, 20000.0), start);
    QTRY_VERIFY_WITH_TIMEOUT(pass.take().size() > PipeMicrophone::Rate / 2, 10000);
    ASSERT_TRUE(microphone.pullOut());
    QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 10000);
    EXPECT_TRUE(lost.at(0).at(0).toString().contains(QStringLiteral("went away")));
    EXPECT_EQ(pass.problem(), CaptureProblem::SourceLost);
    EXPECT_FALSE(pass.listening());
    const std::vector<PitchFrame> frames = pass.frames();
    EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [](const PitchFrame& f) { return f.voiced; }));
    microphone.waitUntilSung();
}

} // namespace
} // namespace harmonet::test
