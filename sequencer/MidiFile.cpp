#include "sequencer/MidiFile.h"

#include "core/ErrorReport.h"
#include "sequencer/SmfReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace harmonet {

namespace {

constexpr qint64 maxInt32 = std::numeric_limits<qint32>::max();
constexpr qint64 minInt32 = std::numeric_limits<qint32>::min();
// The largest due time worth a single-shot wake-up; later ones are reached by
// the periodic wake-up re-arming it.
constexpr qint64 longestDueDelayMs = 60 * 60 * 1000;
// How long the early wake-up may poll the event loop for the clock to reach
// the due millisecond before it falls back to waiting a millisecond.
constexpr qint64 longestPollMs = 3;
// The most loop wraps one advance makes (a loop far shorter than the lateness
// of a wake-up is not kept up with).
constexpr int maxWrapsPerAdvance = 64;
// The longest wait at a loop's start between passes (two bars counted in at
// the slowest tempo take far less).
constexpr qint64 maxLoopPauseMs = 60 * 1000;

// Rounds to the nearest integer, halves to even, clamped to a range every
// tick count fits in with room to spare.
qint64 roundHalfEven(double x)
{
    constexpr double limit = 4.0e18;
    if (std::isnan(x)) {
        return 0;
    }
    if (x > limit) {
        return qint64(limit);
    }
    if (x < -limit) {
        return -qint64(limit);
    }
    const double below = std::floor(x);
    const double fraction = x - below;
    qint64 result = qint64(below);
    if (fraction > 0.5 || (fraction == 0.5 && (result & 1) != 0)) {
        ++result;
    }
    return result;
}

int clampToInt(qint64 value)
{
    return int(value > maxInt32 ? maxInt32 : (value < minInt32 ? minInt32 : value));
}

} // namespace

QByteArray TMidiFile::ReadWholeFile(const QString& filename)
{
    const QFileInfo info(filename);
    if (filename.isEmpty() || !info.exists()) {
        throw EFileError(QCoreApplication::translate("SongFile", "File not found"));
    }
    if (info.isDir()) {
        throw EFileError(QCoreApplication::translate("SongFile", "Is a directory"));
    }
    QFile file(filename);
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.error() == QFileDevice::PermissionsError || !info.isReadable()) {
            throw EFileError(QCoreApplication::translate("SongFile", "Access denied"));
        }
        throw EFileError(file.errorString());
    }
    // One read of the whole file where its size is known.
    const qint64 size = file.size();
    if (size <= 0 || file.isSequential()) {
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            throw EFileError(file.errorString());
        }
        return bytes;
    }
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    const qint64 read = file.read(bytes.data(), size);
    if (read < 0) {
        throw EFileError(file.errorString());
    }
    bytes.truncate(qsizetype(read));
    return bytes;
}

template <typename Action>
void TMidiFile::forEachPlayedTrack(const Action& action) const
{
    for (const auto& track : m_tracks) {
        action(*track);
    }
    if (m_clickTrack) {
        action(*m_clickTrack);
    }
}

TMidiFile::TMidiFile(QObject* parent)
    : QObject(parent), m_clock(&m_steadyClock), m_periodicTimer(this), m_dueTimer(this)
{
    m_periodicTimer.setTimerType(Qt::PreciseTimer);
    m_periodicTimer.setInterval(TimerPeriodMs);
    m_dueTimer.setTimerType(Qt::PreciseTimer);
    m_dueTimer.setSingleShot(true);
    connect(&m_periodicTimer, &QTimer::timeout, this, &TMidiFile::Tick);
    connect(&m_dueTimer, &QTimer::timeout, this, &TMidiFile::dueTimerFired);
}

TMidiFile::~TMidiFile()
{
    stopTimer();
    m_priority.restore();
}

void TMidiFile::LoadSong()
{
    QByteArray bytes;
    try {
        bytes = ReadWholeFile(m_filename);
    } catch (const std::bad_alloc&) {
        // Nothing was read: the load ends with no tracks and the default tempo.
        readSong(QByteArray());
        throw Exception(QCoreApplication::translate("SongFile", "Out of memory"));
    } catch (const EFileError&) {
        readSong(QByteArray());
        throw;
    }
    readSong(bytes);
}

