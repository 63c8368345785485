#pragma once

#include "midiout/MidiOut.h"
#include "midiout/SynthBackend.h"
#include "sequencer/MidiFile.h"

#include <bitset>
#include <functional>
#include <memory>
#include <span>

namespace harmonet::tools {

// Plays a loaded song through the offline built-in synthesizer as fast as it
// can be computed: a simulated clock moves the playback engine on in 10 ms
// steps (and to the engine's early wake-up for an event due in between),
// every channel event it dispatches goes to the synthesizer the way the
// player sends it, and the audio of each step is rendered in between.
class SongRenderer {
public:
    static constexpr int stepMs = 10;
    static constexpr int tailMs = 2000; // release tails after the song's end

    // Opens the offline synthesizer; raises EmidioutputError with the reason
    // (no SoundFont found, and how to install one) when it cannot.
    explicit SongRenderer(int sampleRate = Synthesizer::defaultSampleRate);

    using AudioSink = std::function<void(std::span<const qint16> stereo)>;
    using Progress = std::function<void(qint64 renderedMs, qint64 totalMs)>;

    // Renders song from its start to tailMs after SongLengthMs, handing each
    // step's interleaved 16-bit stereo samples to sink. Errors of the event
    // dispatch are reported (harmonet::reportError) as during playback.
    void render(TMidiFile& song, const AudioSink& sink, const Progress& progress = {});

    // A muted channel (1..16) sends nothing, so a rendering can leave out
    // voices (a practice track); every channel sounds by default.
    void setChannelMuted(int channel, bool muted);
    bool isChannelMuted(int channel) const;

    int sampleRate() const { return m_sampleRate; }
    // The output the song's events are sent to (for sending extra messages).
    TMidiOutput& output() { return m_output; }

private:
    void sendChannelEvent(PMidiEvent event);

    int m_sampleRate;
    std::bitset<16> m_muted;
    std::shared_ptr<SynthBackend> m_backend;
    TMidiOutput m_output;
    std::shared_ptr<Synthesizer> m_synth;
};

} // namespace harmonet::tools
