#pragma once

#include "mixer/MixerControl.h"

#include <QString>

#include <functional>
#include <memory>

namespace harmonet {

// One open mixer: its product name and its controls. Everything runs on the
// GUI thread, the change handler included.
class MixerDevice {
public:
    virtual ~MixerDevice() = default;

    virtual QString productName() const = 0;

    // Whether the mixer has the line at all. The system's mixer always has
    // both (the built-in synthesizer's stage stands in for a card's).
    virtual bool hasLine(MixerLine) const { return true; }

    // The control, or nullptr where the mixer lacks it; it lives as long as
    // the device.
    virtual MixerControl* control(TMixerControlType control) = 0;

    // Called with a control whose value somebody else changed (never for the
    // device's own writes, never without a change).
    void setChangeHandler(std::function<void(TMixerControlType)> handler) { m_changed = std::move(handler); }

protected:
    void reportChange(TMixerControlType control)
    {
        if (m_changed) {
            m_changed(control);
        }
    }

private:
    std::function<void(TMixerControlType)> m_changed;
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
