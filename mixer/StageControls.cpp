#include "mixer/StageControls.h"

#include "midiout/OutputStage.h"
#include "mixer/MixerError.h"

#include <algorithm>

namespace harmonet {

class StageControls::Control : public ControlSource {
public:
    Control(SynthOutputStage& stage, SynthOutputStage::Control control)
        : m_stage(stage)
        , m_control(control)
    {
        refresh();
    }

    int channels() const override { return SynthOutputStage::channels(m_control); }
    quint32 minimum() const override { return 0; }
    quint32 maximum() const override { return SynthOutputStage::maximum(m_control); }
    quint32 value(int channel) const override { return m_stage.value(m_control, channel); }

    quint32 write(std::span<const quint32> values) override
    {
        // What is written is known before the stage announces it, so its
        // notice of the change finds nothing new.
        for (int ch = 0; ch < channels() && ch < int(values.size()); ++ch) {
            m_known[ch] = std::min(values[ch], maximum());
        }
        for (int ch = 0; ch < channels() && ch < int(values.size()); ++ch) {
            m_stage.setValue(m_control, ch, values[ch]);
        }
        return MixerNoError;
    }

    // Takes the stage's values; true when they differ from the known ones.
    bool refresh()
    {
        bool changed = false;
        for (int ch = 0; ch < channels(); ++ch) {
            const quint32 now = m_stage.value(m_control, ch);
            changed = changed || now != m_known[ch];
            m_known[ch] = now;
        }
        return changed;
    }

private:
    SynthOutputStage& m_stage;
    SynthOutputStage::Control m_control;
    std::array<quint32, 2> m_known{};
};

StageControls::StageControls(SynthOutputStage& stage, QObject* parent)
    : QObject(parent)
{
    for (int c = 0; c < SynthOutputStage::controlCount; ++c) {
        m_controls[c] = std::make_unique<Control>(stage, static_cast<SynthOutputStage::Control>(c));
    }
    // Queued, so a change is judged once a write of both channels is complete.
    connect(&stage, &SynthOutputStage::changed, this, &StageControls::stageChanged, Qt::QueuedConnection);
}

StageControls::~StageControls() = default;

ControlSource* StageControls::control(MixerLineType line, MixerControlKind kind)
{
    auto stageControl = [&]() -> int {
        if (line == MixerLineType::Synthesizer) {
            return kind == MixerControlKind::Volume ? SynthOutputStage::SynthVolume
                   : kind == MixerControlKind::Mute ? SynthOutputStage::SynthMute
                                                    : -1;
        }
        switch (kind) {
        case MixerControlKind::Volume:
            return SynthOutputStage::MasterVolume;
        case MixerControlKind::Mute:
            return SynthOutputStage::MasterMute;
        case MixerControlKind::Treble:
            return SynthOutputStage::Treble;
        case MixerControlKind::Bass:
            return SynthOutputStage::Bass;
        }
        return -1;
    }();
    return stageControl < 0 ? nullptr : m_controls[stageControl].get();
}

void StageControls::stageChanged(int control)
{
    if (control < 0 || control >= int(m_controls.size())) {
        return;
    }
    if (m_controls[control]->refresh()) {
        reportChange(m_controls[control].get());
    }
}

} // namespace harmonet
