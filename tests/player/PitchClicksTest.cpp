// The main window's pitch, tempo and click choices: remembered per file
// across a restart (a file never set opens at its own pitch and tempo), and
// "Without My Part" beside the others' levels silencing my part at once.
#include "tests/player/PlayerFixture.h"

#include "persist/SettingsStore.h"
#include "player/PitchClickMenus.h"
#include "player/PracticeMenus.h"
#include "practice/PracticeMemory.h"
#include "sequencer/MidiFile.h"
#include "tests/practice/PracticeSongs.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QTest>

namespace harmonet::test {
namespace {

class PitchClicksTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        TSettingsStore store(CURRENT_USER);
        store.deleteKey(TPracticeMemory::keyPath());
        store.flush();
    }

    TfrmMain& loadSong(const QString& name, bool withPiano = true)
    {
        TfrmMain& main = showWindow({writeFile(name, windowedSong(withPiano))});
        EXPECT_TRUE(main.session().outputOpen());
        recorder->clearMessages();
        return main;
    }

    static void trigger(TfrmMain& main, const char* name)
    {
        auto* action = main.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
};

TEST_F(PitchClicksTest, TempoTranspositionAndCountInOfAFileAreBackAfterARestart)
{
    {
        TfrmMain& main = loadSong(QStringLiteral("psalm.mid"));
        for (const char* name : {"TransposeUp1", "TransposeUp1", "TransposeUp1", "TransposeDown1", "CountInBars2",
                                 "Percent751", "Metronome1", "ClickLevelSoft1", "CountInEachPass1"}) {
            trigger(main, name);
        }
        EXPECT_EQ(main.session().transpose(), 2);
        EXPECT_EQ(main.PitchClickMenus1->Transpose1->title(), "&Transpose (+2)");
        window.reset();
    }
    TfrmMain& again = loadSong(QStringLiteral("psalm.mid"));
    EXPECT_EQ(again.session().transpose(), 2);
    EXPECT_EQ(again.session().clicks().countInBars, 2);
    EXPECT_EQ(again.MidiFile1->Bpm(), 90);
    EXPECT_EQ(again.tbTempo->value(), 90);
    EXPECT_EQ(again.lblTempoPercent->text(), "75 %");
    EXPECT_TRUE(again.PitchClickMenus1->CountInBars[2]->isChecked());
    // The metronome, the clicks' level and counting in every pass hold for every file.
    EXPECT_EQ(again.session().clicks(), (ClickSettings{2, true, 60, false, true}));
    EXPECT_TRUE(again.PitchClickMenus1->CountInEachPass1->isChecked());
    EXPECT_EQ(again.PitchClickMenus1->Transpose1->title(), "&Transpose (+2)");

    // Another file, never set: its own pitch and tempo, counted in as the last one.
    trigger(again, "TransposeReset1");
    EXPECT_EQ(again.session().transpose(), 0);
    window.reset();
    TfrmMain& other = showWindow({writeFile(QStringLiteral("other.mid"), choirSong({"S", "A"}))});
    EXPECT_EQ(other.session().transpose(), 0);
    EXPECT_EQ(other.MidiFile1->Bpm(), other.FileBpm);
    EXPECT_EQ(other.session().clicks().countInBars, 0) << "a restart starts without a count-in";
    window.reset();
    TfrmMain& first = loadSong(QStringLiteral("psalm.mid"));
    EXPECT_EQ(first.session().transpose(), 0) << "the reset was remembered too";
    EXPECT_EQ(first.MidiFile1->Bpm(), 90);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(PitchClicksTest, WithoutMyPartSilencesItAtOnceAndTheOthersPlayAtTheirOwnLevel)
{
    TfrmMain& main = loadSong(QStringLiteral("windows.mid"));
    trigger(main, "MyPartTrack1");
    recorder->clearMessages();
    trigger(main, "WithoutMyPart1");
    EXPECT_TRUE(main.PracticeMenus1->WithoutMyPart1->isChecked());
    EXPECT_TRUE(main.session().practiceChoice().withoutMyPart);
    const QList<QByteArray> sent = sentMessages();
    EXPECT_TRUE(sent.contains(QByteArray("\xB0\x07\x00", 3))) << "the soprano silent";
    EXPECT_TRUE(sent.contains(QByteArray("\xB1\x07\x64", 3))) << "the alto at its own 100";
    EXPECT_TRUE(sent.contains(QByteArray("\xB2\x07\x64", 3))) << "the piano too";
}

} // namespace
} // namespace harmonet::test
