// My part in the player: the Options menu's and the track panels' choice is
// heard at once, also while playing; the routing scales the file's own
// volume only while a part is chosen; the choice is remembered per file
// across a restart; the menu names a choir score's voices readably.
#include "tests/player/PlayerFixture.h"

#include "persist/SettingsStore.h"
#include "player/Panel.h"
#include "player/PracticeMenus.h"
#include "practice/PracticeMemory.h"
#include "sequencer/MidiFile.h"
#include "tests/practice/PracticeSongs.h"
#include "tests/support/LilyPondScores.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QTest>

namespace harmonet::test {
namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values) {
        result.append(char(value));
    }
    return result;
}

// Controllers 7 and 10 on channels 1 to 3 (soprano, alto, piano), as sent.
QList<QByteArray> levels(std::initializer_list<std::pair<int, int>> volumeAndPan)
{
    QList<QByteArray> sent;
    int status = 0xB0;
    for (const auto& [volume, pan] : volumeAndPan) {
        sent.append(bytes({status, 7, volume}));
        sent.append(bytes({status, 10, pan}));
        ++status;
    }
    return sent;
}

class PracticeTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        TSettingsStore store(CURRENT_USER);
        store.deleteKey(TPracticeMemory::keyPath());
        store.flush();
    }

    // Soprano (track 1), alto (track 2) and a piano accompaniment (track 3).
    TfrmMain& loadSong(const QString& name = QStringLiteral("windows.mid"))
    {
        TfrmMain& main = showWindow({writeFile(name, windowedSong(true))});
        EXPECT_TRUE(main.session().outputOpen());
        recorder->clearMessages();
        return main;
    }

    static QAction* item(TfrmMain& main, const char* name)
    {
        auto* action = main.findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }

    void route(TfrmMain& main, quint8 status, quint8 value1, quint8 value2)
    {
        TMidiEvent event;
        event.Status = status;
        event.Value1 = value1;
        event.Value2 = value2;
        main.MidiFile1MidiEvent(&event);
    }
};

TEST_F(PracticeTest, WhilePlayingEachChangeOfTheChoiceIsSentAtOnce)
{
    TfrmMain& main = loadSong();
    main.btnPlayClick();
    ASSERT_TRUE(main.MidiFile1->IsPlaying());
    recorder->clearMessages();

    struct Step {
        const char* item;
        QList<QByteArray> sent;
    };
    const Step steps[] = {
        {"MyPartTrack1", levels({{100, 64}, {50, 64}, {100, 64}})},      // others at -12 dB
        {"Panned1", levels({{100, 0}, {50, 127}, {100, 64}})},           // my part left, the piano centred
        {"PanRight1", levels({{100, 127}, {50, 0}, {100, 64}})},
        {"Others18", levels({{100, 127}, {35, 0}, {100, 64}})},
        {"MyPartTrack2", levels({{35, 0}, {100, 127}, {100, 64}})},
        {"OthersSilent", levels({{0, 0}, {100, 127}, {100, 64}})},       // my part alone with the piano
        {"MyPartNone1", levels({{100, 64}, {100, 64}})}, // the file's own levels where they were changed
    };
    for (const Step& step : steps) {
        item(main, step.item)->trigger();
        EXPECT_EQ(sentMessages(), step.sent) << step.item;
        recorder->clearMessages();
    }
    EXPECT_TRUE(item(main, "MyPartNone1")->isChecked());
    EXPECT_TRUE(item(main, "OthersSilent")->isChecked());
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(errors.join('\n'));
}

TEST_F(PracticeTest, TheRoutingScalesTheFilesVolumeOnlyWhileAPartIsChosen)
{
    TfrmMain& main = loadSong();
    route(main, 0xB1, 7, 120);
    route(main, 0xB1, 10, 30);
    route(main, 0x91, 64, 90);
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0xB1, 7, 120}), bytes({0xB1, 10, 30}), bytes({0x91, 64, 90})}))
        << "no part: nothing changed, nothing more";

    item(main, "MyPartTrack1")->trigger();
    recorder->clearMessages();
    route(main, 0xB1, 7, 120);
    route(main, 0xB2, 7, 120);
    main.session().setMuted(2, true);
    route(main, 0xB1, 7, 120);
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0xB1, 7, 60}), bytes({0xB2, 7, 120}), bytes({0xB1, 123, 0})}))
        << "the alto at -12 dB, the piano at its own level; a muted track still only gets All Notes Off";
}

