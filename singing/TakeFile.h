#pragma once

#include "core/Exception.h"

#include <QString>

#include <vector>

namespace harmonet {

// A take that cannot be read; the message names the file and the reason.
class ETakeError : public Exception {
public:
    using Exception::Exception;
};

// A take as mono samples from -1 to 1 (channels averaged).
struct TakeAudio {
    std::vector<float> samples;
    int sampleRate = 0;
};

// The longest take read, in seconds: a pass over a long song with its repeats.
constexpr int LongestTakeSeconds = 30 * 60;

// Reads an audio file (WAV, FLAC, Ogg Vorbis, MP3 as far as the system's
// audio file library reads it). Raises ETakeError when it cannot be opened,
// is no audio, has a rate outside 8000..192000 or is longer than
// LongestTakeSeconds.
TakeAudio readTake(const QString& path);

} // namespace harmonet
