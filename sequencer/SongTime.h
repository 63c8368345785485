#pragma once

#include "sequencer/TempoMap.h"

namespace harmonet {

class TMidiFile;

// How playing time runs over a song's ticks at the song's own tempo: through
// its tempo map, or at the one tempo the file sets for the whole song.
class TSongTime {
public:
    // Without a division no tick has a length: every time is 0.
    TSongTime() = default;
    static TSongTime throughTempoMap(TTempoMap map);
    static TSongTime atOneTempo(double microsecondsPerTick);
    // The loaded song's own time, following its tempo changes or at its one tempo.
    static TSongTime ofSong(const TMidiFile& song, bool followTempoChanges);

    double MsAt(double ticks) const;
    // The tick position reached after ms; 0 where ticks have no length.
    double TicksAt(double ms) const;

private:
    bool m_followsMap = false;
    TTempoMap m_map;
    double m_msPerTick = 0.0;
};

} // namespace harmonet