TEST_F(PracticeTest, TheTrackMixersVolumeAndBalanceOfAnotherVoiceKeepTheEmphasis)
{
    TfrmMain& main = loadSong();
    item(main, "MyPartTrack1")->trigger();
    item(main, "Panned1")->trigger();
    main.TrackMixer1->trigger();
    ASSERT_NE(main.mixerWindow(), nullptr);
    recorder->clearMessages();
    main.mixerWindow()->findChild<QSlider*>(QStringLiteral("tBarVolume2"))->setValue(7); // volume 120
    main.mixerWindow()->findChild<QSlider*>(QStringLiteral("tBarBalance2"))->setValue(30);
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0xB1, 7, 60}), bytes({0xB1, 10, 127})}))
        << "the alto at -12 dB of what the mixer sets, on the other side";
    EXPECT_EQ(main.session().track(2).volume, 120) << "the track keeps the mixer's own value";
    recorder->clearMessages();
    item(main, "MyPartNone1")->trigger();
    EXPECT_TRUE(sentMessages().contains(bytes({0xB1, 7, 120}))) << "no part: the mixer's volume again";
    EXPECT_TRUE(sentMessages().contains(bytes({0xB1, 10, 30})));
}

TEST_F(PracticeTest, TheTrackPanelsMenuChoosesItsTrackAsMyPart)
{
    TfrmMain& main = loadSong();
    TPanel* alto = main.TrackPanels[1];
    // A right click through the window, as the platform delivers it.
    const auto rightClick = [&] {
        QTest::mouseClick(main.windowHandle(), Qt::RightButton, {}, alto->mapTo(&main, QPoint(20, 10)));
    };
    rightClick();
    TPracticeMenus& practice = *main.PracticeMenus1;
    ASSERT_TRUE(QTest::qWaitFor([&] { return practice.pmTrackPanel->isVisible(); }, 10000));
    EXPECT_FALSE(practice.TrackPanelMyPart1->isChecked());
    practice.TrackPanelMyPart1->trigger();
    practice.pmTrackPanel->close();
    EXPECT_EQ(main.session().practiceChoice().part.track, 2);
    EXPECT_TRUE(item(main, "MyPartTrack2")->isChecked());
    EXPECT_TRUE(alto->font().bold());
    EXPECT_FALSE(main.TrackPanels[0]->font().bold());

    // Chosen again from its panel: no part.
    rightClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return practice.pmTrackPanel->isVisible(); }, 10000));
    EXPECT_TRUE(practice.TrackPanelMyPart1->isChecked());
    practice.TrackPanelMyPart1->trigger();
    practice.pmTrackPanel->close();
    EXPECT_FALSE(main.session().practiceChoice().hasPart());
    EXPECT_FALSE(alto->font().bold());
}

TEST_F(PracticeTest, TheChoiceOfAFileIsRestoredWhenItIsOpenedAfterARestart)
{
    loadSong();
    item(*window, "MyPartTrack2")->trigger();
    item(*window, "Others6")->trigger();
    item(*window, "Panned1")->trigger();
    item(*window, "PanRight1")->trigger();
    window.reset();

    // The same file, and a copy of it elsewhere, open with their choice in force.
    for (const QString& name : {QStringLiteral("windows.mid"), QStringLiteral("copy of windows.mid")}) {
        TfrmMain& main = loadSong(name);
        const PracticeChoice expected{VoiceKey{2, 2, 0}, -6, true, PanSide::Right};
        EXPECT_EQ(main.session().practiceChoice(), expected) << qPrintable(name);
        EXPECT_TRUE(item(main, "MyPartTrack2")->isChecked());
        EXPECT_TRUE(item(main, "Others6")->isChecked());
        EXPECT_TRUE(item(main, "Panned1")->isChecked());
        EXPECT_TRUE(item(main, "PanRight1")->isChecked());
        recorder->clearMessages();
        main.btnPlayClick();
        EXPECT_TRUE(QTest::qWaitFor([&] { return sentMessages().contains(bytes({0xB0, 7, 71})); }, 10000))
            << "the soprano at -6 dB once playing";
        window.reset();
    }

    // A file never chosen for opens without a part.
    TfrmMain& other = showWindow({writeFile(QStringLiteral("other.mid"), choirSong({"S", "A"}))});
    EXPECT_FALSE(other.session().practiceChoice().hasPart());
    EXPECT_TRUE(item(other, "MyPartNone1")->isChecked());
}

