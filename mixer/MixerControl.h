#pragma once

#include <QtGlobal>

namespace harmonet {

// The six controls of the mixer component, in the order used as their index.
enum TMixerControlType { mcMidiVolume, mcMasterVolume, mcMidiMute, mcMasterMute, mcTreble, mcBass };
inline constexpr int MixerControlCount = 6;

// A left (channel 0) and right (channel 1) raw value of a mixer control.
struct TMixerStereoValue {
    quint32 LeftValue = 0;
    quint32 RightValue = 0;
};

// The two lines of a mixer the player works with: the speakers line carries
// the master volume and mute, treble and bass; the synthesizer line feeding it
// the MIDI volume and mute.
enum class MixerLine { Speakers, Synthesizer };

constexpr MixerLine lineOf(TMixerControlType control)
{
    return control == mcMidiVolume || control == mcMidiMute ? MixerLine::Synthesizer : MixerLine::Speakers;
}

// One control of an open mixer, in raw values from minimum() to maximum()
// (a volume's steps; a mute is 1 when muted). Reads and writes return
// MixerResult codes.
class MixerControl {
public:
    virtual ~MixerControl() = default;

    // 1: one value for both sides (a mono line, a mute switched as one);
    // 2: left and right.
    virtual int channels() const = 0;
    virtual quint32 minimum() const = 0;
    virtual quint32 maximum() const = 0;
    // A control of one channel reads its value into both sides and takes
    // the left value when written.
    virtual quint32 read(TMixerStereoValue& value) = 0;
    virtual quint32 write(TMixerStereoValue value) = 0;
};

} // namespace harmonet
