#include "sequencer/TempoMap.h"

#include <algorithm>
#include <iterator>

namespace harmonet {

TTempoMap::TTempoMap(std::span<const TTempoChange> changes, int ticksPerQuarter)
{
    std::vector<TTempoChange> ordered;
    ordered.reserve(changes.size());
    std::copy_if(changes.begin(), changes.end(), std::back_inserter(ordered),
                 [](const TTempoChange& change) { return change.MicrosecondsPerQuarter > 0; });

    std::vector<quint32> tempi;
    for (const TTempoChange& change : ordered) {
        tempi.push_back(change.MicrosecondsPerQuarter);
    }
    std::sort(tempi.begin(), tempi.end());
    m_distinctTempi = int(std::unique(tempi.begin(), tempi.end()) - tempi.begin());

    if (ticksPerQuarter <= 0) {
        return;
    }
    // Stable, so that of two changes at one tick the later one read comes last.
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const TTempoChange& a, const TTempoChange& b) { return a.Ticks < b.Ticks; });
    const auto msPerTick = [ticksPerQuarter](quint32 microsecondsPerQuarter) {
        return double(microsecondsPerQuarter) / 1000.0 / ticksPerQuarter;
    };
    m_segments.push_back({0.0, 0.0, DefaultMicrosecondsPerQuarter, msPerTick(DefaultMicrosecondsPerQuarter)});
    for (const TTempoChange& change : ordered) {
        const double ticks = std::max(0, change.Ticks);
        Segment& last = m_segments.back();
        if (ticks == last.startTicks) {
            // Same place: the later change replaces the earlier.
            last.microsecondsPerQuarter = change.MicrosecondsPerQuarter;
            last.msPerTick = msPerTick(change.MicrosecondsPerQuarter);
            continue;
        }
        const double startMs = last.startMs + (ticks - last.startTicks) * last.msPerTick;
        m_segments.push_back(
            {ticks, startMs, change.MicrosecondsPerQuarter, msPerTick(change.MicrosecondsPerQuarter)});
    }
}

quint32 TTempoMap::StartMicrosecondsPerQuarter() const
{
    return m_segments.empty() ? DefaultMicrosecondsPerQuarter : m_segments.front().microsecondsPerQuarter;
}

const TTempoMap::Segment& TTempoMap::segmentAt(double value, double Segment::*start) const
{
    // The last segment starting at or before value; the first for anything before it.
    const auto after = std::upper_bound(m_segments.begin(), m_segments.end(), value,
                                        [start](double v, const Segment& s) { return v < s.*start; });
    return after == m_segments.begin() ? m_segments.front() : *(after - 1);
}

double TTempoMap::MsAt(double ticks) const
{
    if (m_segments.empty()) {
        return 0.0;
    }
    const Segment& segment = segmentAt(ticks, &Segment::startTicks);
    return segment.startMs + (ticks - segment.startTicks) * segment.msPerTick;
}

double TTempoMap::TicksAt(double ms) const
{
    if (m_segments.empty()) {
        return 0.0;
    }
    const Segment& segment = segmentAt(ms, &Segment::startMs);
    return segment.startTicks + (ms - segment.startMs) / segment.msPerTick;
}

} // namespace harmonet
