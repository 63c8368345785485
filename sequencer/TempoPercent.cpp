#include "sequencer/TempoPercent.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace harmonet {

int tempoPercentOf(int bpm, int songBpm)
{
    if (songBpm <= 0) {
        return 100;
    }
    const double percent = std::round(100.0 * bpm / songBpm);
    return int(std::clamp(percent, double(LowestTempoPercent), double(HighestTempoPercent)));
}

int bpmAtPercent(int percent, int songBpm)
{
    const int share = std::clamp(percent, LowestTempoPercent, HighestTempoPercent);
    const double bpm = std::round(double(share) * std::max(songBpm, 0) / 100.0);
    return int(std::clamp(bpm, 1.0, double(std::numeric_limits<int>::max())));
}

} // namespace harmonet
