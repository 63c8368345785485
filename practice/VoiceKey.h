#pragma once

namespace harmonet {

// Which voice of a song is meant, in terms that stay true of the file from
// one run to the next: its track, the channel it sings on, and its place
// among the voices that share that channel of the track (0 when it has the
// channel alone).
struct VoiceKey {
    // The track's index in the song; below 0: no voice.
    int track = -1;
    // 1..16; 0: the track's first voice, whichever channel it sings on (a
    // choice remembered before voices had channels).
    int channel = 0;
    int part = 0;

    bool isVoice() const { return track >= 0; }
    bool operator==(const VoiceKey&) const = default;
};

} // namespace harmonet
