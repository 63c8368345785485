// The output device of the main window: opening the device chosen in the
// settings window, closing it, and the status bar notice when the built-in
// synthesizer cannot make sound or the mixer is missing.
#include "player/UnitMain.h"

#include "midiout/MidiOut.h"
#include "player/PracticeMenus.h"
#include "windows/UnitSettings.h"

#include <QLabel>

namespace harmonet {

void TfrmMain::OpenMidiOutput()
{
    const QString port = m_settingsWindow ? m_settingsWindow->ChosenPortName() : QString();
    if (port.isEmpty()) {
        return;
    }
    MidiOutput1->setProductName(port);
    OutputOpen = MidiOutput1->OpenDevice();
    PracticeMenus1->outputOpened();
    showOutputNotice();
}

void TfrmMain::CloseMidiOutput()
{
    if (OutputOpen) {
        MidiOutput1->CloseDevice();
        OutputOpen = false;
    }
    showOutputNotice();
}

void TfrmMain::showOutputNotice()
{
    // The built-in synthesizer either failed to open (no SoundFont) or is open
    // without an audio device; either way the user hears nothing.
    QString notice;
    QString detail;
    if (OutputOpen) {
        detail = MidiOutput1->DeviceNotice();
        notice = detail.isEmpty() ? QString() : QStringLiteral("No audio output");
    } else if (MidiOutput1->LastError() == MidiNoSoundFont) {
        detail = MidiOutput1->LastOpenFailure();
        notice = QStringLiteral("No SoundFont");
    }
    addMixerNotice(notice, detail);
    lblOutputNotice->setText(notice);
    lblOutputNotice->setToolTip(detail);
    lblOutputNotice->setVisible(!notice.isEmpty());
}

} // namespace harmonet
