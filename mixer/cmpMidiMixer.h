#pragma once

#include "mixer/MixerBackend.h"
#include "mixer/MixerError.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>

namespace harmonet {

// The mixer component of the main window (MidiMixer1): opens the system's
// mixer, finds its speakers line and the synthesizer line feeding it, keeps
// the left and right values of six controls on them, writes new values and
// reports changes made by anybody else through OnControlChange.
//
// A new component is not open; it opens when its owner has built it
// (Loaded) while Active is true, which is the default. Failures of the mixer
// are raised as EMMError; a mixer without one of the two lines raises an
// Exception "Can't find audio output mixer line for " or "Can't find MIDI
// output source line for " and the device's name, and is closed again.
// Everything runs on the GUI thread.
class TMidiMixer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(int MidiDeviceID READ MidiDeviceID WRITE SetMidiDeviceID)

public:
    // The six controls (mcMidiVolume ... mcBass), in the order used as their index.
    using enum harmonet::TMixerControlType;
    using TMixerControlType = harmonet::TMixerControlType;
    static constexpr int ControlCount = MixerControlCount;

    // Called with the component and the control after a change made
    // elsewhere, once the control's values have been read again.
    using TMixerNotifyEvent = std::function<void(QObject* sender, TMixerControlType control)>;

    // Uses MixerBackend::createDefault() (the system's mixer, or the backend
    // a test installed).
    explicit TMidiMixer(QObject* owner = nullptr);
    TMidiMixer(std::shared_ptr<MixerBackend> backend, QObject* owner = nullptr);
    ~TMidiMixer() override;

    bool Active() const { return m_active; }
    // The same value again does nothing; until Loaded only the flag is kept;
    // true opens the mixer, false closes it.
    void SetActive(bool active);

    int MidiDeviceID() const { return m_midiDeviceId; }
    // -2: the first mixer; otherwise the mixer of that MIDI output device.
    // A new value closes the mixer and opens it again if it was active.
    void SetMidiDeviceID(int id);

    // The owner has built the component: an Active component opens now.
    void Loaded();

    bool ControlAvailable(TMixerControlType control) const;
    // The stored value of channel 0 or 1.
    quint32 ControlValue(TMixerControlType control, int channel) const;
    // Stores and writes the value, unless it equals the stored one.
    void SetControlValue(TMixerControlType control, int channel, quint32 value);
    // Stores and writes both values, also when they are unchanged.
    void SetControlValues(TMixerControlType control, TMixerStereoValue values);
    // The bounds of the control (0 for a control never found).
    quint32 ControlMin(TMixerControlType control) const;
    quint32 ControlMax(TMixerControlType control) const;

    const TMixerNotifyEvent& OnControlChange() const { return m_onControlChange; }
    void SetOnControlChange(TMixerNotifyEvent handler) { m_onControlChange = std::move(handler); }

    // The product name of the open mixer (empty before the first open).
    QString ProductName() const { return m_productName; }

    void OpenMixer();
    void CloseMixer();

private:
    struct Control {
        // The open device's control; nullptr where it has none or the mixer is closed.
        MixerControl* source = nullptr;
        // As the last open found them.
        bool available = false;
        quint32 minimum = 0;
        quint32 maximum = 0;
        TMixerStereoValue value;
    };

    void FindControl(TMixerControlType control);
    void ReadControl(TMixerControlType control);
    void WriteControl(TMixerControlType control);
    // Raises missing, its %1 the mixer's name, when the mixer lacks the line.
    void requireLine(MixerLine line, const QString& missing) const;
    void controlChanged(TMixerControlType control);
    void forgetControls();

    std::shared_ptr<MixerBackend> m_backend;
    std::unique_ptr<MixerDevice> m_device;
    QString m_productName;
    bool m_active = true;
    bool m_loading = true;
    bool m_destroying = false;
    int m_midiDeviceId = -2;
    // Counts opens and closes, so a notice queued by a closed device is dropped.
    quint64 m_openings = 0;
    std::array<Control, ControlCount> m_controls{};
    TMixerNotifyEvent m_onControlChange;
};

using TMixerNotifyEvent = TMidiMixer::TMixerNotifyEvent;

} // namespace harmonet
