#include "remote/MprisAdaptors.h"

#include "remote/MediaPlayerControl.h"

#include <QUrl>

#include <algorithm>
#include <cmath>

namespace harmonet {

MprisRootAdaptor::MprisRootAdaptor(QObject* host, MediaPlayerControl& control)
    : QDBusAbstractAdaptor(host), m_control(control)
{
}

QString MprisRootAdaptor::identity() const
{
    return QStringLiteral("Harmonet");
}

QString MprisRootAdaptor::desktopEntry() const
{
    return QStringLiteral("harmonet");
}

QStringList MprisRootAdaptor::supportedUriSchemes() const
{
    return {QStringLiteral("file")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return {QStringLiteral("audio/midi"), QStringLiteral("audio/x-midi")};
}

void MprisRootAdaptor::Raise()
{
    m_control.raise();
}

void MprisRootAdaptor::Quit()
{
    m_control.quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* host, MediaPlayerControl& control)
    : QDBusAbstractAdaptor(host), m_control(control)
{
}

QVariant MprisPlayerAdaptor::value(const QString& name) const
{
    return playerProperties(m_control.state()).value(name);
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return playbackStatusName(m_control.state().status);
}

QString MprisPlayerAdaptor::loopStatus() const
{
    return value(QStringLiteral("LoopStatus")).toString();
}

double MprisPlayerAdaptor::rate() const
{
    return value(QStringLiteral("Rate")).toDouble();
}

void MprisPlayerAdaptor::setRate(double rate)
{
    if (rate == 0.0) {
        m_control.pause();
        return;
    }
    if (const auto bpm = bpmForRate(m_control.state(), rate)) {
        m_control.setTempo(*bpm);
    }
}

double MprisPlayerAdaptor::minimumRate() const
{
    return value(QStringLiteral("MinimumRate")).toDouble();
}

double MprisPlayerAdaptor::maximumRate() const
{
    return value(QStringLiteral("MaximumRate")).toDouble();
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return harmonet::metadata(m_control.state());
}

double MprisPlayerAdaptor::volume() const
{
    return m_control.state().volume;
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    if (std::isfinite(volume)) {
        m_control.setVolume(std::clamp(volume, 0.0, 1.0));
    }
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_control.positionMs() * 1000;
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return value(QStringLiteral("CanGoNext")).toBool();
}

bool MprisPlayerAdaptor::canGoPrevious() const
{
    return value(QStringLiteral("CanGoPrevious")).toBool();
}

bool MprisPlayerAdaptor::canPlay() const
{
    return m_control.state().songLoaded;
}

bool MprisPlayerAdaptor::canPause() const
{
    return m_control.state().songLoaded;
}

bool MprisPlayerAdaptor::canSeek() const
{
    return m_control.state().songLoaded;
}

bool MprisPlayerAdaptor::canControl() const
{
    return true;
}

void MprisPlayerAdaptor::Next()
{
    const MediaPlayerState state = m_control.state();
    if (!canGoNext()) {
        return;
    }
    // After the last verse there is nothing to go to: playing stops.
    if (const auto start = nextVerseStart(state.verseStartsMs, m_control.positionMs())) {
        m_control.seekTo(*start);
    } else {
        m_control.stop();
    }
}

void MprisPlayerAdaptor::Previous()
{
    if (canGoPrevious()) {
        m_control.seekTo(previousVerseStart(m_control.state().verseStartsMs, m_control.positionMs()));
    }
}

void MprisPlayerAdaptor::Pause()
{
    m_control.pause();
}

void MprisPlayerAdaptor::PlayPause()
{
    if (m_control.state().status == PlaybackStatus::Playing) {
        m_control.pause();
    } else {
        m_control.play();
    }
}

void MprisPlayerAdaptor::Stop()
{
    m_control.stop();
}

void MprisPlayerAdaptor::Play()
{
    m_control.play();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset)
{
    const MediaPlayerState state = m_control.state();
    if (!state.songLoaded) {
        return;
    }
    const qint64 target = m_control.positionMs() + Offset / 1000;
    if (target > state.lengthMs) {
        return;
    }
    m_control.seekTo(std::max<qint64>(target, 0));
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position)
{
    const MediaPlayerState state = m_control.state();
    if (!state.songLoaded || TrackId != trackId(state) || Position < 0 || Position / 1000 > state.lengthMs) {
        return;
    }
    m_control.seekTo(Position / 1000);
}

void MprisPlayerAdaptor::OpenUri(const QString& Uri)
{
    const QUrl url(Uri);
    if (url.isLocalFile()) {
        m_control.open(url.toLocalFile());
    }
}

} // namespace harmonet
