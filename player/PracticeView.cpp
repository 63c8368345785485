// The practice view of the main window: View > "Practice View" (F7), the
// roll it shows (my part, the other voices, the words the strip shows, the
// bars), kept up to date as the song, my part and the words change, and what
// it asks for: playing from a bar.
#include "player/UnitMain.h"

#include "practice/PracticeRoll.h"
#include "sequencer/BarMap.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "windows/UnitPracticeView.h"

#include <QAction>
#include <QSlider>
#include <cmath>

namespace harmonet {

TfrmPracticeView& TfrmMain::practiceView()
{
    if (!m_practiceView) {
        m_practiceView = new TfrmPracticeView(this, *this);
        connect(m_practiceView, &TfrmPracticeView::barClicked, this,
                [this](qint64 bar) { guarded([this, bar] { playFromBar(bar); }); });
        connect(m_practiceView, &TfrmPracticeView::loopDragged, this, [this](qint64 first, qint64 last) {
            guarded([this, first, last] {
                if (m_session->fileLoaded()) {
                    m_session->setLoop(first, last);
                }
            });
        });
        connect(m_session, &PlayingSession::loopChanged, this, [this] { showLoopInPracticeView(); });
        // Notes are drawn where they sound.
        connect(m_session, &PlayingSession::transposeChanged, m_practiceView->roll(), &TPracticeRollView::setTranspose);
        refreshPracticeView();
    }
    return *m_practiceView;
}

void TfrmMain::PracticeView1Click()
{
    TfrmPracticeView& view = practiceView();
    view.show();
    view.raise();
    view.activateWindow();
}

void TfrmMain::refreshPracticeView()
{
    if (!m_practiceView) {
        return;
    }
    if (!m_session->fileLoaded()) {
        m_practiceView->clearSong();
        return;
    }
    const QList<TVoice>& voices = m_session->voices();
    const int myVoice = m_session->myVoiceIndex();
    // The view shows the words the strip shows: those of my part once it is chosen.
    TPracticeRoll roll(voices, myVoice, m_words.sourceOf(LyricTrack), MidiFile1->TicksPerQuarter());
    m_practiceView->setSong(std::move(roll), m_session->bars(), MidiFile1->TicksPerQuarter(),
                            myVoice >= 0 ? voices[myVoice].name : QString());
    m_practiceView->roll()->setTranspose(m_session->transpose());
    showLoopInPracticeView();
}

void TfrmMain::showLoopInPracticeView()
{
    if (!m_practiceView) {
        return;
    }
    const std::optional<BarLoop>& loop = m_session->loop();
    m_practiceView->setLoop(loop ? std::optional<TBarSpan>(TBarSpan{loop->firstBar, loop->lastBar}) : std::nullopt);
}

void TfrmMain::playFromBar(qint64 bar)
{
    if (!m_session->fileLoaded()) {
        return;
    }
    const TBarMap& bars = m_session->bars();
    seekTo(int(std::lround(std::min(MidiFile1->MsAtTicks(bars.TicksOfBar(bar)), double(SongLength)))));
}

void TfrmMain::seekTo(int ms)
{
    ms = std::clamp(ms, tbPosition->minimum(), tbPosition->maximum());
    if (tbPosition->value() != ms) {
        // The slider's change runs the position-changed action.
        tbPosition->setValue(ms);
    } else {
        tbPositionChanged();
    }
}

} // namespace harmonet
