#include "mixer/cmpMidiMixer.h"

#include "core/ErrorReport.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace harmonet {

namespace {

bool valid(TMixerControlType control)
{
    return control >= 0 && control < TMidiMixer::ControlCount;
}

} // namespace

TMidiMixer::TMidiMixer(QObject* owner)
    : TMidiMixer(MixerBackend::createDefault(), owner)
{
}

TMidiMixer::TMidiMixer(std::shared_ptr<MixerBackend> backend, QObject* owner)
    : QObject(owner)
    , m_backend(std::move(backend))
{
}

TMidiMixer::~TMidiMixer()
{
    m_destroying = true;
    CloseMixer();
}

void TMidiMixer::SetActive(bool active)
{
    if (active == m_active) {
        return;
    }
    if (m_loading) {
        m_active = active;
    } else if (active) {
        OpenMixer();
    } else {
        CloseMixer();
    }
}

void TMidiMixer::SetMidiDeviceID(int id)
{
    if (id == m_midiDeviceId) {
        return;
    }
    const bool wasActive = m_active;
    if (!m_loading) {
        CloseMixer();
    }
    m_midiDeviceId = id;
    SetActive(wasActive);
}

void TMidiMixer::Loaded()
{
    m_loading = false;
    if (m_active) {
        m_active = false;
        SetActive(true);
    }
}

bool TMidiMixer::ControlAvailable(TMixerControlType control) const
{
    return valid(control) && m_controls[control].available;
}

quint32 TMidiMixer::ControlValue(TMixerControlType control, int channel) const
{
    if (!valid(control) || channel < 0 || channel > 1) {
        return 0;
    }
    const TMixerStereoValue& value = m_controls[control].value;
    return channel == 0 ? value.LeftValue : value.RightValue;
}

void TMidiMixer::SetControlValue(TMixerControlType control, int channel, quint32 value)
{
    if (!valid(control) || channel < 0 || channel > 1 || ControlValue(control, channel) == value) {
        return;
    }
    TMixerStereoValue& stored = m_controls[control].value;
    (channel == 0 ? stored.LeftValue : stored.RightValue) = value;
    WriteControl(control);
}

void TMidiMixer::SetControlValues(TMixerControlType control, TMixerStereoValue values)
{
    if (!valid(control)) {
        return;
    }
    m_controls[control].value = values;
    WriteControl(control);
}

quint32 TMidiMixer::ControlMin(TMixerControlType control) const
{
    return valid(control) ? m_controls[control].minimum : 0;
}

quint32 TMidiMixer::ControlMax(TMixerControlType control) const
{
    return valid(control) ? m_controls[control].maximum : 0;
}

void TMidiMixer::OpenMixer()
{
    quint32 result = MixerNoError;
    std::unique_ptr<MixerDevice> device = m_backend ? m_backend->open(m_midiDeviceId, result) : nullptr;
    CloseMixer();
    if (!device) {
        forgetControls();
        throw EMMError(result == MixerNoError ? MixerNoDriver : result, QStringLiteral("mixerOpen"));
    }
    m_device = std::move(device);
    m_productName = m_device->productName();
    try {
        requireLine(MixerLine::Speakers, QCoreApplication::translate("Mixer", "Can't find audio output mixer line for %1"));
        for (TMixerControlType control : {mcMasterVolume, mcMasterMute, mcTreble, mcBass}) {
            FindControl(control);
        }
        for (TMixerControlType control : {mcMasterVolume, mcMasterMute, mcTreble, mcBass}) {
            ReadControl(control);
        }
        requireLine(MixerLine::Synthesizer, QCoreApplication::translate("Mixer", "Can't find MIDI output source line for %1"));
        for (TMixerControlType control : {mcMidiVolume, mcMidiMute}) {
            FindControl(control);
        }
        for (TMixerControlType control : {mcMidiVolume, mcMidiMute}) {
            ReadControl(control);
        }
    } catch (...) {
        // A mixer that is not active is not left open, nor are controls of
        // it left to be written.
        m_device.reset();
        forgetControls();
        throw;
    }
    // Notices are taken like posted messages: after the device has finished
    // its own work, and never from a device closed in the meantime.
    const quint64 opening = ++m_openings;
    m_device->setChangeHandler([this, opening](TMixerControlType control) {
        QMetaObject::invokeMethod(
            this, [this, opening, control] {
                if (m_device && m_openings == opening) {
                    controlChanged(control);
                }
            },
            Qt::QueuedConnection);
    });
    m_active = true;
}

void TMidiMixer::CloseMixer()
{
    ++m_openings;
    for (Control& control : m_controls) {
        control.source = nullptr;
    }
    m_device.reset();
    m_active = false;
}

void TMidiMixer::requireLine(MixerLine line, const QString& missing) const
{
    if (!m_device->hasLine(line)) {
        throw Exception(QString(missing).arg(m_productName));
    }
}

void TMidiMixer::forgetControls()
{
    m_controls = {};
}

void TMidiMixer::FindControl(TMixerControlType control)
{
    Control& c = m_controls[control];
    c.source = m_device->control(control);
    c.available = c.source != nullptr;
    c.minimum = c.source ? c.source->minimum() : 0;
    c.maximum = c.source ? c.source->maximum() : 0;
}

void TMidiMixer::ReadControl(TMixerControlType control)
{
    Control& c = m_controls[control];
    if (!c.source) {
        c.value = {};
        return;
    }
    const quint32 result = c.source->read(c.value);
    if (result != MixerNoError) {
        throw EMMError(result, QStringLiteral("mixerGetControlDetails"));
    }
}

void TMidiMixer::WriteControl(TMixerControlType control)
{
    // A control the mixer does not have is not written at all.
    const Control& c = m_controls[control];
    if (!c.source) {
        return;
    }
    const quint32 result = c.source->write(c.value);
    if (result != MixerNoError) {
        throw EMMError(result, QStringLiteral("mixerSetControlDetails"));
    }
}

void TMidiMixer::controlChanged(TMixerControlType control)
{
    // Controls the mixer does not have are never the subject of a notice.
    if (!valid(control) || !m_controls[control].source) {
        return;
    }
    runGuarded([this, control] {
        ReadControl(control);
        if (m_onControlChange && !m_destroying) {
            m_onControlChange(this, control);
        }
    });
}

} // namespace harmonet
