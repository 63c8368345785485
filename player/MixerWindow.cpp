// The track mixer window seen from the main window: created on demand from
// the Track Mixer commands, forgotten when it closes, and destroyed before
// the main window goes.
#include "player/UnitMain.h"

#include "sequencer/MidiFile.h"
#include "windows/UnitMixer.h"

#include <QCheckBox>

namespace harmonet {

void TfrmMain::sbMixerClick()
{
    if (!FileLoaded) {
        return;
    }
    if (!MixerWindow) {
        MixerWindow = new TfrmMixer(this, *MidiFile1, *MidiOutput1, *this);
    }
    MixerWindow->show();
    MixerWindow->raise();
    MixerWindow->activateWindow();
}

bool TfrmMain::ShowInstruments() const
{
    return cbInstruments->isChecked();
}

void TfrmMain::MixerWindowClosed(QWidget* window)
{
    if (MixerWindow == window) {
        MixerWindow = nullptr;
    }
}

void TfrmMain::destroyMixerWindows()
{
    // A closed mixer frees itself only once the event loop gets to it; one
    // still waiting must not outlive this window, which it tells when it goes.
    qDeleteAll(findChildren<TfrmMixer*>(Qt::FindDirectChildrenOnly));
}

} // namespace harmonet
