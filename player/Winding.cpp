// Fast forward and rewind: while a button is held, or for the rest of the
// clock's current second from the menu or the keys F and R, a step timer
// moves the position 256 ms of playing time every 16 ms, seeking each time.
// Winding is silent: the music stops sounding when it starts and plays on
// (with the channels' settings at the new place and the instruments sent
// again) once the button is released.
#include "player/UnitMain.h"

#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "widgets/ImageButton.h"
#include "widgets/TransportGlyphs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSlider>
#include <QTime>
#include <QTimer>
#include <algorithm>

namespace harmonet {

namespace {
constexpr int WindStepMs = 256;
} // namespace

void TfrmMain::startWinding(QTimer* stepTimer, TImageButton* button, const QPixmap& onImage)
{
    stepTimer->start();
    // Play keeps its down state: releasing the button resumes playing. Until
    // then nothing sounds, so the steps need neither silencing nor instruments.
    btnPlay->setGlyph(glyphs::play(false));
    MidiFile1->HaltPlay();
    AllNotesOff();
    button->setGlyph(onImage);
}

void TfrmMain::windBy(int stepMs)
{
    const qint64 target = qint64(tbPosition->value()) + stepMs;
    // The value change runs the position-changed action, which seeks and plays on.
    tbPosition->setValue(int(std::clamp<qint64>(target, tbPosition->minimum(), tbPosition->maximum())));
    MidiFile1->SeekTo(tbPosition->value());
}

void TfrmMain::endWinding(QTimer* stepTimer, TImageButton* button, const QPixmap& offImage)
{
    stepTimer->stop();
    button->setGlyph(offImage);
    const int position = tbPosition->value();
    // Nothing sounded while winding: the settings of the new place suffice.
    m_session->windTo(position);
    m_session->chaseHere();
    if (btnPlay->isDown() && !btnPause->isDown()) {
        btnPlay->setGlyph(glyphs::play(true));
        m_session->sendInstruments();
        MidiFile1->ResumePlay();
    }
}

bool TfrmMain::isWinding() const
{
    return TimerFastForward->isActive() || TimerRewind->isActive();
}

void TfrmMain::btnFastForwardMouseDown()
{
    startWinding(TimerFastForward, btnFastForward, glyphs::fastForward(true));
}

void TfrmMain::TimerFastForwardTimer()
{
    windBy(WindStepMs);
}

void TfrmMain::btnFastForwardMouseUp()
{
    endWinding(TimerFastForward, btnFastForward, glyphs::fastForward(false));
}

void TfrmMain::btnRewindMouseDown()
{
    startWinding(TimerRewind, btnRewind, glyphs::rewind(true));
}

void TfrmMain::TimerRewindTimer()
{
    windBy(-WindStepMs);
}

void TfrmMain::btnRewindMouseUp()
{
    endWinding(TimerRewind, btnRewind, glyphs::rewind(false));
}

void TfrmMain::FastForward1Click()
{
    holdUntilNextSecond([this] { btnFastForwardMouseDown(); }, [this] { btnFastForwardMouseUp(); });
}

void TfrmMain::Rewind1Click()
{
    holdUntilNextSecond([this] { btnRewindMouseDown(); }, [this] { btnRewindMouseUp(); });
}

void TfrmMain::holdUntilNextSecond(const std::function<void()>& press, const std::function<void()>& release)
{
    const int startSecond = m_secondOfDay();
    press();
    // The step timer runs while the window's events are handled here. The
    // seconds of the day wrap to 0 at midnight, which ends the wait as well.
    for (int now = startSecond; now >= startSecond && now < startSecond + 1; now = m_secondOfDay()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    release();
}

int TfrmMain::currentSecondOfDay()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

} // namespace harmonet
