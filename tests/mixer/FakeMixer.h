#pragma once

#include "mixer/MixerBackend.h"
#include "mixer/MixerError.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace harmonet::test {

// A mixer whose lines and controls a test sets up, which records every open,
// read and write and sends change notices when the test says so.
class FakeMixerBackend : public MixerBackend {
public:
    struct Control {
        int channels;
        quint32 maximum;
        std::vector<quint32> values; // one per channel, as last written or set
    };
    struct Write {
        TMixerControlType control;
        std::vector<quint32> values; // one per channel of the control
    };

    QString productName = QStringLiteral("Test Mixer");
    bool hasSpeakersLine = true;
    bool hasSynthesizerLine = true;
    std::array<std::optional<Control>, MixerControlCount> controls;
    quint32 openResult = MixerNoError;
    quint32 readResult = MixerNoError;
    quint32 writeResult = MixerNoError;

    std::vector<int> openedIds;
    std::vector<Write> writes;
    int reads = 0;
    int openDevices = 0;

    // Volumes 0..65535 in stereo, mutes 0..1 and tone 0..65535 at 32768 in one channel.
    FakeMixerBackend()
    {
        controls[mcMidiVolume] = Control{2, 65535, {65535, 65535}};
        controls[mcMasterVolume] = Control{2, 65535, {65535, 65535}};
        controls[mcMidiMute] = Control{1, 1, {0}};
        controls[mcMasterMute] = Control{1, 1, {0}};
        controls[mcTreble] = Control{1, 65535, {32768}};
        controls[mcBass] = Control{1, 65535, {32768}};
    }

    Control& control(TMixerControlType control) { return *controls[control]; }
    void remove(TMixerControlType control) { controls[control].reset(); }

    // A change made elsewhere: the values, then a notice for the control
    // (which the mixer need not have).
    void changeElsewhere(TMixerControlType control, std::vector<quint32> values = {})
    {
        if (controls[control] && !values.empty()) {
            controls[control]->values = std::move(values);
        }
        if (m_device) {
            m_device->notice(control);
        }
    }

    std::unique_ptr<MixerDevice> open(int midiDeviceId, quint32& result) override
    {
        openedIds.push_back(midiDeviceId);
        result = openResult;
        if (result != MixerNoError) {
            return nullptr;
        }
        return std::make_unique<Device>(*this);
    }

private:
    class Device;

    // One control of the open fake, reading and writing the test's values.
    class FakeControl : public MixerControl {
    public:
        FakeControl(FakeMixerBackend& owner, TMixerControlType control)
            : m_owner(owner)
            , m_control(control)
        {
        }
        int channels() const override { return data().channels; }
        quint32 minimum() const override { return 0; }
        quint32 maximum() const override { return data().maximum; }
        quint32 read(TMixerStereoValue& value) override
        {
            ++m_owner.reads;
            const std::vector<quint32>& values = data().values;
            value = {values.at(0), channels() == 2 ? values.at(1) : values.at(0)};
            return m_owner.readResult;
        }
        quint32 write(TMixerStereoValue value) override
        {
            std::vector<quint32> values{value.LeftValue, value.RightValue};
            values.resize(size_t(channels()));
            m_owner.writes.push_back({m_control, values});
            if (m_owner.writeResult == MixerNoError && m_owner.controls[m_control]) {
                m_owner.controls[m_control]->values = values;
            }
            return m_owner.writeResult;
        }

    private:
        const Control& data() const { return *m_owner.controls[m_control]; }
        FakeMixerBackend& m_owner;
        TMixerControlType m_control;
    };

    class Device : public MixerDevice {
    public:
        explicit Device(FakeMixerBackend& owner)
            : m_owner(owner)
        {
            ++m_owner.openDevices;
            m_owner.m_device = this;
            for (int c = 0; c < MixerControlCount; ++c) {
                if (m_owner.controls[c]) {
                    m_controls[c] = std::make_unique<FakeControl>(owner, TMixerControlType(c));
                }
            }
        }
        ~Device() override
        {
            --m_owner.openDevices;
            m_owner.m_device = nullptr;
        }
        QString productName() const override { return m_owner.productName; }
        bool hasLine(MixerLine line) const override
        {
            return line == MixerLine::Speakers ? m_owner.hasSpeakersLine : m_owner.hasSynthesizerLine;
        }
        MixerControl* control(TMixerControlType control) override { return m_controls[control].get(); }
        void notice(TMixerControlType control) { reportChange(control); }

    private:
        FakeMixerBackend& m_owner;
        std::array<std::unique_ptr<FakeControl>, MixerControlCount> m_controls;
    };

    Device* m_device = nullptr;
};

} // namespace harmonet::test
