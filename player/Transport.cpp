// The transport: play, pause and stop, the refresh of the time display and
// the position slider while playing, the count direction of the time display,
// and what follows a change of the position.
#include "player/UnitMain.h"

#include "player/BarControls.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "widgets/ImageButton.h"
#include "widgets/TransportGlyphs.h"
#include "widgets/cmpTimeDisplay.h"

#include <QSlider>
#include <QTimer>

#include <utility>

namespace harmonet {

void TfrmMain::AllNotesOff()
{
    m_session->gateway().silence();
}

void TfrmMain::ShowTime(int ms)
{
    TimeDisplay1->setTime(sbTimeDown->isDown() ? SongLength - ms : ms);
    // The bar controls come with the menus, after the first read-out.
    if (BarControls1) {
        BarControls1->showPlace(ms);
    }
}

void TfrmMain::releasePause()
{
    if (btnPause->isDown()) {
        btnPause->setDown(false);
        btnPause->setGlyph(glyphs::pause(false));
    }
}

void TfrmMain::playPressed()
{
    m_countInNext = true;
    btnPlayClick();
}

void TfrmMain::btnPlayClick()
{
    // Only the play action the user asked for counts in, not the restarts
    // of a seek or a tempo change (nor the one inside this one).
    const bool countIn = std::exchange(m_countInNext, false);
    const auto start = [this, countIn](int ms) {
        if (countIn) {
            m_session->startAfterCountIn(ms);
        } else {
            m_session->startAt(ms);
        }
    };
    m_session->sendInstruments();
    btnPlay->setGlyph(glyphs::play(true));
    btnPlay->setDown(true);
    if (tbPosition->value() == 0) {
        releasePause();
        start(0);
    } else {
        if (MidiFile1->AllTracksEnded()) {
            // Setting 0 runs the position-changed action, which starts over too.
            tbPosition->setValue(0);
            tbPosition->setToolTip(FormatPosition(tbPosition->value()));
            start(0);
        } else {
            start(tbPosition->value());
            tbPosition->setToolTip(FormatPosition(tbPosition->value()));
        }
        releasePause();
    }
    Timer1->start();
}

void TfrmMain::Timer1Timer()
{
    const int now = MidiFile1->CurrentTime();
    ShowTime(now);
    detachPositionOnChange();
    tbPosition->setValue(now);
    tbPosition->setToolTip(FormatPosition(tbPosition->value()));
    bindPositionOnChange();
    // A loop that ends with the song goes back to its start instead.
    if (MidiFile1->SongLengthMs() <= now && !MidiFile1->LoopWrapAhead()) {
        btnStopClick();
    }
}

void TfrmMain::btnStopClick()
{
    m_session->cancelCountIn();
    if (btnPlay->isDown()) {
        MidiFile1->HaltPlay();
        AllNotesOff();
        btnPlay->setGlyph(glyphs::play(false));
        btnPlay->setDown(false);
        btnPause->setGlyph(glyphs::pause(false));
        btnPause->setDown(false);
    } else {
        AllNotesOff();
        tbPosition->setValue(0);
    }
    Timer1->stop();
}

void TfrmMain::btnStopMouseDown()
{
    btnStop->setGlyph(glyphs::stop(true));
}

void TfrmMain::btnStopMouseUp()
{
    btnStop->setGlyph(glyphs::stop(false));
}

void TfrmMain::btnPauseClick(bool fromButton)
{
    if (!fromButton) {
        btnPause->setDown(!btnPause->isDown());
    }
    if (btnPause->isDown()) {
        btnPause->setGlyph(glyphs::pause(true));
        m_session->cancelCountIn();
        MidiFile1->HaltPlay();
        AllNotesOff();
        // Play stays down without its on image, so releasing Pause plays on.
        btnPlay->setGlyph(glyphs::play(false));
        btnPlay->setDown(true);
    } else {
        btnPause->setGlyph(glyphs::pause(false));
        if (btnPlay->isDown()) {
            MidiFile1->ResumePlay();
            btnPlay->setGlyph(glyphs::play(true));
        }
    }
}

void TfrmMain::sbTimeDownClick()
{
    sbTimeDown->setGlyph(glyphs::countArrow(!sbTimeDown->isDown()));
    ShowTime(MidiFile1->CurrentTime());
}

void TfrmMain::bindPositionOnChange()
{
    if (!m_positionOnChange) {
        m_positionOnChange = connect(tbPosition, &QSlider::valueChanged, this,
                                     [this] { guarded([this] { tbPositionChanged(); }); });
    }
}

void TfrmMain::detachPositionOnChange()
{
    disconnect(m_positionOnChange);
    m_positionOnChange = {};
}

void TfrmMain::tbPositionChanged()
{
    const bool refreshing = Timer1->isActive();
    Timer1->stop();
    // Winding silenced the output once when it started.
    const bool winding = isWinding();
    if (!winding) {
        AllNotesOff();
    }
    const int position = tbPosition->value();
    tbPosition->setToolTip(FormatPosition(position));
    ShowTime(position);
    // The tracks move to the position without sounding, then the clock
    // follows; the channels get the settings the song has there (once
    // winding ends).
    if (winding) {
        m_session->windTo(position);
    } else {
        m_session->seek(position);
    }
    ShowLyricsAt(position);
    if (btnPlay->isDown() && !btnPause->isDown() && !winding) {
        btnPlayClick();
    }
    if (refreshing) {
        Timer1->start();
    } else {
        Timer1->stop();
    }
}

void TfrmMain::jumpToTicks(double ticks)
{
    const bool refreshing = Timer1->isActive();
    Timer1->stop();
    m_session->seekToTicks(ticks);
    const int position = MidiFile1->CurrentTime();
    detachPositionOnChange();
    tbPosition->setValue(position);
    tbPosition->setToolTip(FormatPosition(tbPosition->value()));
    bindPositionOnChange();
    ShowTime(position);
    ShowLyricsAt(position);
    if (btnPlay->isDown() && !btnPause->isDown()) {
        btnPlayClick();
    }
    if (refreshing) {
        Timer1->start();
    }
}

} // namespace harmonet
