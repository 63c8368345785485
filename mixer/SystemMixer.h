#pragma once

#include "mixer/MixerBackend.h"

#include <QString>

namespace harmonet {

class SynthOutputStage;

// The system's mixer: the simple mixer of an ALSA card for every control the
// card has, and the built-in synthesizer's output stage for every control it
// lacks (all six where there is no card or no sound server). So both lines
// and all six controls are always there. Every MIDI output device shares this
// one mixer.
class SystemMixerBackend : public MixerBackend {
public:
    // card: the ALSA card to use ("default", the sound server on a desktop);
    // an empty name uses the output stage alone.
    explicit SystemMixerBackend(QString card = QStringLiteral("default"));
    SystemMixerBackend(QString card, SynthOutputStage& stage);

    std::unique_ptr<MixerDevice> open(int midiDeviceId, quint32& result) override;

private:
    QString m_card;
    SynthOutputStage& m_stage;
};

} // namespace harmonet
