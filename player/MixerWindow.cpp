// The track mixer window seen from the main window: created on demand from
// the Track Mixer commands, forgotten when it closes, and destroyed before
// the main window goes.
#include "player/UnitMain.h"

#include "session/PlayingSession.h"
#include "windows/UnitMixer.h"

#include <QCheckBox>

namespace harmonet {

void TfrmMain::sbMixerClick()
{
    if (!m_session->fileLoaded()) {
        return;
    }
    if (!m_mixerWindow) {
        m_mixerWindow = new TfrmMixer(this, *m_session, *this);
        m_session->setTrackMixerInForce(true);
    }
    m_mixerWindow->show();
    m_mixerWindow->raise();
    m_mixerWindow->activateWindow();
}

bool TfrmMain::ShowInstruments() const
{
    return cbInstruments->isChecked();
}

void TfrmMain::MixerWindowClosed(QWidget* window)
{
    if (m_mixerWindow == window) {
        m_mixerWindow = nullptr;
        m_session->setTrackMixerInForce(false);
    }
}

void TfrmMain::destroyMixerWindows()
{
    // A closed mixer frees itself only once the event loop gets to it; one
    // still waiting must not outlive this window, which it tells when it goes.
    qDeleteAll(findChildren<TfrmMixer*>(Qt::FindDirectChildrenOnly));
}

} // namespace harmonet