void TMidiFile::LoadSongFromBytes(const QByteArray& bytes)
{
    // The tracks keep referring to the bytes, so bytes that only point into
    // someone else's buffer (they own no storage: no capacity) are copied first.
    if (bytes.capacity() < bytes.size()) {
        readSong(QByteArray(bytes.constData(), bytes.size()));
        return;
    }
    readSong(bytes);
}

void TMidiFile::LoadSongFrom(const TMidiFile& song)
{
    if (&song == this) {
        return;
    }
    std::vector<std::unique_ptr<TMidiTrack>> tracks;
    tracks.reserve(song.m_tracks.size());
    for (const auto& track : song.m_tracks) {
        tracks.push_back(track->copyForPlaying(m_onMidiEvent));
    }
    m_tracks = std::move(tracks);
    m_clickTrack.reset();
    m_filename = song.m_filename;
    m_ticksPerQuarter = song.m_ticksPerQuarter;
    m_fileFormat = song.m_fileFormat;
    m_fileBpm = song.m_fileBpm;
    m_fileMicrosecondsPerTick = song.m_fileMicrosecondsPerTick;
    m_tempoChanges = song.m_tempoChanges;
    m_tempoMap = song.m_tempoMap;
    m_timeSignatures = song.m_timeSignatures;
    m_currentTime = 0;
    m_currentPos = 0.0;
    applyFileTempo();
}

void TMidiFile::readSong(const QByteArray& bytes)
{
    m_clickTrack.reset();
    const auto buildMap = qScopeGuard([this] {
        m_fileBpm = m_bpm;
        m_fileMicrosecondsPerTick = m_microsecondsPerTick;
        m_tempoMap = TTempoMap(m_tempoChanges, m_ticksPerQuarter);
        applyFileTempo();
    });
    SmfReader::read(*this, bytes);
}

TMidiTrack* TMidiFile::TrackAt(int index) const
{
    if (index < 0 || index >= NumberOfTracks()) {
        throw EIndexOutOfBounds(index);
    }
    return m_tracks[size_t(index)].get();
}

TMidiTrack* TMidiFile::TrackForChannel(int channel) const
{
    for (const auto& track : m_tracks) {
        if (track->Channel() == channel) {
            return track.get();
        }
    }
    return TrackAt(0);
}

void TMidiFile::SetClickTrack(std::unique_ptr<TMidiTrack> track)
{
    m_clickTrack = std::move(track);
    if (m_clickTrack) {
        m_clickTrack->SkipBefore(roundHalfEven(m_currentPos));
    }
    armDueTimer();
}

void TMidiFile::SetBpm(int bpm)
{
    if (bpm == m_bpm) {
        return;
    }
    if (bpm == 0) {
        throw EIntegerDivisionByZero();
    }
    // Above 60000000 no whole number of microseconds makes a quarter note.
    if (bpm < 0 || bpm > 60000000) {
        throw ETempoOutOfRange(bpm);
    }
    if (m_ticksPerQuarter == 0) {
        throw EFloatDivisionByZero();
    }
    const int microsecondsPerQuarter = 60000000 / bpm;
    m_bpm = 60000000 / microsecondsPerQuarter;
    if (!followsMap()) {
        m_microsecondsPerTick = double(microsecondsPerQuarter) / m_ticksPerQuarter;
        return;
    }
    // Bpm is shown in whole beats: the file's own start tempo stands for the
    // file's own tempi, so going back to it restores them exactly.
    const quint32 start = m_tempoMap.StartMicrosecondsPerQuarter();
    m_tempoScale = m_bpm == int(60000000u / start) ? 1.0 : double(microsecondsPerQuarter) / start;
    m_microsecondsPerTick = m_tempoScale * start / m_ticksPerQuarter;
}

void TMidiFile::SetFollowTempoChanges(bool follow)
{
    if (follow == m_followTempoChanges) {
        return;
    }
    m_followTempoChanges = follow;
    applyFileTempo();
}

void TMidiFile::applyFileTempo()
{
    m_tempoScale = 1.0;
    if (!m_followTempoChanges || m_tempoMap.IsEmpty()) {
        m_bpm = m_fileBpm;
        m_microsecondsPerTick = m_fileMicrosecondsPerTick;
        return;
    }
    const quint32 start = m_tempoMap.StartMicrosecondsPerQuarter();
    m_bpm = int(60000000u / start);
    m_microsecondsPerTick = double(start) / m_ticksPerQuarter;
}

