#pragma once

class QWidget;

namespace harmonet {

class TMidiOutput;

// What the secondary windows use of the main window: its output device, the
// operation that opens the device chosen in the settings window, and what the
// track mixer window needs of it.
class IMainWindowLink {
public:
    virtual TMidiOutput& midiOutput() = 0;
    // Opens the output named by the settings window's device choice.
    virtual void OpenMidiOutput() = 0;
    // Whether the track panels show instrument names rather than track names.
    virtual bool ShowInstruments() const { return false; }
    // The track mixer window is closing or being destroyed: the main window
    // forgets it, if it is the one it holds.
    virtual void MixerWindowClosed(QWidget* window) { (void)window; }

protected:
    ~IMainWindowLink() = default;
};

} // namespace harmonet
