#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

namespace harmonet {

// One tempo event of a file: where it stands and the length of a quarter note from there.
struct TTempoChange {
    qint32 Ticks = 0;
    quint32 MicrosecondsPerQuarter = 0;
};

// The file's tempo map: playing time in milliseconds at every tick, following
// each tempo event of every track. Events are ordered by tick; of two at one
// tick the one read later wins; before the first the song runs at 120 bpm.
class TTempoMap {
public:
    static constexpr quint32 DefaultMicrosecondsPerQuarter = 500000;

    TTempoMap() = default;
    // changes in the order the file holds them (track by track, then event by
    // event); changes of 0 microseconds are not tempi and are left out. Without
    // ticksPerQuarter no tick has a length and the map is empty.
    TTempoMap(std::span<const TTempoChange> changes, int ticksPerQuarter);

    // No tick has a length: every conversion gives 0.
    bool IsEmpty() const { return m_segments.empty(); }
    // The tempo in force at tick 0.
    quint32 StartMicrosecondsPerQuarter() const;
    // Whether the file's tempo events name more than one tempo.
    bool HasTempoChanges() const { return m_distinctTempi > 1; }

    // Playing time at a tick position (before tick 0 at the start tempo).
    double MsAt(double ticks) const;
    // The tick position reached after ms of playing time.
    double TicksAt(double ms) const;

private:
    // A stretch of one tempo, from startTicks (and startMs) to the next one.
    struct Segment {
        double startTicks;
        double startMs;
        quint32 microsecondsPerQuarter;
        double msPerTick;
    };
    // The segment holding value, found by the segments' start in ticks or in ms.
    const Segment& segmentAt(double value, double Segment::*start) const;

    std::vector<Segment> m_segments;
    int m_distinctTempi = 0;
};

} // namespace harmonet
