#pragma once

#include "midiout/OutputStage.h"

struct _fluid_synth_t;

namespace harmonet {

// The built-in synthesizer's audio path, shared by the audio driver's
// callback, the silent clock and offline rendering: renders the synthesizer
// and passes the result through the output stage, so every way of getting
// sound out of it sounds the same. render() runs on one thread at a time and
// never locks, allocates or throws.
class SynthRenderer {
public:
    SynthRenderer(_fluid_synth_t* synth, double sampleRate, const SynthOutputStage& stage);

    // Fills frames of planar stereo (whatever the buffers held is replaced).
    void render(float* left, float* right, int frames) noexcept;

    double sampleRate() const { return m_sampleRate; }

private:
    _fluid_synth_t* m_synth;
    double m_sampleRate;
    SynthOutputStage::Processor m_stage;
};

} // namespace harmonet
