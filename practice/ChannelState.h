#pragma once

#include "midiout/Miditype.h"

#include <array>
#include <vector>

namespace harmonet {

// What each channel of the output was last told that shapes the sound of the
// notes to come: bank and program, controllers, pitch bend and pitch-bend
// range. Kept so that another channel can be made to sound the same.
class TChannelState {
public:
    TChannelState() { clear(); }

    // Nothing known: every channel as a new output has it.
    void clear();
    // Takes note of a message on its way out (of any kind).
    void record(const TMyMidiEvent& message);
    // The messages that make channel target (1..16) sound as source does:
    // its controllers reset, then bank and program, volume, expression, pan
    // and every other controller known, the pitch-bend range and the pitch
    // bend. Volume and pan go out as a new channel has them where the source
    // was never told otherwise.
    std::vector<TMyMidiEvent> copy(int source, int target) const;

private:
    struct Channel {
        std::array<qint16, 128> controllers;
        int program = -1;
        // The pitch bend's two data bytes, or -1.
        int bendLow = -1;
        int bendHigh = -1;
        // The registered parameter the data entry controllers set now: 0 the
        // pitch-bend range; -1 any other or none.
        int parameter = -1;
        int rangeCoarse = -1;
        int rangeFine = -1;
    };

    std::array<Channel, 16> m_channels;
};

} // namespace harmonet
