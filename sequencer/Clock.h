#pragma once

#include <QtGlobal>

#include <chrono>
#include <optional>

namespace harmonet {

// The monotonic millisecond clock the playback engine reads. The engine uses the
// steady clock unless another one is set, so tests and offline renderers can
// drive playing time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 nowMs() const = 0;
    // The moment on the system's steady clock at which this clock begins to
    // show ms, where it runs with real time; none for a clock that does not.
    virtual std::optional<std::chrono::steady_clock::time_point> steadyTimeAt(qint64 /*ms*/) const
    {
        return std::nullopt;
    }
};

// Milliseconds of the system's monotonic clock.
class SteadyClock final : public Clock {
public:
    qint64 nowMs() const override;
    std::optional<std::chrono::steady_clock::time_point> steadyTimeAt(qint64 ms) const override;

    // Moves the clock's millisecond boundaries (by less than a millisecond) so
    // that this instant lies half-way between two: whole milliseconds counted
    // from now are then the elapsed time rounded to the nearest, and a timer
    // waiting for one is never most of a millisecond late.
    void centreOnNow();

    // One process-wide instance, for callers that need no phase of their own.
    static SteadyClock& instance();

private:
    qint64 m_offsetNs = 0;
};

// A clock that moves only when told to.
class ManualClock final : public Clock {
public:
    explicit ManualClock(qint64 startMs = 0) : m_nowMs(startMs) {}

    qint64 nowMs() const override { return m_nowMs; }
    void setNowMs(qint64 ms) { m_nowMs = ms; }
    void advanceMs(qint64 ms) { m_nowMs += ms; }

private:
    qint64 m_nowMs;
};

} // namespace harmonet
