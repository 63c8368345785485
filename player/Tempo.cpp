// The tempo slider and its popup menu: a change of tempo rescales the song
// length and the position so that playback goes on at the same musical place.
#include "player/UnitMain.h"

#include "player/PitchClickMenus.h"
#include "player/TrackBar.h"
#include "sequencer/MidiFile.h"
#include "sequencer/TempoPercent.h"
#include "session/PlayingSession.h"
#include "widgets/ImageButton.h"

#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <cmath>

namespace harmonet {

void TfrmMain::tbTempoChanged()
{
    const bool wasPlaying = btnPlay->isDown();
    const int oldLength = MidiFile1->SongLengthMs();
    const int oldPosition = tbPosition->value();
    if (tbTempo->value() < 1) {
        tbTempo->setValue(1);
    }
    MidiFile1->SetBpm(tbTempo->value());
    tbTempo->setToolTip(QString::number(tbTempo->value()));
    showTempoPercent();
    restartWithNewTiming(wasPlaying, [oldLength, oldPosition](int newLength) {
        // A song of no length has no place to keep: it stays at 0.
        if (oldLength <= 0) {
            return 0.0;
        }
        return (newLength / 1000.0) * (oldPosition / 1000.0) / (oldLength / 1000.0);
    });
    PitchClickMenus1->tempoChanged();
}

void TfrmMain::fitTempoRange()
{
    // A song faster than the usual top of the range widens it, so that its
    // own tempo can be shown and set back.
    const int top = std::max(DefaultTempoMaximum, FileBpm);
    tbTempo->setMaximum(top);
    lblTempoHigh->setText(QString::number(top));
    lblTempoHigh->adjustSize();
    showTempoPercent();
}

void TfrmMain::showTempoPercent()
{
    const int percent = m_session->fileLoaded() ? tempoPercentOf(MidiFile1->Bpm(), FileBpm) : 100;
    lblTempoPercent->setText(tr("%1 %").arg(percent));
    lblTempoPercent->adjustSize();
    lblTempoPercent->setToolTip(tr("The tempo as a share of the song's own tempo (%1 bpm)").arg(FileBpm));
}

void TfrmMain::restartWithNewTiming(bool wasPlaying, const std::function<double(int newLength)>& newPositionSeconds)
{
    double newPosition = 0.0;
    {
        // The two stops bring the slider to 0 without seeking; the change
        // notification comes back even when a stop fails.
        detachPositionOnChange();
        const auto rebind = qScopeGuard([this] { bindPositionOnChange(); });
        btnStopClick();
        btnStopClick();
        const int newLength = MidiFile1->SongLengthMs();
        tbPosition->setMaximum(newLength);
        SongLength = newLength;
        if (VerseCount > 0) {
            UpdatePositionStep();
        }
        newPosition = newPositionSeconds(newLength);
    }
    btnPlayClick();
    tbPosition->setValue(int(std::nearbyint(newPosition * 1000.0)));
    if (!wasPlaying) {
        btnStopClick();
    }
}

void TfrmMain::setTempo(int bpm)
{
    tbTempo->setValue(bpm);
    tbTempoChanged();
}

void TfrmMain::tbTempoKeyDown(const QKeyEvent& event)
{
    // The digit 1 of the main keyboard, not the keypad's.
    if (event.key() == Qt::Key_1 && !event.modifiers().testFlag(Qt::KeypadModifier)) {
        Reset1Click();
    }
}

void TfrmMain::Reset1Click()
{
    setTempo(FileBpm);
}

void TfrmMain::setTempoPercent(int percent)
{
    setTempo(bpmAtPercent(percent, FileBpm));
}

} // namespace harmonet
