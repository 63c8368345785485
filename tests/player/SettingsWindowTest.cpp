// The settings window with the main window it serves: first-run values,
// default instruments, colours with Apply, Ok and Cancel, the port choice,
// and the settings kept from one start to the next.
#include "tests/player/PlayerFixture.h"

#include "midiout/MidiOut.h"
#include "player/Panel.h"
#include "sequencer/MidiFile.h"
#include "widgets/CheckBox.h"
#include "widgets/ColorPalettePopup.h"
#include "widgets/ColorPicker.h"
#include "widgets/ImageButton.h"
#include "widgets/cmpTimeDisplay.h"
#include "windows/BevelPanel.h"
#include "windows/HelpViewer.h"
#include "windows/InstrumentMenu.h"
#include "windows/Memo.h"
#include "windows/UnitLyrics.h"
#include "windows/UnitSettings.h"

#include <QAction>
#include <QComboBox>
#include <QFontDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QScreen>
#include <QTest>

namespace harmonet::test {
namespace {

constexpr int Violin = 40;
const QString SettingsKey = QStringLiteral("Software\\Harmonet\\SettingsForm");


// A format 1 song whose tracks 1.. play on channels 1.. (from 1 again after
// 16) with these programs.
QByteArray songWithPrograms(const QList<int>& programs)
{
    SmfWriter song;
    song.header(1, quint16(programs.size() + 1), 480);
    song.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    for (int i = 0; i < programs.size(); ++i) {
        song.beginTrack()
            .meta(0, SmfWriter::TrackName, QByteArray("Voice ") + QByteArray::number(i + 1))
            .programChange(0, i % 16, quint8(programs[i]))
            .noteOn(0, i % 16, 60, 100)
            .noteOff(480, i % 16, 60)
            .endOfTrack()
            .endTrack();
    }
    return song.bytes();
}

QStringList captions(const TfrmSettings& settings)
{
    QStringList result;
    for (const TBevelPanel* panel : settings.TrackPanels) {
        result.append(panel->caption());
    }
    return result;
}

QStringList defaultCaptions()
{
    QStringList result;
    for (int n = 1; n <= 16; ++n) {
        result.append(QStringLiteral("Track %1").arg(n));
    }
    return result;
}

// The program changes among the sent messages, as (status, program).
QList<QPair<int, int>> programChanges(const QList<QByteArray>& messages)
{
    QList<QPair<int, int>> result;
    for (const QByteArray& message : messages) {
        if ((quint8(message[0]) & 0xF0) == 0xC0) {
            result.append({quint8(message[0]), quint8(message[1])});
        }
    }
    return result;
}

class SettingsWindowTest : public PlayerTest {
protected:
    static void storeSetting(const QString& name, const QString& value) { storeValue(SettingsKey, name, value); }
    static QString storedSetting(const QString& name) { return storedValue(SettingsKey, name); }

    TfrmSettings& settings() { return *window->SettingsWindow(); }

    TfrmSettings& showSettings()
    {
        window->Settings1->trigger();
        EXPECT_TRUE(settings().isVisible());
        return settings();
    }

    // Presses the mouse on a track panel and chooses the program from the popup.
    void chooseInstrument(int panelNumber, int program)
    {
        TBevelPanel* panel = settings().TrackPanels[panelNumber - 1];
        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_TRUE(settings().pmInstruments->isVisible());
        settings().pmInstruments->findChild<QAction*>(QStringLiteral("Midi%1").arg(program))->trigger();
        EXPECT_FALSE(settings().pmInstruments->isVisible());
    }

