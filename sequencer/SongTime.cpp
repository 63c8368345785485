#include "sequencer/SongTime.h"

#include "sequencer/MidiFile.h"

#include <cmath>

namespace harmonet {

TSongTime TSongTime::throughTempoMap(TTempoMap map)
{
    TSongTime time;
    time.m_followsMap = true;
    time.m_map = std::move(map);
    return time;
}

TSongTime TSongTime::atOneTempo(double microsecondsPerTick)
{
    TSongTime time;
    time.m_msPerTick = std::isfinite(microsecondsPerTick) && microsecondsPerTick > 0.0 ? microsecondsPerTick / 1000.0 : 0.0;
    return time;
}

TSongTime TSongTime::ofSong(const TMidiFile& song, bool followTempoChanges)
{
    if (followTempoChanges) {
        return throughTempoMap(song.TempoMap());
    }
    return atOneTempo(song.FileMicrosecondsPerTick());
}

double TSongTime::MsAt(double ticks) const
{
    return m_followsMap ? m_map.MsAt(ticks) : ticks * m_msPerTick;
}

double TSongTime::TicksAt(double ms) const
{
    if (m_followsMap) {
        return m_map.TicksAt(ms);
    }
    return m_msPerTick > 0.0 ? ms / m_msPerTick : 0.0;
}

} // namespace harmonet
