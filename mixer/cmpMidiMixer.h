#pragma once

#include <QObject>

namespace harmonet {

// The mixer component of the main window: it will carry the system's master
// and synthesizer volume, mute and tone controls. For now it is the named
// component the main window owns, with the identifiers of its six controls;
// it opens no mixer device and offers no control yet.
class TMidiMixer : public QObject {
    Q_OBJECT

public:
    // The six controls, in the order used as their index.
    enum TMixerControlType { mcMidiVolume, mcMasterVolume, mcMidiMute, mcMasterMute, mcTreble, mcBass };
    Q_ENUM(TMixerControlType)

    explicit TMidiMixer(QObject* owner = nullptr);
};

} // namespace harmonet
