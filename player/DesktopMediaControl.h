#pragma once

#include "remote/MediaPlayerControl.h"

namespace harmonet {

class TfrmMain;

// The main window as the desktop's media controls see it: its transport
// buttons give the status, its session the song, its sliders the tempo and
// the synthesizer's volume, its verses where Next and Previous go. What the
// controls ask is done as the window's own buttons and menus do it; what
// that raises reaches the error report as a user's action would.
class DesktopMediaControl : public MediaPlayerControl {
    Q_OBJECT

public:
    explicit DesktopMediaControl(TfrmMain& window);

    MediaPlayerState state() const override;
    qint64 positionMs() const override;
    void play() override;
    void pause() override;
    void stop() override;
    void seekTo(qint64 ms) override;
    void open(const QString& path) override;
    void setTempo(int bpm) override;
    void setVolume(double volume) override;
    void raise() override;
    void quit() override;

private:
    PlaybackStatus status() const;

    TfrmMain& m_window;
    int m_songNumber = 0;
};

} // namespace harmonet
