// Start-up and shut-down of the main window: placement, stored settings, the
// window's texts, menus and keys, and the controls usable without a file.
#include "tests/player/PlayerFixture.h"

#include "player/ControlTags.h"
#include "player/Panel.h"
#include "widgets/TransportGlyphs.h"
#include "widgets/ImageButton.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QMenu>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSlider>
#include <QTest>

namespace harmonet::test {
namespace {

QPoint screenCentreFor(const QWidget& window)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

TEST_F(PlayerTest, FirstRunCentresTheWindowAndShowsNoFile)
{
    TfrmMain& main = createWindow();
    EXPECT_EQ(main.pos(), screenCentreFor(main));
    EXPECT_EQ(main.windowTitle(), "Harmonet - MIDI Player");
    EXPECT_EQ(main.statusText(), "No MIDI File Loaded");
    EXPECT_FALSE(main.session().fileLoaded());
    EXPECT_EQ(main.centralWidget()->width(), TfrmMain::ClientWidth);
    EXPECT_EQ(main.centralWidget()->height() + main.statusBar()->height(), TfrmMain::ClientHeight);
    EXPECT_EQ(main.minimumSize(), main.size()) << "it opens at its smallest size, the size of its design";
    EXPECT_EQ(main.FullHeight, main.height());
}

TEST_F(PlayerTest, StoredPlaceIsRestoredAndSavedAgainAtExit)
{
    storeMainFormValue("FormTop", "40");
    storeMainFormValue("FormLeft", "25");
    storeMainFormValue("TimeDown", "1");
    TfrmMain& main = createWindow();
    EXPECT_EQ(main.Top(), 40);
    EXPECT_EQ(main.Left(), 25);
    EXPECT_TRUE(main.sbTimeDown->isDown());
    EXPECT_EQ(main.sbTimeDown->glyph().toImage(), glyphs::countArrow(false).toImage()) << "counting down";

    main.move(60, 70);
    main.sbTimeDown->setDown(false);
    window.reset();
    EXPECT_EQ(storedMainFormValue("FormTop"), "70");
    EXPECT_EQ(storedMainFormValue("FormLeft"), "60");
    EXPECT_EQ(storedMainFormValue("TimeDown"), "0");
}

TEST_F(PlayerTest, StoredPlacePastTheScreenEdgeOrNegativeCentres)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    for (const auto& [top, left] : {std::pair{QString::number(screen.height() - 10), QStringLiteral("0")},
                                    std::pair{QStringLiteral("0"), QString::number(screen.width() - 10)},
                                    std::pair{QStringLiteral("-1"), QStringLiteral("30")}}) {
        storeMainFormValue("FormTop", top);
        storeMainFormValue("FormLeft", left);
        TfrmMain& main = createWindow();
        EXPECT_EQ(main.pos(), screenCentreFor(main)) << "top " << top.toStdString() << " left " << left.toStdString();
        window.reset();
    }
}

TEST_F(PlayerTest, WithoutAFileOnlyTagOneControlsAreUsable)
{
    TfrmMain& main = createWindow();
    for (QWidget* control : QList<QWidget*>{main.btnPlay, main.btnPause, main.btnStop, main.btnRewind,
                                           main.btnFastForward, main.sbClose, main.sbViewLyrics, main.sbMixer,
                                           main.sbTimeDown, main.tbPosition, main.tbTempo, main.cbInstruments,
                                           main.ScrollBox1}) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    for (QWidget* control : QList<QWidget*>{main.btnLoad, main.sbSettings, main.sbHelp, main.tbMasterV,
                                           main.tbMidiV, main.tbTreble, main.tbBass, main.sbMasterMute,
                                           main.sbMidiMute}) {
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    }
    for (TPanel* panel : main.TrackPanels) {
        EXPECT_TRUE(panel->isHidden()) << panel->objectName().toStdString();
    }
    for (QAction* item : {main.Close1, main.Lyrics1, main.Instruments1, main.TrackMixer1, main.Play1, main.Rewind1,
                          main.FastForward1, main.Stop1, main.Pause1}) {
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    }
    for (QAction* item : {main.Open1, main.Exit1, main.ScrollingLyrics1, main.Settings1, main.HarmonetHelp1,
                          main.About1}) {
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }
    EXPECT_FALSE(main.findChild<QAction*>("Verse1")->isEnabled());
    EXPECT_FALSE(main.findChild<QAction*>("Reset1")->isEnabled());
}

TEST_F(PlayerTest, MenusHoldTheirItemsKeysAndSeparators)
{
    TfrmMain& main = createWindow();
    auto layout = [](const char* name, TfrmMain& window) {
        QStringList entries;
        for (QAction* action : window.findChild<QMenu*>(name)->actions()) {
            entries.append(action->isSeparator()
                               ? QStringLiteral("-")
                               : action->text() + "=" + action->shortcut().toString(QKeySequence::PortableText));
        }
        return entries.join(" | ");
    };
    EXPECT_EQ(layout("File1", main),
              "&Open...=O | Reopen= | &Close=C | &Export Practice Tracks...=Ctrl+E | - | E&xit=Alt+F4");
    EXPECT_EQ(layout("View1", main), "Lyrics=F2 |  Scrolling Lyrics=F3 | - | Instruments=F4 | Track Mixer=F5 | - | "
                                    "Practice View=F7");
    EXPECT_EQ(layout("Controls1", main), "Play=P | Rewind=R | Fast Forward=F | Stop=S | Pause=Space | - | "
                                         "&Go to Bar...=Ctrl+G | Bar &Back=, | Bar &On=. | Start of P&hrase=Backspace | "
                                         "- | Loop &Starts Here=[ | Loop &Ends Here=] | &Clear Loop=\\ | - | "
                                         "Give Me My &Note=N | Fas&ter=T | Slo&wer=Shift+T");
    EXPECT_EQ(layout("Options1", main), "Settings=F6 | Follow Tempo Changes= | &Upbeat...= | - | &My Part= | "
                                       "O&thers= | Pa&nned= | My Part on the &Left= | My Part on the &Right= | - | "
                                       "&Transpose (0)= | &Count-In= | M&etronome=M | C&lick Level=");
    EXPECT_EQ(layout("Transpose1", main),
              "&Up a Semitone=Ctrl+Up | &Down a Semitone=Ctrl+Down | &Original Pitch=Ctrl+0");
    EXPECT_EQ(layout("CountIn1", main), "&None= | &1 Bar= | &2 Bars= | - | Ne&xt Count-In=K | Before Each &Pass of the Loop=");
    EXPECT_EQ(layout("Help1", main), "Harmonet Help=F1 | - | About...=F12");
    EXPECT_TRUE(main.ScrollingLyrics1->isChecked());
    EXPECT_FALSE(main.Reopen1->menuAction()->isEnabled()) << "disabled while no file was opened";
}

TEST_F(PlayerTest, TooltipsOfTheToolAndTransportButtons)
{
    TfrmMain& main = createWindow();
    const std::pair<QWidget*, const char*> hints[] = {
        {main.sbMixer, "Track Mixer"}, {main.sbViewLyrics, "View Lyrics"}, {main.sbClose, "Close File"},
        {main.sbSettings, "Settings"}, {main.sbHelp, "Help"}, {main.btnPlay, "Play"}, {main.btnRewind, "Rewind"},
        {main.btnFastForward, "Fast Forward"}, {main.btnStop, "Stop"}, {main.btnPause, "Pause"},
        {main.sbTimeDown, "Count Up / Count Down"}, {main.sbMasterMute, "Mute Master"}, {main.sbMidiMute, "Mute Midi"}};
    for (const auto& [control, hint] : hints) {
        EXPECT_EQ(control->toolTip(), hint) << control->objectName().toStdString();
    }
    EXPECT_EQ(main.btnLoad->text(), "Open MIDI File...");
    EXPECT_EQ(main.btnPlay->geometry(), QRect(227, 55, 28, 25));
    EXPECT_EQ(main.tbPosition->geometry(), QRect(7, 178, 215, 30));
    EXPECT_EQ(main.tbTempo->geometry(), QRect(7, 231, 215, 29));
    EXPECT_EQ(main.tbBass->geometry(), QRect(259, 250, 99, 24));
}

TEST_F(PlayerTest, EscapeClosesTheWindowWithAndWithoutAFile)
{
    for (bool withFile : {false, true}) {
        TfrmMain& main = showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        if (withFile) {
            main.CurrentFileName = writeFile("song.mid", choirSong({"Soprano"}));
            main.LoadMidiFile();
        }
        QTest::keyClick(&main, Qt::Key_Escape);
        // The key presses the cancel button, whose click follows a short animation.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !main.isVisible(); }, 10000))
            << (withFile ? "with a file" : "without a file");
        window.reset();
    }
}

TEST_F(PlayerTest, ExitItemClosesTheWindow)
{
    TfrmMain& main = showWindow();
    main.Exit1->trigger();
    EXPECT_FALSE(main.isVisible());
}

TEST_F(PlayerTest, InitializeControlsActsOnTagZeroByKindAndLeavesUntaggedObjects)
{
    TfrmMain& main = createWindow();
    auto* edit = new QLineEdit("text", main.pnlMain);
    setTag(edit, 0);
    auto* untagged = new QSlider(main.pnlMain);
    auto* tagOne = new QSlider(main.pnlMain);
    setTag(tagOne, 1);

    main.InitializeControls(false);
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(edit->palette().color(QPalette::Base), QPalette().color(QPalette::Button));
    EXPECT_TRUE(untagged->isEnabled());
    EXPECT_TRUE(tagOne->isEnabled());

    main.InitializeControls(true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_EQ(edit->palette().color(QPalette::Base), QPalette().color(QPalette::Base));
    for (TPanel* panel : main.TrackPanels) {
        EXPECT_FALSE(panel->isHidden()) << "panels are shown, not enabled";
    }
    EXPECT_TRUE(main.btnPlay->isEnabled());
}

TEST(PlayerTexts, FormatPositionWrapsMinutesAndPadsSeconds)
{
    EXPECT_EQ(TfrmMain::FormatPosition(0), "0:00");
    EXPECT_EQ(TfrmMain::FormatPosition(123000), "2:03");
    EXPECT_EQ(TfrmMain::FormatPosition(3723000), "2:03");
    EXPECT_EQ(TfrmMain::FormatPosition(59999), "0:59");
}

TEST(PlayerTexts, IsBlankIgnoresSpacesAndControlCharacters)
{
    EXPECT_TRUE(TfrmMain::IsBlank(""));
    EXPECT_TRUE(TfrmMain::IsBlank(" \t\r\n\x01 "));
    EXPECT_FALSE(TfrmMain::IsBlank("  a "));
}

} // namespace
} // namespace harmonet::test
