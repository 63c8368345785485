#include "mixer/SystemMixer.h"

#include "midiout/OutputStage.h"
#include "mixer/AlsaMixer.h"
#include "mixer/MixerError.h"
#include "mixer/StageControls.h"

#include <algorithm>
#include <array>
#include <vector>

namespace harmonet {

namespace {

// The card's controls where it has them, the stage's for the rest. Control
// identifiers are 1..6, line identifiers 1 (speakers) and 2 (synthesizer).
class SystemMixerDevice : public MixerDevice {
public:
    SystemMixerDevice(std::unique_ptr<AlsaMixer> card, std::unique_ptr<StageControls> stage)
        : m_card(std::move(card))
        , m_stage(std::move(stage))
    {
        for (Entry& entry : m_entries) {
            entry.source = m_card ? m_card->control(entry.line, entry.kind) : nullptr;
            if (!entry.source) {
                entry.source = m_stage->control(entry.line, entry.kind);
            }
        }
        const auto forward = [this](ControlSource* source) { sourceChanged(source); };
        m_stage->setChangeHandler(forward);
        if (m_card) {
            m_card->setChangeHandler(forward);
        }
    }

    QString productName() const override { return m_card ? m_card->name() : SystemMixerBackend::stageName(); }

    std::optional<MixerLineRecord> line(MixerLineType type) const override
    {
        const quint32 id = type == MixerLineType::Speakers ? 1 : 2;
        const Entry& volume = m_entries[type == MixerLineType::Speakers ? 0 : 4];
        return MixerLineRecord{id, volume.source->channels()};
    }

    quint32 findControl(const MixerLineRecord& line, MixerControlKind kind, MixerControlRecord& control) override
    {
        if (line.id != 1 && line.id != 2) {
            return MixerInvalidLine;
        }
        const MixerLineType type = line.id == 1 ? MixerLineType::Speakers : MixerLineType::Synthesizer;
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const Entry& entry = m_entries[i];
            if (entry.line == type && entry.kind == kind) {
                control = {quint32(i + 1), entry.source->channels() == 1, 0, entry.source->minimum(),
                           entry.source->maximum()};
                return MixerNoError;
            }
        }
        return MixerInvalidControl;
    }

    quint32 readValues(const MixerControlRecord& control, int channels, std::span<quint32> values) override
    {
        const ControlSource* source = sourceOf(control);
        if (!source) {
            return MixerInvalidControl;
        }
        for (int ch = 0; ch < channels && ch < int(values.size()); ++ch) {
            values[ch] = ch < source->channels() ? source->value(ch) : 0;
        }
        return MixerNoError;
    }

    quint32 writeValues(const MixerControlRecord& control, int channels, std::span<const quint32> values) override
    {
        ControlSource* source = sourceOf(control);
        if (!source) {
            return MixerInvalidControl;
        }
        std::array<quint32, 2> own{};
        for (int ch = 0; ch < source->channels() && ch < channels && ch < int(values.size()); ++ch) {
            own[ch] = values[ch];
        }
        if (channels == 1) {
            own[1] = own[0];
        }
        return source->write(std::span<const quint32>(own.data(), size_t(source->channels())));
    }

    void setChangeHandler(std::function<void(quint32)> handler) override { m_changed = std::move(handler); }

private:
    struct Entry {
        MixerLineType line;
        MixerControlKind kind;
        ControlSource* source = nullptr;
    };

    ControlSource* sourceOf(const MixerControlRecord& control) const
    {
        return control.id >= 1 && control.id <= m_entries.size() ? m_entries[control.id - 1].source : nullptr;
    }

    void sourceChanged(ControlSource* source)
    {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].source == source && m_changed) {
                m_changed(quint32(i + 1));
            }
        }
    }

    std::unique_ptr<AlsaMixer> m_card;
    std::unique_ptr<StageControls> m_stage;
    std::array<Entry, 6> m_entries{{
        {MixerLineType::Speakers, MixerControlKind::Volume},
        {MixerLineType::Speakers, MixerControlKind::Mute},
        {MixerLineType::Speakers, MixerControlKind::Treble},
        {MixerLineType::Speakers, MixerControlKind::Bass},
        {MixerLineType::Synthesizer, MixerControlKind::Volume},
        {MixerLineType::Synthesizer, MixerControlKind::Mute},
    }};
    std::function<void(quint32)> m_changed;
};

} // namespace

SystemMixerBackend::SystemMixerBackend(QString card)
    : SystemMixerBackend(std::move(card), SynthOutputStage::shared())
{
}

SystemMixerBackend::SystemMixerBackend(QString card, SynthOutputStage& stage)
    : m_card(std::move(card))
    , m_stage(stage)
{
}

std::unique_ptr<MixerDevice> SystemMixerBackend::open(int, quint32& result)
{
    result = MixerNoError;
    std::unique_ptr<AlsaMixer> card = m_card.isEmpty() ? nullptr : AlsaMixer::open(m_card);
    return std::make_unique<SystemMixerDevice>(std::move(card), std::make_unique<StageControls>(m_stage));
}

} // namespace harmonet
