#include "mixer/SystemMixer.h"

#include "midiout/OutputStage.h"
#include "mixer/AlsaMixer.h"
#include "mixer/MixerError.h"
#include "mixer/StageControls.h"

#include <array>

namespace harmonet {

namespace {

// The card's controls where it has them, the stage's for the rest.
class SystemMixerDevice : public MixerDevice {
public:
    SystemMixerDevice(std::unique_ptr<AlsaMixer> card, std::unique_ptr<StageControls> stage)
        : m_card(std::move(card))
        , m_stage(std::move(stage))
    {
        for (int c = 0; c < MixerControlCount; ++c) {
            const auto control = TMixerControlType(c);
            m_controls[c] = m_card && m_card->control(control) ? m_card->control(control) : m_stage->control(control);
        }
        m_stage->setChangeHandler([this](TMixerControlType control) { forward(*m_stage, control); });
        if (m_card) {
            m_card->setChangeHandler([this](TMixerControlType control) { forward(*m_card, control); });
        }
    }

    QString productName() const override { return m_card ? m_card->productName() : m_stage->productName(); }

    MixerControl* control(TMixerControlType control) override { return m_controls[control]; }

private:
    // A notice counts only from the place that serves the control.
    void forward(MixerDevice& place, TMixerControlType control)
    {
        if (place.control(control) == m_controls[control]) {
            reportChange(control);
        }
    }

    std::unique_ptr<AlsaMixer> m_card;
    std::unique_ptr<StageControls> m_stage;
    std::array<MixerControl*, MixerControlCount> m_controls{};
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
