// The output device of the main window: opening the device chosen in the
// settings window, closing it, and the status bar notice when the built-in
// synthesizer cannot make sound or the mixer is missing.
#include "player/UnitMain.h"

#include "midiout/MidiOut.h"
#include "session/PlayingSession.h"
#include "windows/UnitSettings.h"

#include <QLabel>

namespace harmonet {

void TfrmMain::OpenMidiOutput()
{
    const QString port = m_settingsWindow ? m_settingsWindow->ChosenPortName() : QString();
    if (port.isEmpty()) {
        return;
    }
    m_session->openOutput(port);
    showOutputNotice();
}

void TfrmMain::CloseMidiOutput()
{
    m_session->closeOutput();
    showOutputNotice();
}

void TfrmMain::showOutputNotice()
{
    // The built-in synthesizer either failed to open (no SoundFont) or is open
    // without an audio device; either way the user hears nothing.
    QString notice;
    QString detail;
    if (m_session->outputOpen()) {
        detail = MidiOutput1->DeviceNotice();
        notice = detail.isEmpty() ? QString() : tr("No audio output");
    } else if (MidiOutput1->LastError() == MidiNoSoundFont) {
        detail = MidiOutput1->LastOpenFailure();
        notice = tr("No SoundFont");
    }
    addMixerNotice(notice, detail);
    lblOutputNotice->setText(notice);
    lblOutputNotice->setToolTip(detail);
    lblOutputNotice->setVisible(!notice.isEmpty());
}

} // namespace harmonet
