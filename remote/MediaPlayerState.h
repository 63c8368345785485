#pragma once

#include <QDBusObjectPath>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace harmonet {

enum class PlaybackStatus { Stopped, Playing, Paused };

// What the desktop's media controls are told about the player: everything
// but the position, which moves by itself while playing and is read when
// asked for.
struct MediaPlayerState {
    PlaybackStatus status = PlaybackStatus::Stopped;
    // The song played, if any: the path it was read from, its title, a
    // number that tells one loading of it from the next, and its length at
    // the tempo now set.
    bool songLoaded = false;
    QString path;
    QString title;
    int songNumber = 0;
    qint64 lengthMs = 0;
    // The tempo now set, the file's own and the range the player allows.
    int tempoBpm = 0;
    int fileBpm = 0;
    int minimumBpm = 0;
    int maximumBpm = 0;
    // A stretch of the song repeats until it is cleared.
    bool loopSet = false;
    // The synthesizer's volume, 0 to 1.
    double volume = 0.0;
    // Where each verse starts, in ms at the tempo now set, in order.
    QList<int> verseStartsMs;

    bool operator==(const MediaPlayerState&) const = default;
};

// The MPRIS names of the status: "Playing", "Paused", "Stopped".
QString playbackStatusName(PlaybackStatus status);

// The track id of the song: one object path per loading, NoTrack without one.
QDBusObjectPath trackId(const MediaPlayerState& state);

// The song's metadata: mpris:trackid, mpris:length (microseconds),
// xesam:title and xesam:url; only the track id without a song.
QVariantMap metadata(const MediaPlayerState& state);

// The player's properties that announce their changes, by their MPRIS
// names (all but Position).
QVariantMap playerProperties(const MediaPlayerState& state);

// The values of after that differ from those of before, or are new.
QVariantMap changedValues(const QVariantMap& before, const QVariantMap& after);

// The tempo for a rate asked for (1.0 the file's own tempo): within the
// player's range; none without a song or for a rate that is not positive.
std::optional<int> bpmForRate(const MediaPlayerState& state, double rate);

// Where Next and Previous go from positionMs: the start of the following
// verse; the start of the verse playing, or of the one before when less
// than RestartWindowMs of it have played, and the beginning in the first.
// None where there is no following verse.
constexpr int RestartWindowMs = 3000;
std::optional<int> nextVerseStart(const QList<int>& startsMs, qint64 positionMs);
int previousVerseStart(const QList<int>& startsMs, qint64 positionMs);

} // namespace harmonet