qint64 TMidiFile::TicksAtMs(int ms) const
{
    if (m_microsecondsPerTick == 0.0) {
        return 0;
    }
    if (followsMap()) {
        return roundHalfEven(m_tempoMap.TicksAt(ms / m_tempoScale));
    }
    return roundHalfEven(double(qint64(ms) * 1000) / m_microsecondsPerTick);
}

double TMidiFile::MsAtTicks(double ticks) const
{
    if (followsMap()) {
        return m_tempoMap.MsAt(ticks) * m_tempoScale;
    }
    return ticks * m_microsecondsPerTick / 1000.0;
}

double TMidiFile::positionAt(qint64 t) const
{
    if (followsMap()) {
        // On from the current tick position through the tempo map.
        return m_tempoMap.TicksAt((MsAtTicks(m_currentPos) + double(t - m_currentTime)) / m_tempoScale);
    }
    return m_currentPos + double((t - m_currentTime) * 1000) / m_microsecondsPerTick;
}

double TMidiFile::PositionNow() const
{
    if (!m_playing || m_microsecondsPerTick == 0.0) {
        return m_currentPos;
    }
    const qint64 now = m_clock->nowMs() - m_startReference;
    return now <= m_currentTime ? m_currentPos : positionAt(now);
}

void TMidiFile::SetOnMidiEvent(TOnMidiEvent handler)
{
    m_onMidiEvent = std::move(handler);
    for (const auto& track : m_tracks) {
        track->SetOnMidiEvent(m_onMidiEvent);
    }
}

void TMidiFile::SetClock(const Clock* clock)
{
    m_clock = clock ? clock : &m_steadyClock;
}

void TMidiFile::PlayFromStart()
{
    forEachPlayedTrack([](TMidiTrack& track) { track.RewindTrack(); });
    m_steadyClock.centreOnNow();
    m_startReference = m_clock->nowMs();
    m_playing = true;
    if (!m_drivenByCaller) {
        m_priority.raise();
        startTimer();
    }
    m_currentPos = 0.0;
    m_currentTime = 0;
    m_loopPass = 1;
    m_waitingForPass = false;
    armDueTimer();
}

void TMidiFile::ResumePlay()
{
    // Playing on from where it halted, a pause before a loop's pass included.
    m_waitingForPass = false;
    m_steadyClock.centreOnNow();
    m_startReference = m_clock->nowMs() - m_currentTime;
    m_playing = true;
    if (!m_drivenByCaller) {
        m_priority.raise();
        startTimer();
    }
    armDueTimer();
}

void TMidiFile::HaltPlay()
{
    m_playing = false;
    stopTimer();
    m_priority.restore();
}

void TMidiFile::AdvanceTo(int ms)
{
    if (m_microsecondsPerTick == 0.0) {
        return;
    }
    qint64 target = ms;
    // A late advance may pass the end of a short loop more than once; beyond
    // maxWrapsPerAdvance the time left is not played (the position stays).
    for (int wraps = 0;; ++wraps) {
        // Waiting at a loop's start for the next pass: the position stays.
        if (m_waitingForPass) {
            if (target < m_currentTime) {
                return;
            }
            m_waitingForPass = false;
        }
        const double toPos = positionAt(target);
        if (!LoopWrapAhead() || toPos < double(m_loop->EndTicks)) {
            dispatchSpan(target, toPos, roundHalfEven(toPos));
            return;
        }
        if (wraps == maxWrapsPerAdvance) {
            m_currentTime = clampToInt(target);
            return;
        }
        const double wrapMs = double(m_currentTime) + MsAtTicks(double(m_loop->EndTicks)) - MsAtTicks(m_currentPos);
        const qint64 wholeWrapMs = std::clamp<qint64>(qint64(std::ceil(wrapMs)), m_currentTime, target);
        dispatchSpan(wholeWrapMs, positionAt(wholeWrapMs), m_loop->EndTicks);
        const qint64 reference = m_startReference;
        wrapLoop(wrapMs);
        target -= m_startReference - reference;
    }
}

