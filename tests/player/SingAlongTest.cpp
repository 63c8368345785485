// Singing along in the player: Practice > Sing Along plays the song and
// listens to a private sound server's microphone (fed by the test); when
// playing stops, the results window names the notes sung wrong and the pass
// is remembered. Without a microphone, or when it is pulled out, a notice
// shows and playing goes on.
#include "tests/player/PlayerFixture.h"

#include "persist/SettingsStore.h"
#include "player/PracticeMenus.h"
#include "player/SingAlong.h"
#include "sequencer/MidiFile.h"
#include "session/Song.h"
#include "singing/MyPart.h"
#include "windows/PracticeRollView.h"
#include "windows/UnitPracticeView.h"
#include "tests/singing/PipeMicrophone.h"
#include "tests/singing/SungAlto.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

namespace harmonet::test {
namespace {

using Clock = std::chrono::steady_clock;

class SingAlongTest : public PlayerTest {
protected:
    void SetUp() override
    {
        if (!server.start()) {
            GTEST_SKIP() << server.why().toStdString();
        }
        PlayerTest::SetUp();
        TSettingsStore store(CURRENT_USER);
        store.deleteKey(QStringLiteral("Software\\Harmonet\\SingAlong"));
        store.flush();
    }

    // The example song loaded with the alto as my part, at twice its tempo.
    TfrmMain& loadAlto()
    {
        TfrmMain& main = showWindow({exampleSongPath()});
        const std::optional<TVoice> alto = voiceNamed(main.session().voices(), QStringLiteral("Alto"));
        EXPECT_TRUE(alto);
        PracticeChoice choice = main.session().practiceChoice();
        choice.part = alto ? alto->key() : PracticeChoice::NoPart;
        main.PracticeMenus1->choose(choice);
        main.MidiFile1->SetBpm(main.MidiFile1->Bpm() * 2);
        return main;
    }

    // Half a minute of D4 into the microphone, from now on.
    static void singOneLongNote(PipeMicrophone& microphone)
    {
        const SungNote note{0.0, 30000.0, 62.0};
        microphone.sing(singNotes({&note, 1}, PipeMicrophone::Rate, 30000.0), Clock::now());
    }

