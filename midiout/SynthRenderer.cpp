#include "midiout/SynthRenderer.h"

#include <fluidsynth.h>

#include <algorithm>

namespace harmonet {

SynthRenderer::SynthRenderer(fluid_synth_t* synth, double sampleRate, const SynthOutputStage& stage)
    : m_synth(synth), m_sampleRate(sampleRate), m_stage(stage, sampleRate)
{
}

void SynthRenderer::render(float* left, float* right, int frames) noexcept
{
    if (frames <= 0) {
        return;
    }
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
    // Reverb and chorus are mixed into the same two channels as the dry sound.
    float* out[2] = {left, right};
    fluid_synth_process(m_synth, frames, 2, out, 2, out);
    m_stage.process(left, right, frames);
}

} // namespace harmonet