void TMidiFile::dispatchSpan(qint64 toMs, double toPos, qint64 limitTicks)
{
    const double fromPos = m_currentPos;
    m_currentPos = toPos;
    m_dispatchSpan = {true, m_currentTime, toMs, fromPos, toPos};
    const auto endOfSpan = qScopeGuard([this] { m_dispatchSpan.active = false; });
    try {
        forEachPlayedTrack([limitTicks](TMidiTrack& track) { track.DispatchBefore(limitTicks); });
    } catch (...) {
        // The position already moved: keep the time in step with it so the
        // next advance does not count the same milliseconds twice.
        m_currentTime = clampToInt(toMs);
        throw;
    }
    m_currentTime = clampToInt(toMs);
}

void TMidiFile::wrapLoop(double wrapMs)
{
    const TTickLoop loop = *m_loop;
    double pauseMs = 0.0;
    // The wrap completes whatever the handler does: the moment it is given
    // is in the playing time before the wrap.
    const auto complete = qScopeGuard([this, loop, wrapMs, &pauseMs] {
        forEachPlayedTrack([&loop](TMidiTrack& track) {
            track.RewindTrack();
            track.SkipBefore(loop.StartTicks);
        });
        const double overshoot = double(m_currentTime) - wrapMs;
        if (pauseMs > overshoot) {
            // Waiting at the start: the pass begins at the clock's time of the
            // wrap plus the pause. Playing time counts in whole milliseconds,
            // so the position is set off the start by the fraction that
            // rounding the pause's end leaves.
            const int time = clampToInt(roundHalfEven(MsAtTicks(double(loop.StartTicks))));
            const qint64 resumeMs = qint64(std::llround(wrapMs + pauseMs));
            m_currentPos = positionAfter(double(loop.StartTicks), double(resumeMs) - (wrapMs + pauseMs));
            m_startReference += resumeMs - time;
            m_currentTime = time;
            m_waitingForPass = true;
        } else {
            // Playing on at once: the time past the wrap (less the pause) is
            // played from the start.
            const double position = positionAfter(double(loop.StartTicks), overshoot - pauseMs);
            const int time = clampToInt(roundHalfEven(MsAtTicks(position)));
            m_startReference += m_currentTime - time;
            m_currentTime = time;
            m_currentPos = position;
        }
        ++m_loopPass;
    });
    if (m_onLoopWrap) {
        const double asked = m_onLoopWrap(TDue{qint64(m_currentTime), wrapMs});
        pauseMs = std::isfinite(asked) ? std::clamp(asked, 0.0, double(maxLoopPauseMs)) : 0.0;
    }
}

double TMidiFile::positionAfter(double ticks, double ms) const
{
    if (followsMap()) {
        return m_tempoMap.TicksAt((MsAtTicks(ticks) + ms) / m_tempoScale);
    }
    return ticks + ms * 1000.0 / m_microsecondsPerTick;
}

void TMidiFile::SetLoop(const std::optional<TTickLoop>& loop)
{
    m_loop = loop && loop->StartTicks >= 0 && loop->EndTicks > loop->StartTicks && loop->Passes >= 0
                 ? loop
                 : std::nullopt;
    m_loopPass = 1;
    armDueTimer();
}

bool TMidiFile::LoopWrapAhead() const
{
    return m_loop && (m_loop->Passes == 0 || m_loopPass < m_loop->Passes) && m_currentPos < double(m_loop->EndTicks);
}

void TMidiFile::JumpToTicks(double ticks)
{
    if (m_microsecondsPerTick == 0.0 || !std::isfinite(ticks)) {
        return;
    }
    ticks = std::clamp(ticks, 0.0, 4.0e18);
    placeAt(ticks, qint64(std::ceil(ticks)), clampToInt(roundHalfEven(MsAtTicks(ticks))));
}

void TMidiFile::JumpTo(int ms)
{
    if (m_microsecondsPerTick == 0.0) {
        return;
    }
    const double ticks = followsMap() ? m_tempoMap.TicksAt(ms / m_tempoScale)
                                      : double(qint64(ms) * 1000) / m_microsecondsPerTick;
    placeAt(ticks, TicksAtMs(ms), ms);
}