    PrivateSoundServer server;
};

TEST_F(SingAlongTest, ScoresThePassAndRemembersIt)
{
    PipeMicrophone microphone(server);
    ASSERT_TRUE(microphone.plugIn());
    TfrmMain& main = loadAlto();
    TSingAlong& singAlong = *main.SingAlongMenus1;
    const std::optional<TVoice> alto = voiceNamed(main.session().voices(), QStringLiteral("Alto"));
    const std::vector<TargetNote> targets = partTargets(*main.MidiFile1, *alto);
    main.PracticeView1Click();

    singAlong.SingAlong1->trigger();
    ASSERT_TRUE(singAlong.singing()) << singAlong.lblSingNotice->text().toStdString();
    ASSERT_TRUE(main.MidiFile1->IsPlaying());
    const auto now = main.MidiFile1->SteadyTimeAt(main.MidiFile1->CurrentTime());
    ASSERT_TRUE(now);
    const Clock::time_point songStart = *now - std::chrono::milliseconds(main.MidiFile1->CurrentTime());
    const double stopAtMs = targets[23].endMs + 100.0;
    microphone.sing(singNotes(sungAlto(targets, ThreeFaults), PipeMicrophone::Rate, stopAtMs), songStart);
    QTRY_VERIFY_WITH_TIMEOUT(main.MidiFile1->CurrentTime() >= stopAtMs, 60000);
    main.btnStopClick();
    QTRY_VERIFY_WITH_TIMEOUT(singAlong.resultsWindow() && singAlong.resultsWindow()->isVisible(), 10000);

    const TfrmSingResults& results = *singAlong.resultsWindow();
    ASSERT_GE(results.tblNotes->rowCount(), 24);
    for (int row = 0; row < 24; ++row) {
        const QString verdict = results.tblNotes->item(row, 4)->text();
        const QString expected = row == ThreeFaults.flatNote ? QStringLiteral("flat")
                                 : row == ThreeFaults.lateNote ? QStringLiteral("late")
                                 : row == ThreeFaults.leftOut  ? QStringLiteral("not sung")
                                                                : QStringLiteral("in tune");
        EXPECT_EQ(verdict, expected) << "note " << row;
    }
    EXPECT_EQ(results.tblNotes->item(0, 0)->text(), QStringLiteral("1.1"));
    EXPECT_EQ(results.tblNotes->item(0, 1)->text(), QStringLiteral("D4"));
    EXPECT_TRUE(results.lblWorstBars->text().startsWith(QStringLiteral("Worst bars: ")));
    ASSERT_EQ(results.lstPasses->topLevelItemCount(), 1);
    EXPECT_EQ(results.lstPasses->topLevelItem(0)->text(2), QString::number(main.MidiFile1->Bpm()));
    EXPECT_TRUE(singAlong.ExportTake1->isEnabled());
    EXPECT_FALSE(singAlong.lblSingNotice->isVisible());

    // What was heard is drawn over the alto's notes: in tune, but for the flat note.
    const std::vector<TSungPoint>& line = main.PracticeViewWindow()->roll()->sungLine();
    ASSERT_FALSE(line.empty());
    const auto inTune = std::count_if(line.begin(), line.end(),
                                      [](const TSungPoint& point) { return point.band == TSungPoint::Band::Close; });
    EXPECT_GT(inTune, qsizetype(line.size()) * 3 / 4);
    EXPECT_LT(inTune, qsizetype(line.size()));
    // One click loops the worst bar.
    ASSERT_FALSE(results.btnLoopWorstBar->isHidden());
    results.btnLoopWorstBar->click();
    ASSERT_TRUE(main.session().loop().has_value());
    EXPECT_EQ(main.session().loop()->firstBar, main.session().loop()->lastBar);
    EXPECT_TRUE(results.lblWorstBars->text().contains(QString::number(main.session().loop()->firstBar)));
    main.session().clearLoop();

    // The take plays beside the song from its start, my part silent
    // meanwhile; then all is as before.
    main.btnStopClick();
    const int streamsBefore = server.playbackStreams();
    ASSERT_TRUE(singAlong.PlayTake1->isEnabled());
    singAlong.PlayTake1->trigger();
    ASSERT_TRUE(singAlong.playingTake()) << singAlong.lblSingNotice->text().toStdString();
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(main.session().track(alto->track).muted);
    QTRY_COMPARE_WITH_TIMEOUT(server.playbackStreams(), streamsBefore + 1, 10000);
    main.btnStopClick();
    QTRY_VERIFY_WITH_TIMEOUT(!singAlong.playingTake(), 10000);
    EXPECT_FALSE(main.session().track(alto->track).muted);
    QTRY_COMPARE_WITH_TIMEOUT(server.playbackStreams(), streamsBefore, 10000);
    EXPECT_EQ(singAlong.resultsWindow()->lstPasses->topLevelItemCount(), 1) << "playing a take is no pass";
}

TEST_F(SingAlongTest, AJumpEndsThePassWherePlayingTimeWasMoved)
{
    PipeMicrophone microphone(server);
    ASSERT_TRUE(microphone.plugIn());
    TfrmMain& main = loadAlto();
    TSingAlong& singAlong = *main.SingAlongMenus1;
    singAlong.SingAlong1->trigger();
    ASSERT_TRUE(singAlong.singing());
    singOneLongNote(microphone);
    QTRY_VERIFY_WITH_TIMEOUT(main.MidiFile1->CurrentTime() > 1500, 10000);
    const double jumpedFromMs = main.MidiFile1->CurrentTime();
    main.tbPosition->setValue(20000);
    QTRY_VERIFY_WITH_TIMEOUT(singAlong.resultsWindow() && singAlong.resultsWindow()->isVisible(), 10000);
    EXPECT_FALSE(singAlong.singing());
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    // Only the notes begun before the jump (a note may begin while it is
    // made), not the song's rest.
    const std::optional<TVoice> alto = voiceNamed(main.session().voices(), QStringLiteral("Alto"));
    ASSERT_TRUE(alto);
    const std::vector<TargetNote> targets = partTargets(*main.MidiFile1, *alto);
    const auto begun = std::count_if(targets.cbegin(), targets.cend(),
                                     [&](const TargetNote& note) { return note.startMs <= jumpedFromMs; });
    const int rows = singAlong.resultsWindow()->tblNotes->rowCount();
    EXPECT_GE(rows, 2);
    EXPECT_LE(rows, begun + 1) << "jumped from " << jumpedFromMs << " ms";
    EXPECT_LT(rows, int(targets.size()) / 2);
}

TEST_F(SingAlongTest, WithoutAMicrophoneANoticeShowsAndPlayingGoesOn)
{
    TfrmMain& main = loadAlto();
    TSingAlong& singAlong = *main.SingAlongMenus1;
    singAlong.SingAlong1->trigger();
    EXPECT_FALSE(singAlong.singing());
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    EXPECT_TRUE(singAlong.lblSingNotice->isVisibleTo(&main));
    EXPECT_TRUE(singAlong.lblSingNotice->text().contains(QStringLiteral("No microphone")));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(SingAlongTest, AMicrophonePulledOutIsANoticeAndPlayingGoesOn)
{
    PipeMicrophone microphone(server);
    ASSERT_TRUE(microphone.plugIn());
    TfrmMain& main = loadAlto();
    TSingAlong& singAlong = *main.SingAlongMenus1;
    singAlong.SingAlong1->trigger();
    ASSERT_TRUE(singAlong.singing());
    singOneLongNote(microphone);
    QTRY_VERIFY_WITH_TIMEOUT(microphone.samplesSung() > PipeMicrophone::Rate / 2, 10000);
    ASSERT_TRUE(microphone.pullOut());
    QTRY_VERIFY_WITH_TIMEOUT(singAlong.lblSingNotice->text().contains(QStringLiteral("went away")), 10000);
    EXPECT_TRUE(main.MidiFile1->IsPlaying());
    const int before = main.MidiFile1->CurrentTime();
    QTRY_VERIFY_WITH_TIMEOUT(main.MidiFile1->CurrentTime() > before + 500, 10000);
    EXPECT_TRUE(errors.isEmpty());
}

} // namespace
} // namespace harmonet::test
