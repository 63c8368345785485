#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <span>

namespace harmonet {

// The two lines of a mixer the player works with.
enum class MixerLineType { Speakers, Synthesizer };

// The kinds of control looked up on a line.
enum class MixerControlKind { Volume, Mute, Treble, Bass };

// A line of an open mixer: its identifier and how many channels it carries.
struct MixerLineRecord {
    quint32 id = 0;
    int channels = 0;
};

// A control found on a line. A uniform control has one value for all
// channels; a control with items keeps that many values per channel.
// Identifiers are never 0 (0 stands for a control never found).
struct MixerControlRecord {
    quint32 id = 0;
    bool uniform = false;
    int items = 0;
    quint32 minimum = 0;
    quint32 maximum = 0;
};

// One open mixer device. Results are MixerResult codes; MixerInvalidLine or
// MixerInvalidControl from findControl mean that the line has no such control.
// Everything runs on the GUI thread, the change handler included.
class MixerDevice {
public:
    virtual ~MixerDevice() = default;

    virtual QString productName() const = 0;

    // The line of that type, or nothing when the device has none.
    virtual std::optional<MixerLineRecord> line(MixerLineType type) const = 0;

    virtual quint32 findControl(const MixerLineRecord& line, MixerControlKind kind, MixerControlRecord& control) = 0;

    // values holds channels x max(1, items) values, channel by channel.
    virtual quint32 readValues(const MixerControlRecord& control, int channels, std::span<quint32> values) = 0;
    virtual quint32 writeValues(const MixerControlRecord& control, int channels, std::span<const quint32> values) = 0;

    // Called with a control's identifier whenever its value was changed by
    // somebody else (never for a device's own writes, never without a change).
    virtual void setChangeHandler(std::function<void(quint32 controlId)> handler) = 0;
};

// The mixers of the system, opened by the MIDI output device they serve.
class MixerBackend {
public:
    virtual ~MixerBackend() = default;

    // Opens the mixer for midiDeviceId (-2: the first mixer). On failure
    // returns nothing and sets result to the reason.
    virtual std::unique_ptr<MixerDevice> open(int midiDeviceId, quint32& result) = 0;

    // The backend a new TMidiMixer uses: the one installed with
    // installDefault, or else the system's mixer.
    static std::shared_ptr<MixerBackend> createDefault();

    // Makes every TMidiMixer created from now on use backend (tests install a
    // scripted one); nullptr returns to the system's mixer.
    static void installDefault(std::shared_ptr<MixerBackend> backend);
};

} // namespace harmonet