void TMidiFile::placeAt(double ticks, qint64 firstTicks, int ms)
{
    forEachPlayedTrack([firstTicks](TMidiTrack& track) {
        track.RewindTrack();
        track.SkipBefore(firstTicks);
    });
    m_currentPos = ticks;
    m_currentTime = ms;
    m_loopPass = 1;
    m_waitingForPass = false;
    if (m_playing) {
        m_startReference = m_clock->nowMs() - m_currentTime;
        armDueTimer();
    }
}

void TMidiFile::SeekTo(int ms)
{
    if (m_microsecondsPerTick == 0.0) {
        return;
    }
    const qint64 p = TicksAtMs(ms);
    forEachPlayedTrack([p](TMidiTrack& track) {
        track.RewindTrack();
        track.SkipBefore(p);
    });
    m_loopPass = 1;
    m_waitingForPass = false;
}

int TMidiFile::SongLengthMs() const
{
    qint64 lastTicks = 0;
    for (const auto& track : m_tracks) {
        lastTicks = std::max<qint64>(lastTicks, track->LastEventTicks());
    }
    const qint64 ms = roundHalfEven(MsAtTicks(double(lastTicks)));
    return clampToInt(std::max<qint64>(ms, 0));
}

bool TMidiFile::AllTracksEnded() const
{
    for (const auto& track : m_tracks) {
        if (!track->Ended()) {
            return false;
        }
    }
    return true;
}

void TMidiFile::Tick()
{
    try {
        if (m_playing) {
            AdvanceTo(clampToInt(m_clock->nowMs() - m_startReference));
        }
        if (m_onUpdateEvent) {
            m_onUpdateEvent(this);
        }
    } catch (const std::exception& error) {
        // The event that failed is offered again by the next periodic wake-up;
        // no early wake-up is armed for it, so a failing handler is not retried
        // in a tight loop.
        reportError(error);
        return;
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
        return;
    }
    armDueTimer();
}

std::optional<TDue> TMidiFile::DueOf(const TMidiEvent& event) const
{
    const DispatchSpan& span = m_dispatchSpan;
    if (!span.active || !m_playing) {
        return std::nullopt;
    }
    // The position moves in a straight line across the span; the event fell
    // due at the first whole millisecond whose rounded position passes it.
    qint64 due = span.toMs;
    double exact = double(span.toMs);
    if (span.toMs > span.fromMs && span.toPos > span.fromPos) {
        const double msPerTick = double(span.toMs - span.fromMs) / (span.toPos - span.fromPos);
        const auto positionAt = [&span, msPerTick](qint64 ms) { return span.fromPos + double(ms - span.fromMs) / msPerTick; };
        due = span.fromMs + qint64(std::ceil((double(event.Ticks) + 0.5 - span.fromPos) * msPerTick));
        due = std::clamp(due, span.fromMs + 1, span.toMs);
        for (int step = 0; step < 4 && due - 1 > span.fromMs && roundHalfEven(positionAt(due - 1)) > event.Ticks; ++step) {
            --due;
        }
        for (int step = 0; step < 4 && due < span.toMs && roundHalfEven(positionAt(due)) <= event.Ticks; ++step) {
            ++due;
        }
        // The moment the position reached the tick: before the span began when
        // the rounded position only passed it now.
        exact = std::min(double(span.fromMs) + (double(event.Ticks) - span.fromPos) * msPerTick, double(due));
    }
    return TDue{std::min(due, m_clock->nowMs() - m_startReference), exact};
}

std::optional<std::chrono::steady_clock::time_point> TMidiFile::SteadyTimeAt(qint64 playingMs) const
{
    if (!m_playing) {
        return std::nullopt;
    }
    return m_clock->steadyTimeAt(std::min(m_startReference + playingMs, m_clock->nowMs()));
}

std::optional<std::chrono::steady_clock::time_point> TMidiFile::DueTimeOf(const TMidiEvent& event) const
{
    const std::optional<TDue> due = DueOf(event);
    return due ? SteadyTimeAt(due->ms) : std::nullopt;
}

void TMidiFile::startTimer()
{
    stopTimer();
    m_periodicTimer.start();
}

void TMidiFile::stopTimer()
{
    m_periodicTimer.stop();
    m_dueTimer.stop();
    m_dueAtMs = -1;
}

