// Keyboard access to the main window: Tab reaches every control in order,
// Space and Enter press a button Tab has reached, the focus shows, and every
// control has a name for screen readers.
#include "tests/player/PlayerFixture.h"

#include "player/Panel.h"
#include "sequencer/MidiFile.h"
#include "widgets/ImageButton.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace harmonet::test {
namespace {

class KeyboardTest : public PlayerTest {
protected:
    TfrmMain& loadSong()
    {
        TfrmMain& main = showWindow({writeFile("sat.mid", choirSong({"S", "A", "T"}))});
        EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
        main.MidiFile1->SetClock(&clock);
        return main;
    }

    template <typename T>
    static T* named(TfrmMain& main, const char* name)
    {
        return main.findChild<T*>(QLatin1String(name));
    }

    ManualClock clock;
};

TEST_F(KeyboardTest, TabReachesEveryControlInOrderAndEachHasAName)
{
    TfrmMain& main = loadSong();
    main.btnLoad->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int step = 0; step < 60; ++step) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        if (step > 0 && focus == main.btnLoad) {
            break;
        }
        visited << focus->objectName();
        const QString name = QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
        EXPECT_FALSE(name.trimmed().isEmpty()) << focus->objectName().toStdString();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    // Three voices bind three panels; the hidden ones are passed over.
    EXPECT_EQ(visited.join(' '),
              "btnLoad pLyrics1 pnlMute1 pLyrics2 pnlMute2 pLyrics3 pnlMute3 cbInstruments "
              "btnPlay btnRewind btnFastForward btnStop btnPause sbTimeDown "
              "sbMixer sbViewLyrics sbClose sbSettings sbHelp tbPosition tbTempo "
              "tbMasterV sbMasterMute tbMidiV sbMidiMute tbTreble tbBass");

    QTest::keyClick(main.btnLoad, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), main.tbBass) << "Shift+Tab goes round the other way";

    // The names screen readers get are the captions and hints.
    const auto nameOf = [](QWidget* control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    EXPECT_EQ(nameOf(main.btnFastForward), "Fast Forward");
    EXPECT_EQ(nameOf(named<TPanel>(main, "pnlMute2")), "Mute");
    EXPECT_EQ(nameOf(main.tbTempo), "Tempo (bpm)");
    EXPECT_EQ(nameOf(main.sbMidiMute), "Mute Midi");

    // Picture and panel buttons are buttons to them, toggles with their state,
    // and pressable.
    QAccessibleInterface* play = QAccessible::queryAccessibleInterface(main.btnPlay);
    EXPECT_EQ(play->role(), QAccessible::Button);
    EXPECT_TRUE(play->state().checkable);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(main.btnStop)->state().checkable);
    QAccessibleInterface* mute = QAccessible::queryAccessibleInterface(named<TPanel>(main, "pnlMute2"));
    EXPECT_EQ(mute->role(), QAccessible::Button);
    mute->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(main.session().track(2).muted);
    EXPECT_TRUE(mute->state().checked);
    EXPECT_NE(QAccessible::queryAccessibleInterface(named<TPanel>(main, "TrackPanel1"))->role(), QAccessible::Button)
        << "a track panel is no button";
}

TEST_F(KeyboardTest, AFocusedPictureButtonOrPanelButtonShowsAFocusFrame)
{
    TfrmMain& main = loadSong();
    for (QWidget* control : {static_cast<QWidget*>(main.btnPlay), static_cast<QWidget*>(main.sbTimeDown),
                             static_cast<QWidget*>(named<TPanel>(main, "pnlMute1"))}) {
        main.btnLoad->setFocus(Qt::TabFocusReason);
        const QImage plain = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(control->hasFocus()) << control->objectName().toStdString();
        EXPECT_NE(control->grab().toImage(), plain) << control->objectName().toStdString();
    }
}

TEST_F(KeyboardTest, SpaceAndEnterPressTheFocusedButtonOfEachKind)
{
    TfrmMain& main = loadSong();
    struct Press {
        const char* what;
        QWidget* control;
        Qt::Key key;
        std::function<bool()> done;
    };
    auto* alto = named<TPanel>(main, "pnlMute2");
    bool dialogOpened = false;
    const Press presses[] = {
        {"Space on Play", main.btnPlay, Qt::Key_Space,
         [&] { return main.MidiFile1->IsPlaying() && !main.btnPause->isDown(); }},
        {"Enter on Pause", main.btnPause, Qt::Key_Return,
         [&] { return main.btnPause->isDown() && !main.MidiFile1->IsPlaying(); }},
        {"Space on Pause again", main.btnPause, Qt::Key_Space, [&] { return main.MidiFile1->IsPlaying(); }},
        {"Space on a Mute panel", alto, Qt::Key_Space, [&] { return main.session().track(2).muted; }},
        {"Enter on it again", alto, Qt::Key_Enter, [&] { return !main.session().track(2).muted; }},
        {"Space on the check box", main.cbInstruments, Qt::Key_Space, [&] { return main.cbInstruments->isChecked(); }},
        {"Enter on it again", main.cbInstruments, Qt::Key_Return, [&] { return !main.cbInstruments->isChecked(); }},
        {"Enter on Open", main.btnLoad, Qt::Key_Return, [&] { return dialogOpened; }},
        {"Space on Stop", main.btnStop, Qt::Key_Space, [&] { return !main.btnPlay->isDown(); }},
    };
    for (const Press& press : presses) {
        if (press.control == main.btnLoad) {
            whenModal<QFileDialog>([&](QFileDialog* dialog) {
                dialogOpened = true;
                dialog->reject();
            });
        }
        press.control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(press.control, press.key);
        EXPECT_TRUE(press.done()) << press.what;
    }

    // Held down, the key holds Fast Forward down: the step timer runs until it is let go.
    main.btnFastForward->setFocus(Qt::TabFocusReason);
    QTest::keyPress(main.btnFastForward, Qt::Key_Space);
    EXPECT_TRUE(main.TimerFastForward->isActive());
    EXPECT_TRUE(main.btnFastForward->looksPressed());
    QTest::keyRelease(main.btnFastForward, Qt::Key_Space);
    EXPECT_FALSE(main.TimerFastForward->isActive());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(KeyboardTest, WithoutKeyboardFocusOnAButtonSpaceStillPauses)
{
    TfrmMain& main = loadSong();
    // A click does not take the focus from where the window put it.
    QWidget* focus = QApplication::focusWidget();
    QTest::mouseClick(main.btnPlay, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), focus);
    ASSERT_TRUE(main.MidiFile1->IsPlaying());

    QTest::keyClick(focus, Qt::Key_Space);
    EXPECT_TRUE(main.btnPause->isDown()) << "Space is Pause";
    main.btnLoad->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(main.btnLoad, Qt::Key_Space);
    EXPECT_FALSE(main.btnPause->isDown()) << "Space is Pause again, not Open";
}

} // namespace
} // namespace harmonet::test
