#pragma once

#include "midiout/MidiBackend.h"

#include <string>
#include <vector>

namespace harmonet {

// The system's MIDI output ports through RtMidi: the ALSA sequencer and JACK
// on Linux, WinMM on Windows, CoreMIDI on macOS. The ports are listed when
// the backend is made and on refresh(), in the order RtMidi lists them, with
// its names. An open port that goes away raises MidiDeviceRemoved.
// A system without a MIDI sequencer or server lists no port and says nothing.
class SystemPortBackend : public MidiBackend {
public:
    SystemPortBackend();

    QStringList deviceNames() const override;
    std::unique_ptr<MidiPort> open(int index) override;
    void refresh() override;

private:
    struct Entry {
        int api; // RtMidi::Api
        std::string name;
    };
    std::vector<Entry> m_ports;
};

} // namespace harmonet
