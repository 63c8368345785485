#pragma once

#include <QtGlobal>

#include <vector>

namespace harmonet::bench {

// Frames at which a sound begins in a mono recording: the signal rises above
// a tenth of the recording's peak after at least 150 ms below it.
std::vector<double> onsetFrames(const std::vector<qint16>& samples, int sampleRate);

// Deviation (ms) of each onset from the straight line fitted through onset i against i.
std::vector<double> gridDeviationsMs(const std::vector<double>& frames, int sampleRate);

// The spread between the 1st and 99th percentile of values.
double p1p99Spread(std::vector<double> values);

// Level (dBFS) of the recording between two moments (ms); -200 for silence.
double rmsDb(const std::vector<qint16>& samples, int sampleRate, double fromMs, double toMs);

// Lets the event loop run for ms.
void waitMs(int ms);

} // namespace harmonet::bench
