#pragma once

#include "remote/MediaPlayerState.h"

#include <QObject>

namespace harmonet {

// What the desktop's media controls may ask of the player and learn from
// it. The player implements it; the MPRIS service answers the bus with it.
class MediaPlayerControl : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual MediaPlayerState state() const = 0;
    // The place in the song in ms at the tempo now set.
    virtual qint64 positionMs() const = 0;

    // Each does nothing where it makes no sense (playing without a song).
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    // Moves to ms (within the song), playing on from there while playing.
    virtual void seekTo(qint64 ms) = 0;
    // Loads the file as the open dialog does.
    virtual void open(const QString& path) = 0;
    virtual void setTempo(int bpm) = 0;
    // 0 to 1.
    virtual void setVolume(double volume) = 0;
    // The player's window to the front.
    virtual void raise() = 0;
    // Ends the program as closing its window does.
    virtual void quit() = 0;

signals:
    // Something state() reports may have changed.
    void stateChanged();
    // The position moved other than by playing on.
    void positionJumped();
};

} // namespace harmonet