TEST_F(PracticeTest, AVoiceOfAClosedScoreIsChosenByNameReachesThePortApartAndIsBackAfterARestart)
{
    const QString hymn = writeFile(QStringLiteral("hymn.mid"), closedScoreSong());
    TfrmMain& main = showWindow({hymn});
    ASSERT_EQ(main.session().voices().size(), 2);
    EXPECT_EQ(item(main, "MyPartTrack1Voice1")->text(), main.session().voices()[0].name);
    EXPECT_EQ(item(main, "MyPartTrack1Voice2")->text(), main.session().voices()[1].name);
    item(main, "MyPartTrack1Voice2")->trigger();
    EXPECT_TRUE(main.PracticeMenus1->lblPartNotice->isHidden()) << "a channel is free";

    // The shared track as the sequencer hands it over: the lower voice's
    // notes reach the port on a channel of their own.
    recorder->clearMessages();
    const TMidiTrack& women = *main.session().sequencer().TrackAt(1);
    for (int index = 0; index < women.EventCount(); ++index) {
        main.session().dispatch(*women.EventAt(index));
    }
    EXPECT_TRUE(sentMessages().contains(bytes({0x91, LowerKey, 100})));
    EXPECT_TRUE(sentMessages().contains(bytes({0x90, UpperKey, 100})));
    const int program = main.session().track(1).program();
    EXPECT_TRUE(sentMessages().contains(bytes({0xC0, program})));
    EXPECT_TRUE(sentMessages().contains(bytes({0xC1, program}))) << "with the staff's instrument";
    window.reset();

    TfrmMain& again = showWindow({hymn});
    EXPECT_TRUE(item(again, "MyPartTrack1Voice2")->isChecked());
    EXPECT_EQ(again.session().myVoiceIndex(), 1);
    window.reset();

    // Where no channel is free the window says why the whole staff is brought forward.
    TfrmMain& full = showWindow({writeFile(QStringLiteral("full.mid"), closedScoreSong(true))});
    item(full, "MyPartTrack1Voice2")->trigger();
    EXPECT_FALSE(full.PracticeMenus1->lblPartNotice->isHidden());
    EXPECT_EQ(full.PracticeMenus1->lblPartNotice->text(), full.session().partNotice());
}

TEST_F(PracticeTest, AChoirScoresVoicesGoByReadableNamesWhileThePanelsKeepTheFilesOwn)
{
    HARMONET_REQUIRE_LILYPOND_SCORE(score, QStringLiteral("Oyseaux-Endfassung"));
    TfrmMain& main = showWindow({score + QStringLiteral("/Oyseaux-Endfassung.midi")});
    ASSERT_TRUE(main.session().fileLoaded());
    QStringList parts;
    for (const QAction* item : main.PracticeMenus1->MyPart1->actions()) {
        parts.append(item->text());
    }
    EXPECT_EQ(parts, QStringList({"&None", "Discantus", "Altus", "Tenor", "Bassus"}));
    QStringList captions;
    for (const TPanel* panel : std::as_const(main.TrackPanels)) {
        if (!panel->isHidden()) {
            captions.append(panel->caption());
        }
    }
    EXPECT_TRUE(captions.contains(":altusNotes")) << qPrintable(captions.join(", "));
}

} // namespace
} // namespace harmonet::test
