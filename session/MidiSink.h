#pragma once

#include "midiout/Miditype.h"
#include "sequencer/MidiFile.h"

#include <optional>

namespace harmonet {

// Where the messages of a playing session go: the output device while the
// singer listens, the offline synthesizer while a file is rendered.
class MidiSink {
public:
    virtual ~MidiSink() = default;
    // Whether messages reach anything now; the gateway sends none otherwise.
    virtual bool isOpen() const = 0;
    // Whether the messages reach the built-in synthesizer, which follows
    // every channel's tuning (a system port may not).
    virtual bool isBuiltInSynthesizer() const { return false; }
    // One message, with the moment its event fell due in playing time, or
    // none for a message that falls due as it is sent.
    virtual void send(const TMyMidiEvent& message, const std::optional<TDue>& due) = 0;
};

} // namespace harmonet
