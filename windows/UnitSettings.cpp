// The life of the settings window (creation, each showing, destruction), its
// handlers and Apply, Ok and Cancel.
#include "windows/UnitSettings.h"

#include "core/ErrorReport.h"
#include "core/Exception.h"
#include "midiout/MidiOut.h"
#include "persist/IniOut.h"
#include "windows/SettingsItems.h"
#include "sequencer/GMPrograms.h"
#include "session/PlayingSession.h"
#include "widgets/CheckBox.h"
#include "widgets/ColorPicker.h"
#include "widgets/ImageButton.h"
#include "widgets/cmpTimeDisplay.h"
#include "windows/BevelPanel.h"
#include "windows/HelpViewer.h"
#include "windows/InstrumentMenu.h"
#include "windows/MainWindowLink.h"
#include "windows/Memo.h"
#include "windows/UnitLyrics.h"
#include "windows/WindowPlacement.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QSpinBox>
#include <algorithm>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>

namespace harmonet {

namespace {

QString defaultCaption(int trackNumber)
{
    return QCoreApplication::translate("harmonet::TfrmSettings", "Track %1").arg(trackNumber);
}

} // namespace

TfrmSettings::TfrmSettings(QWidget* owner, IMainWindowLink& mainWindow, TMidiOutput& output)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_main(mainWindow)
    , m_output(output)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(tr("Harmonet - Settings"));
    setFixedSize(ClientWidth, ClientHeight);
    IniOut1 = new TIniOut(this);
    IniOut1->setObjectName(QStringLiteral("IniOut1"));
    IniOut1->setItems(settingsFormSettingsItems(TrackPanelCount));
    createControls();
    bindHandlers();

    IniOut1->Load();
    // A place off a screen that has since become smaller is centred too.
    centreUnlessOnScreen(*this);
    fillPortList();
    if (cbMidiOutput->count() > 0) {
        cbMidiOutput->setCurrentIndex(0);
    }
    NumberTrackPanels();
    WireInstrumentMenu();
    enableInstrumentChoice(cbDefaultInstruments->isChecked());
}

TfrmSettings::~TfrmSettings()
{
    IniOut1->Save();
}

void TfrmSettings::guarded(const std::function<void()>& handler)
{
    runGuarded(handler);
}

