#pragma once

#include "midiout/Miditype.h"

#include <array>
#include <bitset>
#include <functional>

namespace harmonet {

// The notes that have been started and not ended, per channel, as the
// messages that went out say: a note-on starts its key, a note-off (or a
// note-on at velocity 0) ends it, All Notes Off and All Sound Off end every
// key of their channel.
class SoundingNotes {
public:
    void take(const TMyMidiEvent& message);
    int count() const;
    // Each sounding note (channel 1..16, key), channel by channel.
    void forEach(const std::function<void(int channel, int key)>& visit) const;
    void clear();

private:
    std::array<std::bitset<128>, 16> m_keys;
};

} // namespace harmonet
