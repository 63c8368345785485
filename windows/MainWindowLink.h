#pragma once

namespace harmonet {

class TMidiOutput;

// What the secondary windows use of the main window: its output device and
// the operation that opens the device chosen in the settings window.
class IMainWindowLink {
public:
    virtual TMidiOutput& midiOutput() = 0;
    // Opens the output named by the settings window's device choice.
    virtual void OpenMidiOutput() = 0;

protected:
    ~IMainWindowLink() = default;
};

} // namespace harmonet