void TfrmSettings::bindHandlers()
{
    auto onColor = [this](TColorPicker* picker, void (TfrmSettings::*handler)()) {
        connect(picker, &TColorPicker::colorChange, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    auto onClick = [this](QPushButton* button, void (TfrmSettings::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    onColor(cbBackground, &TfrmSettings::cbBackgroundColorChange);
    onColor(cbText, &TfrmSettings::cbTextColorChange);
    onColor(cbHilight, &TfrmSettings::cbHilightColorChange);
    onColor(cbTimeText, &TfrmSettings::cbTimeTextColorChange);
    onColor(cbTimeBackground, &TfrmSettings::cbTimeBackgroundColorChange);
    connect(sbLyricsWindowFont, &TImageButton::clicked, this, [this] { guarded([this] { sbLyricsWindowFontClick(); }); });
    // Toggled follows a change by the user and by code alike.
    connect(cbDefaultInstruments, &QCheckBox::toggled, this, [this] { guarded([this] { cbDefaultInstrumentsClick(); }); });
    for (TBevelPanel* panel : std::as_const(TrackPanels)) {
        connect(panel, &TBevelPanel::mouseDown, this,
                [this, panel](const QPoint& pos) { guarded([this, panel, pos] { TrackPanelMouseDown(panel, pos); }); });
    }
    connect(pmInstruments, &TInstrumentMenu::aboutToShow, this, [this] { guarded([this] { pmInstrumentsPopup(); }); });
    onClick(btnClearAll, &TfrmSettings::btnClearAllClick);
    onClick(btnApply, &TfrmSettings::btnApplyClick);
    onClick(btnOk, &TfrmSettings::btnOkClick);
    onClick(btnCancel, &TfrmSettings::btnCancelClick);
}

void TfrmSettings::fillPortList()
{
    // The ports are listed by name from the device list, without selecting
    // each in turn: the output may be open, and choosing is the main window's.
    const QString chosen = cbMidiOutput->currentText();
    QStringList names;
    if (const auto devices = m_output.deviceList()) {
        for (int id = 0; id < devices->count(); ++id) {
            names.append(devices->name(id));
        }
    }
    cbMidiOutput->clear();
    cbMidiOutput->addItems(names);
    // The choice stays on its port while the port is there.
    const int index = cbMidiOutput->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cbMidiOutput->setCurrentIndex(index >= 0 ? index : (names.isEmpty() ? -1 : 0));
}

int TfrmSettings::LyricStripFontSize() const
{
    return sbStripFontSize->value();
}

void TfrmSettings::SetLyricStripFontSize(int pixels)
{
    // A stored size out of range (a settings file edited by hand) is kept to the range.
    sbStripFontSize->setValue(std::clamp(pixels, SmallestStripFontSize, LargestStripFontSize));
}

QString TfrmSettings::ChosenPortName() const
{
    return cbMidiOutput->currentText();
}

bool TfrmSettings::DefaultInstrumentsChecked() const
{
    return cbDefaultInstruments->isChecked();
}

void TfrmSettings::ShowModal()
{
    if (isVisible()) {
        throw Exception(tr("Cannot make a visible window modal"));
    }
    exec();
}

void TfrmSettings::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window brought back from the task bar is not shown anew.
    if (!event->spontaneous()) {
        guarded([this] { FormShow(); });
    }
}

void TfrmSettings::FormShow()
{
    SavedChangeAll = cbChangeAll->isChecked();
    SavedDefaultInstruments = cbDefaultInstruments->isChecked();
    enableInstrumentChoice(SavedDefaultInstruments);
    SavedInstruments.clear();
    for (const TBevelPanel* panel : std::as_const(TrackPanels)) {
        SavedInstruments.append(panel->caption());
    }

    const TLyricStripColors inForce = m_main.lyricStripColors();
    cbBackground->setColor(inForce.background);
    cbText->setColor(inForce.text);
    cbHilight->setColor(inForce.highlight);
    cbBackgroundColorChange();
    cbTextColorChange();
    cbHilightColorChange();

    if (m_lyrics) {
        pnlLyricsWindowFont->setPanelFont(m_lyrics->memoLyrics()->memoFont());
    }

    const TTimeDisplay& time = m_main.timeDisplay();
    cbTimeText->setColor(time.fontColor());
    cbTimeBackground->setColor(time.color());
    cbTimeTextColorChange();
    cbTimeBackgroundColorChange();

    NumberTrackPanels();
    WireInstrumentMenu();

    // A port may have appeared or gone since the last showing.
    ActivePortName = cbMidiOutput->currentText();
    m_output.RefreshDeviceList();
    fillPortList();
}

void TfrmSettings::cbBackgroundColorChange()
{
    pnlLyrics->setColor(cbBackground->color());
}

void TfrmSettings::cbTextColorChange()
{
    pnlLyrics->setFontColor(cbText->color());
}

void TfrmSettings::cbHilightColorChange()
{
    QPalette look = lblHilightText->palette();
    look.setColor(QPalette::WindowText, toQColor(cbHilight->color()));
    lblHilightText->setPalette(look);
}

void TfrmSettings::cbTimeTextColorChange()
{
    pnlTimeDisplay->setFontColor(cbTimeText->color());
}

void TfrmSettings::cbTimeBackgroundColorChange()
{
    pnlTimeDisplay->setColor(cbTimeBackground->color());
}

void TfrmSettings::sbLyricsWindowFontClick()
{
    const TFont current = pnlLyricsWindowFont->panelFont();
    bool confirmed = false;
    const QFont chosen = QFontDialog::getFont(&confirmed, current.toQFont(), this, QString(),
                                              QFontDialog::DontUseNativeDialog);
    if (confirmed) {
        TFont font = TFont::fromQFont(chosen, current.color());
        font.setCharset(current.charset());
        pnlLyricsWindowFont->setPanelFont(font);
    }
}

void TfrmSettings::enableInstrumentChoice(bool enabled)
{
    btnClearAll->setEnabled(enabled);
    cbChangeAll->setEnabled(enabled);
    for (TBevelPanel* panel : std::as_const(TrackPanels)) {
        panel->setEnabled(enabled);
    }
    ScrollBox1->setEnabled(enabled);
}

void TfrmSettings::cbDefaultInstrumentsClick()
{
    enableInstrumentChoice(cbDefaultInstruments->isChecked());
}

void TfrmSettings::TrackPanelMouseDown(TBevelPanel* panel, const QPoint& globalPos)
{
    PopupPanel = panel;
    pmInstruments->popup(globalPos);
}

void TfrmSettings::pmInstrumentsPopup()
{
    const QString current = PopupPanel ? PopupPanel->caption() : QString();
    for (QAction* item : pmInstruments->items()) {
        item->setChecked(PopupPanel && item->text().compare(current, Qt::CaseInsensitive) == 0);
    }
}

void TfrmSettings::InstrumentClick(QAction* item)
{
    if (!PopupPanel) {
        return;
    }
    const QString name = GMProgramName(item->property("Tag").toInt());
    PopupPanel->setCaption(name);
    if (cbChangeAll->isChecked()) {
        for (TBevelPanel* panel : std::as_const(TrackPanels)) {
            panel->setCaption(name);
        }
    }
}

void TfrmSettings::btnClearAllClick()
{
    for (int n = 1; n <= TrackPanels.size(); ++n) {
        TrackPanels[n - 1]->setCaption(defaultCaption(n));
    }
}

void TfrmSettings::NumberTrackPanels()
{
    for (int n = 1; n <= TrackPanels.size(); ++n) {
        TrackPanels[n - 1]->setTag(n);
    }
}

void TfrmSettings::WireInstrumentMenu()
{
    // Wired again at each showing; the earlier connections go first so that a
    // choice runs its handler once.
    for (const QMetaObject::Connection& connection : std::as_const(m_instrumentClicks)) {
        disconnect(connection);
    }
    m_instrumentClicks.clear();
    for (QAction* item : pmInstruments->findChildren<QAction*>()) {
        if (!item->objectName().contains(QLatin1String("Midi"))) {
            continue;
        }
        item->setProperty("Tag", item->objectName().mid(4).toInt());
        m_instrumentClicks.append(connect(item, &QAction::triggered, this,
                                          [this, item] { guarded([this, item] { InstrumentClick(item); }); }));
    }
}

TBevelPanel* TfrmSettings::SettingsPanelForTrack(int m) const
{
    return m >= 2 && m <= TrackPanels.size() ? TrackPanels[m - 1] : TrackPanels.first();
}

void TfrmSettings::ShowInstrumentOnMainPanel(const TBevelPanel* panel)
{
    m_main.showInstrumentOnPanels(panel->tag(), panel->caption());
}

void TfrmSettings::btnApplyClick()
{
    TLyricStripColors colors;
    colors.background = cbBackground->color();
    colors.text = cbText->color();
    colors.highlight = cbHilight->color();
    m_main.setLyricStripColors(colors);
    m_main.setLyricStripFontSize(LyricStripFontSize());

    if (m_lyrics) {
        m_lyrics->memoLyrics()->setMemoFont(pnlLyricsWindowFont->panelFont());
    }

    TTimeDisplay& time = m_main.timeDisplay();
    time.setFontColor(cbTimeText->color());
    time.setColor(cbTimeBackground->color());

    if (ActivePortName != cbMidiOutput->currentText()) {
        ActivePortName = cbMidiOutput->currentText();
        // The port opened at start-up is already the chosen one: opening it
        // again would only cost time and, for the built-in synthesizer, a
        // fresh audio stream that takes a moment before it sounds.
        const bool alreadyOpen =
            m_output.IsOpen() && !m_output.IsLost() && m_output.ProductName() == ActivePortName;
        if (!alreadyOpen) {
            m_main.CloseMidiOutput();
            m_main.OpenMidiOutput();
        }
    }

    SavedDefaultInstruments = cbDefaultInstruments->isChecked();
    SavedChangeAll = cbChangeAll->isChecked();
    if (!cbDefaultInstruments->isChecked()) {
        return;
    }
    SavedInstruments.clear();
    for (const TBevelPanel* panel : std::as_const(TrackPanels)) {
        SavedInstruments.append(panel->caption());
    }
    // Track 0 (the conductor track of most files) never takes an instrument.
    PlayingSession& session = m_main.session();
    for (int m = 1; m < session.trackCount(); ++m) {
        const TBevelPanel* panel = SettingsPanelForTrack(m);
        // A panel without a default instrument shows its track's number instead.
        const bool instrumentChosen =
            GMProgramName(GMProgramNumber(panel->caption())).compare(panel->caption(), Qt::CaseInsensitive) == 0;
        if (session.track(m).instrument != panel->caption() && instrumentChosen) {
            session.setInstrument(m, GMProgramNumber(panel->caption()));
            if (m_main.ShowInstruments()) {
                ShowInstrumentOnMainPanel(panel);
            }
        }
    }
}

void TfrmSettings::btnOkClick()
{
    btnApplyClick();
    close();
}

void TfrmSettings::btnCancelClick()
{
    cbDefaultInstruments->setChecked(SavedDefaultInstruments);
    enableInstrumentChoice(SavedDefaultInstruments);
    cbChangeAll->setChecked(SavedChangeAll);
    for (int n = 0; n < TrackPanels.size() && n < SavedInstruments.size(); ++n) {
        TrackPanels[n]->setCaption(SavedInstruments[n]);
    }
    close();
}

void TfrmSettings::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        btnCancel->click();
        return;
    }
    if (event->key() == Qt::Key_F1) {
        showHelpContext(this, HelpContext::Settings);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace harmonet
