// Options > Follow Tempo Changes: whether the song plays through the file's
// tempo map or at one tempo, and the status bar notice that a file's tempo
// changes are being ignored.
#include "player/UnitMain.h"

#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "widgets/ImageButton.h"

#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QStatusBar>
#include <algorithm>
#include <cmath>

namespace harmonet {

void TfrmMain::createTempoNotice()
{
    lblTempoNotice = new QLabel(tr("Tempo changes ignored"), StatusBar1);
    lblTempoNotice->setObjectName(QStringLiteral("lblTempoNotice"));
    lblTempoNotice->setToolTip(tr(
        "This file changes its tempo, but it plays at one tempo throughout. "
        "Turn on Options > Follow Tempo Changes to play it as written."));
    lblTempoNotice->hide();
    StatusBar1->addPermanentWidget(lblTempoNotice);
}

void TfrmMain::showTempoNotice()
{
    lblTempoNotice->setVisible(m_session->fileLoaded() && !MidiFile1->FollowsTempoChanges()
                               && MidiFile1->TempoMap().HasTempoChanges());
}

bool TfrmMain::FollowTempoChanges() const
{
    return FollowTempoChanges1->isChecked();
}

void TfrmMain::SetFollowTempoChanges(bool follow)
{
    // The check mark's change runs FollowTempoChanges1Click.
    FollowTempoChanges1->setChecked(follow);
}

int TfrmMain::sameShareInTicks(int ms) const
{
    // Verses share a song alike in ticks. At one tempo a share of the length
    // in ms is the same share of the ticks; through a tempo map it is not.
    const int length = tbPosition->maximum();
    if (!MidiFile1->FollowsTempoChanges() || length <= 0) {
        return ms;
    }
    qint64 lastTicks = 0;
    for (int i = 0; i < MidiFile1->NumberOfTracks(); ++i) {
        lastTicks = std::max<qint64>(lastTicks, MidiFile1->TrackAt(i)->LastEventTicks());
    }
    const double place = MidiFile1->MsAtTicks(double(lastTicks) * ms / length);
    return int(std::clamp(std::nearbyint(place), 0.0, double(length)));
}

void TfrmMain::FollowTempoChanges1Click()
{
    // The item is checkable: the trigger (or the restored setting) has
    // already set its check mark.
    const bool follow = FollowTempoChanges1->isChecked();
    if (!m_session->fileLoaded() || follow == MidiFile1->FollowsTempoChanges()) {
        MidiFile1->SetFollowTempoChanges(follow);
        showTempoNotice();
        return;
    }
    // The song goes on at the same tick, now timed the other way, at the
    // file's own tempo as after loading.
    const bool wasPlaying = btnPlay->isDown();
    const qint64 ticks = MidiFile1->TicksAtMs(tbPosition->value());
    MidiFile1->SetFollowTempoChanges(follow);
    FileBpm = MidiFile1->Bpm();
    fitTempoRange();
    tbTempo->setValue(FileBpm);
    showTempoNotice();
    restartWithNewTiming(wasPlaying, [this, ticks](int) { return MidiFile1->MsAtTicks(double(ticks)) / 1000.0; });
}

} // namespace harmonet
