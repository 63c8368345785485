#include "midiout/OutputStage.h"

#include <algorithm>

namespace harmonet {

SynthOutputStage::SynthOutputStage(QObject* parent)
    : QObject(parent)
{
    reset();
}

SynthOutputStage& SynthOutputStage::shared()
{
    static SynthOutputStage stage;
    return stage;
}

int SynthOutputStage::channels(Control control)
{
    return control == MasterVolume || control == SynthVolume ? 2 : 1;
}

quint32 SynthOutputStage::maximum(Control control)
{
    return control == MasterMute || control == SynthMute ? 1 : rawMaximum;
}

int SynthOutputStage::slot(Control control, int channel)
{
    static constexpr std::array<int, controlCount> first{0, 2, 3, 5, 6, 7};
    return first[control] + channel;
}

quint32 SynthOutputStage::value(Control control, int channel) const
{
    if (control < 0 || control >= controlCount || channel < 0 || channel >= channels(control)) {
        return 0;
    }
    return m_values[slot(control, channel)].load(std::memory_order_relaxed);
}

void SynthOutputStage::setValue(Control control, int channel, quint32 value)
{
    if (control < 0 || control >= controlCount || channel < 0 || channel >= channels(control)) {
        return;
    }
    value = std::min(value, maximum(control));
    if (m_values[slot(control, channel)].exchange(value, std::memory_order_relaxed) != value) {
        emit changed(control);
    }
}

void SynthOutputStage::reset()
{
    for (int c = 0; c < controlCount; ++c) {
        const auto control = static_cast<Control>(c);
        const quint32 start = control == Bass || control == Treble ? toneFlat
                              : maximum(control) == 1             ? 0
                                                                  : rawMaximum;
        for (int ch = 0; ch < channels(control); ++ch) {
            setValue(control, ch, start);
        }
    }
}

} // namespace harmonet
