// The sixteen track panels: binding a track to a panel, mute and lyrics
// buttons, the tooltip of a panel, and the instrument menu.
#include "player/UnitMain.h"

#include "player/ControlTags.h"
#include "player/Panel.h"
#include "player/RightAlignedLabel.h"
#include "sequencer/GMPrograms.h"
#include "session/PlayingSession.h"
#include "windows/InstrumentMenu.h"
#include "windows/UnitSettings.h"

#include <QAction>
#include <QCheckBox>

namespace harmonet {

namespace {

const QColor MutedColor(255, 255, 0);
const QColor SelectedLyricsColor(128, 128, 0);

void showMuted(TPanel* button, bool muted)
{
    button->setColor(muted ? MutedColor : QColor());
    button->setBevel(muted ? TPanel::Bevel::Lowered : TPanel::Bevel::Raised);
}

void showLyricsSelected(TPanel* button, bool selected)
{
    button->setBevel(selected ? TPanel::Bevel::Lowered : TPanel::Bevel::Raised);
    button->setColor(selected ? SelectedLyricsColor : QColor());
    button->setTextColor(selected ? QColor(Qt::white) : QColor(Qt::black));
}

int trackIndexOf(const QObject* control)
{
    return tagOf(control).value_or(0);
}

} // namespace

TPanel* TfrmMain::muteButtonOf(int panelNumber) const
{
    return findChild<TPanel*>(QStringLiteral("pnlMute%1").arg(panelNumber));
}

TPanel* TfrmMain::lyricsButtonOf(int panelNumber) const
{
    return findChild<TPanel*>(QStringLiteral("pLyrics%1").arg(panelNumber));
}

void TfrmMain::SetupTrackPanel(int trackIndex, TPanel* panel, TPanel* muteButton, TPanel* lyricsButton)
{
    panel->setVisible(true);
    setTag(panel, trackIndex);
    setTag(muteButton, trackIndex);
    setTag(lyricsButton, trackIndex);
    panel->setCaption(PanelCaption(trackIndex, false));
    // A mute stays with the panel's place: the track bound here now is muted.
    if (muteButton->color() == MutedColor) {
        m_session->setMuted(trackIndex, true);
    }
    // The tracks take their default instruments; a failure to send them is
    // reported without leaving the file half loaded.
    if (m_settingsWindow && m_settingsWindow->DefaultInstrumentsChecked()) {
        guarded([this] { m_settingsWindow->btnApplyClick(); });
    }
}

void TfrmMain::pnlMuteClick(TPanel* button)
{
    const int track = trackIndexOf(button);
    const bool mute = button->bevel() == TPanel::Bevel::Raised;
    showMuted(button, mute);
    m_session->setMuted(track, mute);
    // What the track holds stops at once, not at its next event.
    if (mute) {
        m_session->gateway().silenceTrack(track);
    }
}

void TfrmMain::pLyricsClick(TPanel* button)
{
    showLyricsSelected(button, true);
    const int track = trackIndexOf(button);
    for (QObject* component : ownComponents()) {
        auto* other = qobject_cast<TPanel*>(component);
        if (other && other->objectName().contains(QLatin1String("pLyrics")) && trackIndexOf(other) != track) {
            showLyricsSelected(other, false);
        }
    }
    pnlLyrics->clear();
    pnlLyrics2->clear();
    lblLyrics->setCaption(QString());
    // The voice's words may lie in a track of their own.
    m_lyricsVoice = track;
    const int words = m_words.chosenWordsOf(track);
    LyricTrack = words >= 0 ? words : track;
    GatherLyrics();
    rememberWords();
}

void TfrmMain::TrackPanelMouseMove(TPanel* panel)
{
    panel->setToolTip(panel->caption());
}

void TfrmMain::TrackPanelMouseDown(TPanel* panel, const QPoint& globalPos)
{
    InstrumentPanel = panel;
    pmInstruments->popup(globalPos);
}

void TfrmMain::cbInstrumentsClick()
{
    const bool showInstruments = cbInstruments->isChecked();
    cbInstruments->setToolTip(showInstruments ? tr("Click Track to change Instrument") : QString());
    for (const QMetaObject::Connection& connection : std::as_const(m_panelMouseDown)) {
        disconnect(connection);
    }
    m_panelMouseDown.clear();
    for (TPanel* panel : std::as_const(TrackPanels)) {
        if (showInstruments) {
            m_panelMouseDown.append(connect(panel, &TPanel::mouseDown, this, [this, panel](const QPoint& pos) {
                guarded([this, panel, pos] { TrackPanelMouseDown(panel, pos); });
            }));
        }
        if (!panel->isHidden()) {
            panel->setCaption(PanelCaption(trackIndexOf(panel), showInstruments));
        }
    }
}

void TfrmMain::Instruments1Click()
{
    cbInstruments->setChecked(!cbInstruments->isChecked());
    cbInstrumentsClick();
}

void TfrmMain::WireInstrumentMenu()
{
    for (QObject* component : ownComponents()) {
        auto* item = qobject_cast<QAction*>(component);
        if (!item || !item->objectName().contains(QLatin1String("Midi"))) {
            continue;
        }
        setTag(item, item->objectName().mid(4).toInt());
        connect(item, &QAction::triggered, this, [this, item] { guarded([this, item] { InstrumentClick(item); }); });
    }
}

void TfrmMain::pmInstrumentsPopup()
{
    const QString current = InstrumentPanel ? InstrumentPanel->caption() : QString();
    for (QObject* component : ownComponents()) {
        auto* item = qobject_cast<QAction*>(component);
        if (item && item->objectName().contains(QLatin1String("Midi"))) {
            item->setChecked(InstrumentPanel && item->text().compare(current, Qt::CaseInsensitive) == 0);
        }
    }
}

void TfrmMain::InstrumentClick(QAction* item)
{
    if (!InstrumentPanel) {
        return;
    }
    const int program = tagOf(item).value_or(0);
    m_session->setInstrument(trackIndexOf(InstrumentPanel), program);
    if (cbInstruments->isChecked()) {
        InstrumentPanel->setCaption(GMProgramName(program));
    }
}

} // namespace harmonet
