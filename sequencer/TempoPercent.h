#pragma once

namespace harmonet {

// The playing tempo offered as a share of the song's own tempo.
inline constexpr int LowestTempoPercent = 25;
inline constexpr int HighestTempoPercent = 200;

// The playing tempo bpm as a whole percentage of the song's own tempo,
// limited to 25..200; 100 for a song without a tempo.
int tempoPercentOf(int bpm, int songBpm);
// The tempo in bpm (at least 1) that plays at percent (limited to 25..200) of
// the song's own tempo.
int bpmAtPercent(int percent, int songBpm);

} // namespace harmonet