    // Opens a picker's palette and clicks one of its twenty colours, as the user does.
    static void pickPaletteColor(TColorPicker* picker, int cell)
    {
        QTest::mouseClick(picker, Qt::LeftButton);
        TColorPalettePopup* palette = picker->palettePopup();
        ASSERT_TRUE(palette->isVisible());
        QTest::mouseClick(palette, Qt::LeftButton, {}, palette->cellRect(cell).center());
    }
};

TEST_F(SettingsWindowTest, FirstRunValuesAndPlaces)
{
    TfrmMain& main = showWindow();
    TfrmSettings& form = settings();
    EXPECT_EQ(form.cbBackground->color(), clBtnFace);
    EXPECT_EQ(form.cbText->color(), clBlack);
    EXPECT_EQ(form.cbHilight->color(), clRed);
    EXPECT_EQ(form.cbTimeText->color(), clLime);
    EXPECT_EQ(form.cbTimeBackground->color(), clBlack);
    EXPECT_EQ(captions(form), defaultCaptions());
    EXPECT_FALSE(form.cbDefaultInstruments->isChecked());
    EXPECT_FALSE(form.cbChangeAll->isChecked());
    EXPECT_EQ(form.size(), QSize(466, 322));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Harmonet - Settings"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(form.geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(form.geometry().center().y() - screen.center().y()), 1);
    // The first showing of the main window put the settings in force.
    EXPECT_EQ(main.lyricStripColors(), TLyricStripColors{});
    EXPECT_EQ(main.TimeDisplay1->fontColor(), clLime);
    EXPECT_EQ(main.TimeDisplay1->color(), clBlack);
    EXPECT_EQ(form.cbMidiOutput->currentText(), QStringLiteral("Recorder"));
    EXPECT_TRUE(main.session().outputOpen());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(SettingsWindowTest, StoredPlaceIsKeptOnlyWhenTheWindowIsWhollyOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QList<QPair<QPoint, bool>> cases = {
        {{30, 20}, true}, {{30, screen.height() - 100}, false}, {{screen.width() - 10, 20}, false}, {{-1, 20}, false}};
    for (const auto& [place, kept] : cases) {
        SCOPED_TRACE(testing::Message() << place.x() << "," << place.y());
        storeSetting(QStringLiteral("Left"), QString::number(place.x()));
        storeSetting(QStringLiteral("Top"), QString::number(place.y()));
        createWindow();
        const QRect settingsPlace = settings().geometry();
        if (kept) {
            EXPECT_EQ(settingsPlace.topLeft(), place);
        } else {
            EXPECT_LE(std::abs(settingsPlace.center().x() - screen.center().x()), 1);
            EXPECT_LE(std::abs(settingsPlace.center().y() - screen.center().y()), 1);
        }
        window.reset();
    }
}

TEST_F(SettingsWindowTest, DefaultInstrumentsUncheckedDisablesTheListAndApplyChangesNoInstrument)
{
    storeSetting(QStringLiteral("Instrument2"), QStringLiteral("Violin"));
    TfrmMain& main = showWindow({writeFile("satb.mid", songWithPrograms({19, 19, 19, 19}))});
    TfrmSettings& form = showSettings();
    EXPECT_EQ(form.TrackPanels[1]->caption(), QStringLiteral("Violin"));
    for (QWidget* control : {static_cast<QWidget*>(form.btnClearAll), static_cast<QWidget*>(form.cbChangeAll),
                             static_cast<QWidget*>(form.ScrollBox1), static_cast<QWidget*>(form.TrackPanels[1])}) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    recorder->clearMessages();
    form.btnApply->click();
    EXPECT_TRUE(programChanges(sentMessages()).isEmpty());
    EXPECT_EQ(main.session().track(2).instrument, GMProgramName(19));

    form.cbDefaultInstruments->click();
    EXPECT_TRUE(form.btnClearAll->isEnabled());
    EXPECT_TRUE(form.TrackPanels[15]->isEnabled());
    form.btnApply->click();
    EXPECT_EQ(programChanges(sentMessages()), (QList<QPair<int, int>>{{0xC1, Violin}}));
}

TEST_F(SettingsWindowTest, ChangeAllSetsEveryCaptionAndApplySendsOnlyWhereTheInstrumentDiffers)
{
    TfrmMain& main = showWindow({writeFile("mixed.mid", songWithPrograms({19, Violin, 19}))});
    main.cbInstruments->click(); // Show Instruments: the main panels show what Apply gives
    TfrmSettings& form = showSettings();
    form.cbDefaultInstruments->click();
    form.cbChangeAll->click();
    chooseInstrument(5, Violin);
    EXPECT_EQ(captions(form), QStringList(16, QStringLiteral("Violin")));

    recorder->clearMessages();
    form.btnApply->click();
    EXPECT_EQ(programChanges(sentMessages()), (QList<QPair<int, int>>{{0xC0, Violin}, {0xC2, Violin}}));
    for (int track = 1; track <= 3; ++track) {
        EXPECT_EQ(main.session().track(track).instrument, QStringLiteral("Violin")) << track;
        EXPECT_EQ(main.TrackPanels[track - 1]->caption(), QStringLiteral("Violin")) << track;
    }

    // The menu marks the panel's instrument the next time it opens.
    QTest::mousePress(form.TrackPanels[0], Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(form.pmInstruments->findChild<QAction*>(QStringLiteral("Midi%1").arg(Violin))->isChecked());
    EXPECT_FALSE(form.pmInstruments->findChild<QAction*>(QStringLiteral("Midi0"))->isChecked());
    form.pmInstruments->hide();

    form.btnClearAll->click();
    EXPECT_EQ(captions(form), defaultCaptions());
    recorder->clearMessages();
    form.btnApply->click();
    EXPECT_TRUE(programChanges(sentMessages()).isEmpty()) << "a \"Track n\" caption names no instrument";
}

TEST_F(SettingsWindowTest, TracksFromSeventeenOnTakeTheDefaultOfTrackOneWhenPanelsAreSetUp)
{
    storeSetting(QStringLiteral("DefaultInstruments"), QStringLiteral("1"));
    storeSetting(QStringLiteral("Instrument1"), QStringLiteral("Violin"));
    storeSetting(QStringLiteral("Instrument3"), QStringLiteral("Cello"));
    // Loading sets up the track panels, each of which runs Apply.
    TfrmMain& main = showWindow({writeFile("twenty.mid", songWithPrograms(QList<int>(19, 19)))});
    ASSERT_EQ(main.MidiFile1->NumberOfTracks(), 20);
    for (int track = 1; track < 20; ++track) {
        const QString expected = track == 1 || track >= 17 ? QStringLiteral("Violin")
            : track == 3                                    ? QStringLiteral("Cello")
                                                            : GMProgramName(19);
        EXPECT_EQ(main.session().track(track).instrument, expected) << "track " << track;
    }
    EXPECT_EQ(main.session().track(0).instrument, QString()) << "track 0 never takes an instrument";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// Colours chosen in the pickers reach the main window by Apply and Ok, not by Cancel.
TEST_F(SettingsWindowTest, ColoursTakeEffectOnlyByApplyOrOk)
{
    // Palette cells: 1 is red (255), 3 is blue (16711680), 11 is yellow (65535), 12 is aqua.
    struct Case {
        const char* button;
        bool takesEffect;
        bool staysOpen;
    };
    for (const Case& c : {Case{"btnCancel", false, false}, Case{"btnApply", true, true}, Case{"btnOk", true, false}}) {
        SCOPED_TRACE(c.button);
        TfrmMain& main = showWindow();
        const TLyricStripColors before = main.lyricStripColors();
        TfrmSettings& form = showSettings();
        pickPaletteColor(form.cbBackground, 11);
        pickPaletteColor(form.cbText, 3);
        pickPaletteColor(form.cbHilight, 12);
        pickPaletteColor(form.cbTimeText, 1);
        pickPaletteColor(form.cbTimeBackground, 12);
        EXPECT_EQ(form.pnlLyrics->color(), TColor{65535}) << "the preview follows each choice";
        EXPECT_EQ(form.pnlTimeDisplay->fontColor(), TColor{255});

        form.findChild<QPushButton*>(QLatin1String(c.button))->click();
        EXPECT_EQ(form.isVisible(), c.staysOpen);
        const TLyricStripColors chosen{TColor{65535}, TColor{16711680}, TColor{16776960}};
        EXPECT_EQ(main.lyricStripColors(), c.takesEffect ? chosen : before);
        EXPECT_EQ(main.TimeDisplay1->fontColor(), c.takesEffect ? TColor{255} : clLime);
        EXPECT_EQ(main.TimeDisplay1->color(), c.takesEffect ? TColor{16776960} : clBlack);
        if (c.takesEffect) {
            EXPECT_EQ(main.pnlLyrics2->color(), QColor(255, 255, 0));
        }

        // The next showing shows the colours in force.
        form.hide();
        showSettings();
        EXPECT_EQ(form.cbBackground->color(), main.lyricStripColors().background);
        EXPECT_EQ(form.cbTimeText->color(), main.TimeDisplay1->fontColor());
        EXPECT_EQ(form.pnlLyrics->color(), main.lyricStripColors().background);
        window.reset();
    }
}

TEST_F(SettingsWindowTest, TrackPanelsAreReachedAndOpenTheirMenuFromTheKeyboard)
{
    showWindow();
    TfrmSettings& form = showSettings();
    form.cbDefaultInstruments->click();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.TrackPanels[14]->setFocus();
    QTest::keyClick(form.TrackPanels[14], Qt::Key_Tab);
    ASSERT_TRUE(form.TrackPanels[15]->hasFocus());
    EXPECT_GT(form.ScrollBox1->verticalScrollBar()->value(), 0) << "the focused panel is scrolled into view";
    QTest::keyClick(form.TrackPanels[15], Qt::Key_Space);
    ASSERT_TRUE(form.pmInstruments->isVisible());
    EXPECT_EQ(form.PopupPanel, form.TrackPanels[15]);
    form.pmInstruments->findChild<QAction*>(QStringLiteral("Midi52"))->trigger();
    EXPECT_EQ(form.TrackPanels[15]->caption(), QStringLiteral("Choir Aahs"));
}

TEST_F(SettingsWindowTest, CancelPutsBackTheInstrumentChoicesOfTheShowing)
{
    showWindow();
    TfrmSettings& form = showSettings();
    form.cbDefaultInstruments->click();
    chooseInstrument(2, Violin);
    form.cbChangeAll->click();
    form.btnCancel->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(captions(form), defaultCaptions());
    EXPECT_FALSE(form.cbDefaultInstruments->isChecked());
    EXPECT_FALSE(form.cbChangeAll->isChecked());
    EXPECT_FALSE(form.btnClearAll->isEnabled());
}

// Two ports of one backend that counts how often each is opened.
class CountingBackend : public RecordingBackend {
public:
    using RecordingBackend::RecordingBackend;
    std::unique_ptr<MidiPort> open(int index) override
    {
        ++opens;
        return RecordingBackend::open(index);
    }
    int opens = 0;
};

TEST_F(SettingsWindowTest, AnotherPortIsTakenOverByApplyOnceAndTheListIsReadAtEachShowing)
{
    auto ports = std::make_shared<CountingBackend>(QStringList{QStringLiteral("First"), QStringLiteral("Second")});
    MidiDeviceList::installDefault(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{ports}));
    TfrmMain& main = showWindow();
    EXPECT_EQ(ports->opens, 1) << "the first Apply keeps the port opened at start-up";
    TfrmSettings& form = showSettings();
    ASSERT_EQ(form.cbMidiOutput->count(), 2);
    EXPECT_EQ(main.MidiOutput1->ProductName(), QStringLiteral("First"));
    const int opensBefore = ports->opens;

    form.cbMidiOutput->setCurrentIndex(1);
    form.btnApply->click();
    EXPECT_EQ(ports->opens, opensBefore + 1);
    EXPECT_EQ(ports->openPorts(), 1) << "the first port was closed";
    EXPECT_EQ(main.MidiOutput1->ProductName(), QStringLiteral("Second"));
    EXPECT_TRUE(main.session().outputOpen());

    form.btnApply->click();
    EXPECT_EQ(ports->opens, opensBefore + 1) << "no change, nothing done to the device";
    EXPECT_TRUE(main.MidiOutput1->IsOpen());

    // A port that appears is listed at the next showing; the choice stays on its port.
    form.hide();
    main.CloseMidiOutput();
    auto more = std::make_shared<RecordingBackend>(QStringList{QStringLiteral("Zero"), QStringLiteral("Second")});
    main.MidiOutput1->setDeviceList(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{more}));
    showSettings();
    EXPECT_EQ(form.cbMidiOutput->count(), 2);
    EXPECT_EQ(form.cbMidiOutput->itemText(0), QStringLiteral("Zero"));
    EXPECT_EQ(form.cbMidiOutput->currentText(), QStringLiteral("Second"));

    // A port plugged in while the program runs is found again at the next showing.
    form.hide();
    more->setDeviceNames({QStringLiteral("Zero"), QStringLiteral("Second"), QStringLiteral("Keyboard")});
    showSettings();
    EXPECT_EQ(form.cbMidiOutput->count(), 3);
    EXPECT_EQ(form.cbMidiOutput->itemText(2), QStringLiteral("Keyboard"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(SettingsWindowTest, SettingsAreSavedAtExitAndInForceAtTheNextStart)
{
    showWindow();
    TfrmSettings& first = showSettings();
    pickPaletteColor(first.cbBackground, 11);
    pickPaletteColor(first.cbTimeBackground, 3);
    first.cbDefaultInstruments->click();
    chooseInstrument(4, Violin);
    // The font dialog: the sample takes the confirmed font.
    whenModal<QFontDialog>([](QFontDialog* dialog) {
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(20);
        font.setItalic(true);
        dialog->setCurrentFont(font);
        dialog->accept();
    });
    QTest::mouseClick(first.sbLyricsWindowFont, Qt::LeftButton);
    ASSERT_EQ(first.pnlLyricsWindowFont->panelFont().name(), QStringLiteral("DejaVu Serif"));
    first.btnOk->click();
    window.reset();
    EXPECT_EQ(storedSetting(QStringLiteral("LyricBackgroundColor")), QStringLiteral("clYellow"));
    EXPECT_EQ(storedSetting(QStringLiteral("Instrument4")), QStringLiteral("Violin"));

    TfrmMain& main = showWindow();
    TfrmSettings& second = settings();
    EXPECT_EQ(second.cbBackground->color(), TColor{65535});
    EXPECT_EQ(second.cbTimeBackground->color(), TColor{16711680});
    EXPECT_TRUE(second.cbDefaultInstruments->isChecked());
    EXPECT_EQ(second.TrackPanels[3]->caption(), QStringLiteral("Violin"));
    // In force since the main window's first showing.
    EXPECT_EQ(main.lyricStripColors().background, TColor{65535});
    EXPECT_EQ(main.TimeDisplay1->color(), TColor{16711680});
    const TFont lyricsFont = main.LyricsWindow()->memoLyrics()->memoFont();
    EXPECT_EQ(lyricsFont.name(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(lyricsFont.height(), -20);
    EXPECT_TRUE(lyricsFont.style().testFlag(TFont::fsItalic));
}

// Esc closes only the window it is typed in; the main window's other keys do
// not act from there either.
TEST_F(SettingsWindowTest, EscapeInASecondaryWindowLeavesTheMainWindowOpen)
{
    TfrmMain& main = showWindow({writeFile("song.mid", choirSong({"Soprano"}))});
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    const QList<QWidget*> windows = {main.SettingsWindow(), main.LyricsWindow()};
    for (QWidget* secondary : windows) {
        SCOPED_TRACE(secondary->objectName().toStdString());
        secondary->show();
        secondary->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(secondary));
        QWidget* target = secondary->focusWidget() ? secondary->focusWidget() : secondary;
        QTest::keyClick(target, Qt::Key_P); // the main window's Play key
        EXPECT_FALSE(main.Timer1->isActive()) << "P typed here does not play";
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !secondary->isVisible(); }, 2000));
        QTest::qWait(300); // a click the main window's cancel button took would end by now
        EXPECT_TRUE(main.isVisible());
    }
}

TEST_F(SettingsWindowTest, F1InASecondaryWindowOpensHelpAtItsOwnPage)
{
    TfrmMain& main = showWindow();
    const QList<QPair<QWidget*, int>> cases = {{main.SettingsWindow(), HelpContext::Settings},
                                               {main.LyricsWindow(), HelpContext::LyricsWindow}};
    for (const auto& [secondary, context] : cases) {
        SCOPED_TRACE(secondary->objectName().toStdString());
        secondary->show();
        secondary->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(secondary));
        QTest::keyClick(secondary->focusWidget() ? secondary->focusWidget() : secondary, Qt::Key_F1);
        auto* viewer = secondary->findChild<THelpViewer*>();
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(viewer->browser()->source(), THelpViewer::pageOfContext(context));
        EXPECT_EQ(main.findChild<THelpViewer*>(QString(), Qt::FindDirectChildrenOnly), nullptr)
            << "the main window's help key did not take it";
        secondary->hide();
    }
}

TEST_F(SettingsWindowTest, DefaultInstrumentsThatCannotBeSentAreReportedAndTheFileStillLoads)
{
    storeSetting(QStringLiteral("DefaultInstruments"), QStringLiteral("1"));
    storeSetting(QStringLiteral("Instrument1"), QStringLiteral("Violin"));
    TfrmMain& main = showWindow();
    main.CloseMidiOutput(); // a program change cannot be sent now
    main.CurrentFileName = writeFile("satb.mid", lyricSong({{0, "Praise "}, {480, "God"}}));
    main.LoadMidiFile();
    EXPECT_FALSE(errors.isEmpty());
    EXPECT_TRUE(main.TrackPanels[1]->isVisible()) << "every track still has its panel";
    EXPECT_EQ(main.LyricTexts(), (QStringList{"Praise ", "God"})) << "and its lyrics";
}

} // namespace
} // namespace harmonet::test
