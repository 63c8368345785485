#include "player/DesktopMediaControl.h"

#include "core/ErrorReport.h"
#include "player/UnitMain.h"
#include "practice/ReadableNames.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "widgets/ImageButton.h"

#include <QFileInfo>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace harmonet {

DesktopMediaControl::DesktopMediaControl(TfrmMain& window)
    : m_window(window)
{
    for (TImageButton* button : {window.btnPlay, window.btnPause}) {
        connect(button, &TImageButton::downChanged, this, &MediaPlayerControl::stateChanged);
    }
    for (QSlider* slider : {window.tbTempo, window.tbMidiV}) {
        connect(slider, &QSlider::valueChanged, this, &MediaPlayerControl::stateChanged);
    }
    // The length follows the tempo; the verses follow the length.
    connect(window.tbPosition, &QSlider::rangeChanged, this, &MediaPlayerControl::stateChanged);
    PlayingSession& session = window.session();
    connect(&session, &PlayingSession::songChanged, this, [this] {
        ++m_songNumber;
        emit stateChanged();
    });
    connect(&session, &PlayingSession::positionJumped, this, &MediaPlayerControl::positionJumped);
    connect(&session, &PlayingSession::wrapped, this, &MediaPlayerControl::positionJumped);
    connect(&session, &PlayingSession::loopChanged, this, &MediaPlayerControl::stateChanged);
}

PlaybackStatus DesktopMediaControl::status() const
{
    // Pause keeps Play down, so that releasing it plays on.
    if (!m_window.btnPlay->isDown()) {
        return PlaybackStatus::Stopped;
    }
    return m_window.btnPause->isDown() ? PlaybackStatus::Paused : PlaybackStatus::Playing;
}

MediaPlayerState DesktopMediaControl::state() const
{
    MediaPlayerState state;
    state.status = status();
    const PlayingSession& session = m_window.session();
    state.songLoaded = session.fileLoaded();
    if (state.songLoaded) {
        state.path = session.song()->path();
        state.title = songTitle(session.song()->file(), state.path);
        state.songNumber = m_songNumber;
        state.lengthMs = m_window.SongLength;
        for (int verse = 1; verse <= m_window.VerseCount; ++verse) {
            state.verseStartsMs.append(m_window.VerseStart(verse));
        }
    }
    state.loopSet = session.loop().has_value();
    state.tempoBpm = m_window.tbTempo->value();
    state.fileBpm = m_window.FileBpm;
    state.minimumBpm = m_window.tbTempo->minimum();
    state.maximumBpm = m_window.tbTempo->maximum();
    const QSlider* volume = m_window.tbMidiV;
    state.volume = volume->maximum() > 0 ? double(volume->value()) / volume->maximum() : 0.0;
    return state;
}

qint64 DesktopMediaControl::positionMs() const
{
    return m_window.session().sequencer().CurrentTime();
}

void DesktopMediaControl::play()
{
    if (!m_window.session().fileLoaded()) {
        return;
    }
    runGuarded([this] {
        switch (status()) {
        case PlaybackStatus::Paused:
            m_window.btnPauseClick(false);
            break;
        case PlaybackStatus::Stopped:
            m_window.btnPlayClick();
            break;
        case PlaybackStatus::Playing:
            break;
        }
    });
}

void DesktopMediaControl::pause()
{
    if (status() == PlaybackStatus::Playing) {
        runGuarded([this] { m_window.btnPauseClick(false); });
    }
}

void DesktopMediaControl::stop()
{
    if (status() != PlaybackStatus::Stopped) {
        runGuarded([this] { m_window.btnStopClick(); });
    }
}

void DesktopMediaControl::seekTo(qint64 ms)
{
    if (!m_window.session().fileLoaded()) {
        return;
    }
    QSlider* position = m_window.tbPosition;
    const int target = int(std::clamp<qint64>(ms, position->minimum(), position->maximum()));
    runGuarded([this, position, target] {
        // A new value runs the position-changed action by itself.
        if (position->value() != target) {
            position->setValue(target);
        } else {
            m_window.tbPositionChanged();
        }
    });
}

void DesktopMediaControl::open(const QString& path)
{
    runGuarded([this, path] {
        m_window.CurrentFileName = path;
        m_window.LastDir = QFileInfo(path).absolutePath();
        m_window.LoadMidiFile();
    });
}

void DesktopMediaControl::setTempo(int bpm)
{
    runGuarded([this, bpm] {
        m_window.tbTempo->setValue(bpm);
        m_window.tbTempoChanged();
    });
}

void DesktopMediaControl::setVolume(double volume)
{
    QSlider* slider = m_window.tbMidiV;
    const int value = int(std::lround(std::clamp(volume, 0.0, 1.0) * slider->maximum()));
    runGuarded([slider, value] { slider->setValue(value); });
}

void DesktopMediaControl::raise()
{
    m_window.showNormal();
    m_window.QWidget::raise();
    m_window.activateWindow();
}

void DesktopMediaControl::quit()
{
    m_window.close();
}

} // namespace harmonet
