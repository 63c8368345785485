#pragma once

#include <QObject>

namespace harmonet {

// The mixer component of the main window, named MidiMixer1, with the
// identifiers of the six controls of the system's master and synthesizer
// lines (volume, mute, treble, bass). It opens no mixer device and offers no
// control: the volume and tone controls of the window keep their own ranges.
class TMidiMixer : public QObject {
    Q_OBJECT

public:
    // The six controls, in the order used as their index.
    enum TMixerControlType { mcMidiVolume, mcMasterVolume, mcMidiMute, mcMasterMute, mcTreble, mcBass };
    Q_ENUM(TMixerControlType)

    explicit TMidiMixer(QObject* owner = nullptr);
};

} // namespace harmonet
