#pragma once

#include <QtGlobal>

namespace harmonet {

// The monotonic millisecond clock the playback engine reads. The engine uses the
// steady clock unless another one is set, so tests and offline renderers can
// drive playing time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 nowMs() const = 0;
};

// Milliseconds of the system's monotonic clock.
class SteadyClock final : public Clock {
public:
    qint64 nowMs() const override;

    // One process-wide instance, the engine's default.
    static SteadyClock& instance();
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
