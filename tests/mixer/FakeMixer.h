#pragma once

#include "mixer/MixerBackend.h"
#include "mixer/MixerError.h"

#include <QString>

#include <algorithm>
#include <optional>
#include <vector>

namespace harmonet::test {

// A mixer whose lines and controls a test sets up, which records every open,
// read and write and sends change notices when the test says so.
class FakeMixerBackend : public MixerBackend {
public:
    struct Control {
        MixerLineType line;
        MixerControlKind kind;
        MixerControlRecord record;
        std::vector<quint32> values; // channels x items, as last written or set
    };
    struct Write {
        quint32 id;
        int channels;
        std::vector<quint32> values;
    };

    QString productName = QStringLiteral("Test Mixer");
    std::optional<int> speakersChannels = 2;
    std::optional<int> synthChannels = 2;
    std::vector<Control> controls;
    quint32 openResult = MixerNoError;
    quint32 findResult = MixerNoError; // returned for every control found
    quint32 readResult = MixerNoError;
    quint32 writeResult = MixerNoError;

    std::vector<int> openedIds;
    std::vector<Write> writes;
    int reads = 0;
    int openDevices = 0;

    // Volumes 0..65535 on stereo lines, uniform mutes 0..1, tone 0..65535 at
    // 32768; identifiers 11..16.
    FakeMixerBackend()
    {
        auto add = [this](MixerLineType line, MixerControlKind kind, quint32 id, bool uniform, quint32 maximum,
                          quint32 value) {
            controls.push_back({line, kind, {id, uniform, 0, 0, maximum}, {value, value}});
        };
        add(MixerLineType::Synthesizer, MixerControlKind::Volume, 11, false, 65535, 65535);
        add(MixerLineType::Speakers, MixerControlKind::Volume, 12, false, 65535, 65535);
        add(MixerLineType::Synthesizer, MixerControlKind::Mute, 13, true, 1, 0);
        add(MixerLineType::Speakers, MixerControlKind::Mute, 14, true, 1, 0);
        add(MixerLineType::Speakers, MixerControlKind::Treble, 15, true, 65535, 32768);
        add(MixerLineType::Speakers, MixerControlKind::Bass, 16, true, 65535, 32768);
    }

    Control* find(MixerLineType line, MixerControlKind kind)
    {
        for (Control& control : controls) {
            if (control.line == line && control.kind == kind) {
                return &control;
            }
        }
        return nullptr;
    }
    Control* byId(quint32 id)
    {
        for (Control& control : controls) {
            if (control.record.id == id) {
                return &control;
            }
        }
        return nullptr;
    }
    void remove(MixerLineType line, MixerControlKind kind)
    {
        std::erase_if(controls, [&](const Control& c) { return c.line == line && c.kind == kind; });
    }

    // A change made elsewhere: the values, then a notice for identifier id
    // (which need not belong to any control).
    void changeElsewhere(quint32 id, std::vector<quint32> values = {})
    {
        if (Control* control = byId(id); control && !values.empty()) {
            control->values = std::move(values);
        }
        if (m_notify) {
            m_notify(id);
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
    class Device : public MixerDevice {
    public:
        explicit Device(FakeMixerBackend& owner)
            : m_owner(owner)
        {
            ++m_owner.openDevices;
        }
        ~Device() override
        {
            --m_owner.openDevices;
            m_owner.m_notify = nullptr;
        }
        QString productName() const override { return m_owner.productName; }
        std::optional<MixerLineRecord> line(MixerLineType type) const override
        {
            const std::optional<int>& channels =
                type == MixerLineType::Speakers ? m_owner.speakersChannels : m_owner.synthChannels;
            if (!channels) {
                return std::nullopt;
            }
            return MixerLineRecord{type == MixerLineType::Speakers ? 1u : 2u, *channels};
        }
        quint32 findControl(const MixerLineRecord& line, MixerControlKind kind, MixerControlRecord& record) override
        {
            Control* control = m_owner.find(line.id == 1 ? MixerLineType::Speakers : MixerLineType::Synthesizer, kind);
            if (!control) {
                return MixerInvalidControl;
            }
            record = control->record;
            return m_owner.findResult;
        }
        quint32 readValues(const MixerControlRecord& record, int, std::span<quint32> values) override
        {
            ++m_owner.reads;
            if (const Control* control = m_owner.byId(record.id)) {
                std::fill(values.begin(), values.end(), 0);
                std::copy_n(control->values.begin(), std::min(values.size(), control->values.size()), values.begin());
            }
            return m_owner.readResult;
        }
        quint32 writeValues(const MixerControlRecord& record, int channels, std::span<const quint32> values) override
        {
            m_owner.writes.push_back({record.id, channels, {values.begin(), values.end()}});
            if (Control* control = m_owner.byId(record.id); control && m_owner.writeResult == MixerNoError) {
                control->values.assign(values.begin(), values.end());
            }
            return m_owner.writeResult;
        }
        void setChangeHandler(std::function<void(quint32)> handler) override { m_owner.m_notify = std::move(handler); }

    private:
        FakeMixerBackend& m_owner;
    };

    std::function<void(quint32)> m_notify;
};

} // namespace harmonet::test
