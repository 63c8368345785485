#include "remote/MediaPlayerState.h"

#include <QUrl>

#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {

// The tempo factor of bpm against the file's own tempo; 1 without one.
double rateOf(const MediaPlayerState& state, int bpm)
{
    return state.fileBpm > 0 ? double(bpm) / state.fileBpm : 1.0;
}

} // namespace

QString playbackStatusName(PlaybackStatus status)
{
    switch (status) {
    case PlaybackStatus::Playing:
        return QStringLiteral("Playing");
    case PlaybackStatus::Paused:
        return QStringLiteral("Paused");
    case PlaybackStatus::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QDBusObjectPath trackId(const MediaPlayerState& state)
{
    if (!state.songLoaded) {
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    }
    return QDBusObjectPath(QStringLiteral("/org/harmonet/Song/%1").arg(state.songNumber));
}

QVariantMap metadata(const MediaPlayerState& state)
{
    QVariantMap values{{QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId(state))}};
    if (state.songLoaded) {
        values.insert(QStringLiteral("mpris:length"), qlonglong(state.lengthMs) * 1000);
        values.insert(QStringLiteral("xesam:title"), state.title);
        values.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(state.path).toString(QUrl::FullyEncoded));
    }
    return values;
}

QVariantMap playerProperties(const MediaPlayerState& state)
{
    const bool verses = state.songLoaded && state.verseStartsMs.size() > 1;
    return {
        {QStringLiteral("PlaybackStatus"), playbackStatusName(state.status)},
        {QStringLiteral("LoopStatus"), state.loopSet ? QStringLiteral("Track") : QStringLiteral("None")},
        {QStringLiteral("Rate"), rateOf(state, state.tempoBpm)},
        {QStringLiteral("MinimumRate"), std::min(1.0, rateOf(state, state.minimumBpm))},
        {QStringLiteral("MaximumRate"), std::max(1.0, rateOf(state, state.maximumBpm))},
        {QStringLiteral("Metadata"), metadata(state)},
        {QStringLiteral("Volume"), state.volume},
        {QStringLiteral("CanGoNext"), verses},
        {QStringLiteral("CanGoPrevious"), verses},
        {QStringLiteral("CanPlay"), state.songLoaded},
        {QStringLiteral("CanPause"), state.songLoaded},
        {QStringLiteral("CanSeek"), state.songLoaded},
        {QStringLiteral("CanControl"), true},
    };
}

QVariantMap changedValues(const QVariantMap& before, const QVariantMap& after)
{
    QVariantMap changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const auto old = before.constFind(it.key());
        if (old == before.cend() || old.value() != it.value()) {
            changed.insert(it.key(), it.value());
        }
    }
    return changed;
}

std::optional<int> bpmForRate(const MediaPlayerState& state, double rate)
{
    if (!state.songLoaded || state.fileBpm <= 0 || !(rate > 0.0) || !std::isfinite(rate)) {
        return std::nullopt;
    }
    const double bpm = std::clamp(rate * state.fileBpm, double(state.minimumBpm), double(state.maximumBpm));
    return int(std::lround(bpm));
}

std::optional<int> nextVerseStart(const QList<int>& startsMs, qint64 positionMs)
{
    const auto next = std::upper_bound(startsMs.cbegin(), startsMs.cend(), positionMs);
    if (next == startsMs.cend()) {
        return std::nullopt;
    }
    return *next;
}

int previousVerseStart(const QList<int>& startsMs, qint64 positionMs)
{
    // The verses that started at or before the position, the last one playing.
    auto playing = std::upper_bound(startsMs.cbegin(), startsMs.cend(), positionMs);
    if (playing == startsMs.cbegin()) {
        return 0;
    }
    --playing;
    if (positionMs - *playing >= RestartWindowMs || playing == startsMs.cbegin()) {
        return *playing;
    }
    return *(playing - 1);
}

} // namespace harmonet
