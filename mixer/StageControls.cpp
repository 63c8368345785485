#include "mixer/StageControls.h"

#include "midiout/OutputStage.h"
#include "mixer/MixerError.h"

#include <algorithm>

namespace harmonet {

namespace {

// The stage's own control for each of the six, in their order.
constexpr std::array<SynthOutputStage::Control, MixerControlCount> StageControlOf = {
    SynthOutputStage::SynthVolume, SynthOutputStage::MasterVolume, SynthOutputStage::SynthMute,
    SynthOutputStage::MasterMute,  SynthOutputStage::Treble,       SynthOutputStage::Bass,
};

} // namespace

class StageControls::Control : public MixerControl {
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

    quint32 read(TMixerStereoValue& value) override
    {
        value.LeftValue = m_stage.value(m_control, 0);
        value.RightValue = channels() == 2 ? m_stage.value(m_control, 1) : value.LeftValue;
        return MixerNoError;
    }

    quint32 write(TMixerStereoValue value) override
    {
        // What is written is known before the stage announces it, so its
        // notice of the change finds nothing new.
        const std::array<quint32, 2> values{value.LeftValue, value.RightValue};
        for (int ch = 0; ch < channels(); ++ch) {
            m_known[ch] = std::min(values[ch], maximum());
        }
        for (int ch = 0; ch < channels(); ++ch) {
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
    for (int c = 0; c < MixerControlCount; ++c) {
        m_controls[c] = std::make_unique<Control>(stage, StageControlOf[c]);
    }
    // Queued, so a change is judged once a write of both channels is complete.
    connect(&stage, &SynthOutputStage::changed, this, &StageControls::stageChanged, Qt::QueuedConnection);
}

StageControls::~StageControls() = default;

MixerControl* StageControls::control(TMixerControlType control)
{
    return m_controls[control].get();
}

void StageControls::stageChanged(int stageControl)
{
    for (int c = 0; c < MixerControlCount; ++c) {
        if (StageControlOf[c] == stageControl && m_controls[c]->refresh()) {
            reportChange(TMixerControlType(c));
        }
    }
}

} // namespace harmonet