qint64 TMidiFile::firstMsPassing(qint64 ticks, double limitMs) const
{
    const double estimate = followsMap() ? MsAtTicks(double(ticks) + 0.5) - MsAtTicks(m_currentPos)
                                         : (double(ticks) + 0.5 - m_currentPos) * m_microsecondsPerTick / 1000.0;
    if (estimate > limitMs) {
        return -1;
    }
    // Found the way AdvanceTo computes the position.
    qint64 due = qint64(m_currentTime) + std::max<qint64>(1, qint64(std::ceil(estimate)));
    for (int step = 0; step < 4 && due - 1 > m_currentTime && roundHalfEven(positionAt(due - 1)) > ticks; ++step) {
        --due;
    }
    for (int step = 0; step < 4 && roundHalfEven(positionAt(due)) <= ticks; ++step) {
        ++due;
    }
    return due;
}

qint64 TMidiFile::nextEventTicks() const
{
    qint64 nextTicks = -1;
    forEachPlayedTrack([&nextTicks](const TMidiTrack& track) {
        const qint64 ticks = track.NextDueTicks();
        if (ticks >= 0 && (nextTicks < 0 || ticks < nextTicks)) {
            nextTicks = ticks;
        }
    });
    return nextTicks;
}

qint64 TMidiFile::NextEventMs() const
{
    if (!m_playing || m_microsecondsPerTick == 0.0) {
        return -1;
    }
    const qint64 due = nextDueMs(std::numeric_limits<double>::infinity());
    return due < 0 ? -1 : m_startReference + due;
}

qint64 TMidiFile::nextDueMs(double limitMs) const
{
    const qint64 nextTicks = nextEventTicks();
    const bool wrapAhead = LoopWrapAhead();
    qint64 due = -1;
    if (nextTicks >= 0 && !(wrapAhead && nextTicks >= m_loop->EndTicks)) {
        due = firstMsPassing(nextTicks, limitMs);
    }
    if (wrapAhead) {
        const double toWrap = MsAtTicks(double(m_loop->EndTicks)) - MsAtTicks(m_currentPos);
        if (toWrap <= limitMs) {
            const qint64 wrapDue = m_currentTime + std::max<qint64>(1, qint64(std::ceil(toWrap)));
            due = due < 0 ? wrapDue : std::min(due, wrapDue);
        }
    }
    return due;
}

void TMidiFile::armDueTimer()
{
    if (!m_playing || m_microsecondsPerTick == 0.0 || m_drivenByCaller) {
        return;
    }
    // Nothing left, or too far off: the periodic wake-up re-arms it later.
    const qint64 due = nextDueMs(double(longestDueDelayMs));
    if (due < 0) {
        m_dueTimer.stop();
        m_dueAtMs = -1;
        return;
    }
    const qint64 dueAtMs = m_startReference + due;
    if (m_dueTimer.isActive() && dueAtMs == m_dueAtMs) {
        return;
    }
    m_dueAtMs = dueAtMs;
    m_pollingForDue = false;
    scheduleDueWakeUp();
}

// Timers count whole milliseconds from the moment they start, somewhere inside
// the clock's current millisecond, so waiting the full difference would land
// up to a millisecond past the due one. The wake-up therefore comes one
// millisecond early and then polls the event loop until the clock shows the
// due millisecond.
void TMidiFile::scheduleDueWakeUp()
{
    const qint64 delay = m_dueAtMs - m_clock->nowMs();
    if (delay > 1) {
        m_dueTimer.start(int(std::min(delay - 1, longestDueDelayMs)));
        return;
    }
    if (delay <= 0) {
        m_dueTimer.start(0);
        return;
    }
    if (!m_pollingForDue) {
        m_pollingForDue = true;
        m_pollingSince.start();
    }
    // A clock that does not move with real time (a hand-driven one) must not
    // keep the loop polling.
    m_dueTimer.start(m_pollingSince.elapsed() < longestPollMs ? 0 : 1);
}

void TMidiFile::dueTimerFired()
{
    if (m_clock->nowMs() < m_dueAtMs) {
        scheduleDueWakeUp();
        return;
    }
    m_pollingForDue = false;
    Tick();
}

} // namespace harmonet
