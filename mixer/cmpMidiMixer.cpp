#include "mixer/cmpMidiMixer.h"

#include "core/ErrorReport.h"

#include <QMetaObject>

#include <algorithm>
#include <vector>

namespace harmonet {

namespace {

constexpr MixerControlKind kindOf(TMixerControlType control)
{
    switch (control) {
    case TMidiMixer::mcMidiVolume:
    case TMidiMixer::mcMasterVolume:
        return MixerControlKind::Volume;
    case TMidiMixer::mcMidiMute:
    case TMidiMixer::mcMasterMute:
        return MixerControlKind::Mute;
    case TMidiMixer::mcTreble:
        return MixerControlKind::Treble;
    case TMidiMixer::mcBass:
        break;
    }
    return MixerControlKind::Bass;
}

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
    return valid(control) ? m_controls[control].record.minimum : 0;
}

quint32 TMidiMixer::ControlMax(TMixerControlType control) const
{
    return valid(control) ? m_controls[control].record.maximum : 0;
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
        findLine(MixerLineType::Speakers, m_speakersLine, QStringLiteral("Can't find audio output mixer line for "));
        for (TMixerControlType control : {mcMasterVolume, mcMasterMute, mcTreble, mcBass}) {
            m_controls[control].available = FindControl(m_speakersLine, control);
        }
        for (TMixerControlType control : {mcMasterVolume, mcMasterMute, mcTreble, mcBass}) {
            ReadControl(control);
        }
        findLine(MixerLineType::Synthesizer, m_synthLine, QStringLiteral("Can't find MIDI output source line for "));
        for (TMixerControlType control : {mcMidiVolume, mcMidiMute}) {
            m_controls[control].available = FindControl(m_synthLine, control);
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
    m_device->setChangeHandler([this, opening](quint32 id) {
        QMetaObject::invokeMethod(
            this, [this, opening, id] {
                if (m_device && m_openings == opening) {
                    controlChanged(id);
                }
            },
            Qt::QueuedConnection);
    });
    m_active = true;
}

void TMidiMixer::CloseMixer()
{
    ++m_openings;
    m_device.reset();
    m_active = false;
}

void TMidiMixer::findLine(MixerLineType type, MixerLineRecord& line, const QString& missing)
{
    const std::optional<MixerLineRecord> found = m_device->line(type);
    if (!found) {
        throw Exception(missing + m_productName);
    }
    line = *found;
}

void TMidiMixer::forgetControls()
{
    m_controls = {};
    m_speakersLine = {};
    m_synthLine = {};
}

const MixerLineRecord& TMidiMixer::lineOf(TMixerControlType control) const
{
    return control == mcMidiVolume || control == mcMidiMute ? m_synthLine : m_speakersLine;
}

int TMidiMixer::channelsOf(TMixerControlType control) const
{
    const Control& c = m_controls[control];
    return c.record.uniform ? 1 : std::max(1, lineOf(control).channels);
}

size_t TMidiMixer::valueCount(TMixerControlType control) const
{
    return size_t(channelsOf(control)) * size_t(std::max(1, m_controls[control].record.items));
}

bool TMidiMixer::FindControl(const MixerLineRecord& line, TMixerControlType control)
{
    MixerControlRecord record;
    const quint32 result = m_device->findControl(line, kindOf(control), record);
    if (result == MixerInvalidLine || result == MixerInvalidControl) {
        m_controls[control].record = {};
        return false;
    }
    if (result != MixerNoError) {
        throw EMMError(result, QStringLiteral("mixerGetLineControls"));
    }
    m_controls[control].record = record;
    return true;
}

void TMidiMixer::ReadControl(TMixerControlType control)
{
    Control& c = m_controls[control];
    if (!c.available || !m_device) {
        c.value = {};
        return;
    }
    const int channels = channelsOf(control);
    std::vector<quint32> values(valueCount(control), 0);
    const quint32 result = m_device->readValues(c.record, channels, values);
    if (result != MixerNoError) {
        throw EMMError(result, QStringLiteral("mixerGetControlDetails"));
    }
    c.value.LeftValue = values[0];
    c.value.RightValue = channels == 1 ? values[0] : values[1];
}

void TMidiMixer::WriteControl(TMixerControlType control)
{
    // A control the mixer does not have is not written at all: its record
    // names no control of the device.
    const Control& c = m_controls[control];
    if (!c.available || !m_device) {
        return;
    }
    std::vector<quint32> values(valueCount(control), 0);
    values[0] = c.value.LeftValue;
    if (values.size() > 1) {
        values[1] = c.value.RightValue;
    }
    const quint32 result = m_device->writeValues(c.record, channelsOf(control), values);
    if (result != MixerNoError) {
        throw EMMError(result, QStringLiteral("mixerSetControlDetails"));
    }
}

void TMidiMixer::controlChanged(quint32 id)
{
    runGuarded([this, id] {
        // Controls the mixer does not have are never the subject of a notice.
        for (int c = 0; c < ControlCount; ++c) {
            const auto control = static_cast<TMixerControlType>(c);
            if (m_controls[c].available && m_controls[c].record.id == id) {
                ReadControl(control);
                if (m_onControlChange && !m_destroying) {
                    m_onControlChange(this, control);
                }
                return;
            }
        }
    });
}

} // namespace harmonet
