// Bars in the main window, from the keyboard: a bar on and back, Go to Bar
// with a loop, the start of the phrase, the loop's ends and its clearing;
// the upbeat, the loop and the read-out's choice back after a restart.
#include "tests/player/PlayerFixture.h"

#include "persist/SettingsStore.h"
#include "player/BarControls.h"
#include "practice/PracticeMemory.h"
#include "player/TrackBar.h"
#include "sequencer/MidiFile.h"
#include "widgets/cmpTimeDisplay.h"
#include "windows/GoToBar.h"

#include <QCheckBox>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

namespace harmonet::test {
namespace {

constexpr int Quarter = 480;

// Eight bars of 4/4 at 120 bpm (a bar lasts 2 s): the soprano sings a
// quarter note on every beat but rests on the first two beats of bar 5; the
// alto holds one note throughout.
QByteArray eightBars()
{
    SmfWriter writer;
    writer.header(1, 3, Quarter);
    writer.beginTrack().tempo(0, 500000).timeSignature(0, 4, 2).endOfTrack().endTrack();
    writer.beginTrack().meta(0, 0x03, "Soprano").programChange(0, 0, 52);
    quint64 rest = 0;
    for (int beat = 0; beat < 32; ++beat) {
        if (beat == 16 || beat == 17) {
            rest += Quarter;
            continue;
        }
        writer.noteOn(rest, 0, 60, 90).noteOff(Quarter, 0, 60);
        rest = 0;
    }
    writer.endOfTrack().endTrack();
    writer.beginTrack().meta(0, 0x03, "Alto").programChange(0, 1, 52).noteOn(0, 1, 55, 90).noteOff(32 * Quarter, 1, 55)
        .endOfTrack().endTrack();
    return writer.bytes();
}

class BarsTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        TSettingsStore store(CURRENT_USER);
        store.deleteKey(TPracticeMemory::pickupKeyPath());
        store.deleteKey(TPracticeMemory::loopKeyPath());
        store.flush();
    }

    TfrmMain& openSong()
    {
        TfrmMain& main = showWindow({writeFile(QStringLiteral("eight bars.mid"), eightBars())});
        EXPECT_TRUE(main.session().fileLoaded());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
        return main;
    }
};

TEST_F(BarsTest, KeysAndGoToBarMoveByBarsPhrasesAndSetTheLoop)
{
    TfrmMain& main = openSong();
    const auto goToBarSixLoopingThreeToFour = [] {
        whenModal<TdlgGoToBar>([](TdlgGoToBar* dialog) {
            dialog->edBar->setValue(6);
            dialog->cbLoop->setChecked(true);
            dialog->edLoopFrom->setValue(3);
            dialog->edLoopTo->setValue(4);
            dialog->accept();
        });
    };
    const struct {
        const char* what;
        std::function<void()> before;
        int key;
        Qt::KeyboardModifiers modifiers;
        int positionMs;
        std::optional<BarLoop> loop;
    } steps[] = {
        {"period: bar 2", {}, Qt::Key_Period, Qt::NoModifier, 2000, std::nullopt},
        {"period: bar 3", {}, Qt::Key_Period, Qt::NoModifier, 4000, std::nullopt},
        {"comma: bar 2", {}, Qt::Key_Comma, Qt::NoModifier, 2000, std::nullopt},
        {"Ctrl+G: bar 6, looping 3 to 4", goToBarSixLoopingThreeToFour, Qt::Key_G, Qt::ControlModifier, 10000,
         BarLoop{3, 4, 0}},
        {"Backspace: the phrase after the rest, bar 5 beat 3", {}, Qt::Key_Backspace, Qt::NoModifier, 9000,
         BarLoop{3, 4, 0}},
        {"backslash: no loop", {}, Qt::Key_Backslash, Qt::NoModifier, 9000, std::nullopt},
        {"[: from bar 5 to the end", {}, Qt::Key_BracketLeft, Qt::NoModifier, 9000, BarLoop{5, 8, 0}},
        {"period: bar 6", {}, Qt::Key_Period, Qt::NoModifier, 10000, BarLoop{5, 8, 0}},
        {"]: bar 5 to bar 6", {}, Qt::Key_BracketRight, Qt::NoModifier, 10000, BarLoop{5, 6, 0}},
    };
    for (const auto& step : steps) {
        if (step.before) {
            step.before();
        }
        // The window is active again after a dialog before its keys act.
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main)) << step.what;
        QTest::keyClick(&main, Qt::Key(step.key), step.modifiers);
        EXPECT_EQ(main.tbPosition->value(), step.positionMs) << step.what;
        EXPECT_EQ(main.MidiFile1->CurrentTime(), step.positionMs) << step.what;
        EXPECT_EQ(main.session().loop(), step.loop) << step.what;
        EXPECT_EQ(static_cast<TTrackBar*>(main.tbPosition)->markedSpan().has_value(), step.loop.has_value())
            << step.what << ": the slider shows the loop";
    }
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(errors.join(QLatin1Char('\n')));
}

TEST_F(BarsTest, TheUpbeatTheLoopAndTheReadOutAreBackAfterARestart)
{
    {
        TfrmMain& main = openSong();
        main.BarControls1->setPickup(1.0);
        main.BarControls1->ShowBoth1->trigger();
        main.session().setLoop(3, 4, 2);
        window.reset();
    }
    TfrmMain& main = openSong();
    EXPECT_EQ(main.session().pickupBeats(), std::optional<double>(1.0));
    EXPECT_EQ(main.session().bars().FirstBar(), 0) << "the upbeat is bar 0";
    EXPECT_EQ(main.session().loop(), (BarLoop{3, 4, 2}));
    EXPECT_EQ(main.TimeDisplay1->shows(), TTimeDisplay::Shows::Both);
    EXPECT_TRUE(main.BarControls1->ShowBoth1->isChecked());
    EXPECT_TRUE(main.TimeDisplay1->shownText().startsWith(barBeatText(main.session().barPosition()) + QLatin1Char(' ')))
        << qPrintable(main.TimeDisplay1->shownText());

    // A cleared loop stays cleared.
    QTest::keyClick(&main, Qt::Key_Backslash);
    window.reset();
    EXPECT_EQ(openSong().session().loop(), std::nullopt);
}

} // namespace
} // namespace harmonet::test
