#pragma once

#include "midiout/Synthesizer.h"
#include "practice/PracticeMix.h"

#include <bitset>
#include <functional>
#include <memory>
#include <span>

namespace harmonet {

class TMidiFile;

// Plays a loaded song through a private offline built-in synthesizer as fast
// as it can be computed, exact to the sample: the audio is rendered up to
// the sample at which the next event is due, then the event is played, so
// the result is free of any timer's jitter. Each event goes to the
// synthesizer the way the player routes it: the tracks' mutes and
// instruments (and, when asked, the track mixer's volume and pan) apply,
// and the practice choice sets the voices' levels and sides. The song is
// only read, never played or moved, so its tempo and track settings are
// the ones in force.
class SongRenderer {
public:
    static constexpr int tailMs = 2000; // release tails after the song's end
    static constexpr int blockFrames = 2048;

    // Opens the offline synthesizer; raises EmidioutputError with the reason
    // (no SoundFont found, and how to install one) when it cannot.
    explicit SongRenderer(int sampleRate = Synthesizer::defaultSampleRate);

    using AudioSink = std::function<void(std::span<const qint16> stereo)>;
    // Called after each block with the frames rendered so far and in all;
    // returning false stops the rendering.
    using Progress = std::function<bool(qint64 doneFrames, qint64 totalFrames)>;

    // Renders song from its start to tailMs after its end, handing the
    // interleaved 16-bit stereo samples to sink block by block. Returns false
    // when progress stopped it.
    bool render(const TMidiFile& song, const AudioSink& sink, const Progress& progress = {});

    // Frames render() produces for song: its length plus the tail.
    qint64 frameCount(const TMidiFile& song) const;

    // A muted channel (1..16) sends nothing, so a rendering can leave out
    // voices; every channel sounds by default.
    void setChannelMuted(int channel, bool muted);
    bool isChannelMuted(int channel) const;

    // The practice choice the rendering applies (none by default).
    void setPracticeChoice(const PracticeChoice& choice) { m_choice = choice; }
    // Whether the file's volume and pan controllers take the tracks' Volume
    // and Pan, as while the track mixer is open (off by default).
    void setTrackMixerInForce(bool inForce) { m_trackMixerInForce = inForce; }

    int sampleRate() const { return m_sampleRate; }

private:
    class Routing;

    int m_sampleRate;
    std::bitset<16> m_muted;
    PracticeChoice m_choice;
    bool m_trackMixerInForce = false;
    std::unique_ptr<Synthesizer> m_synth;
};

} // namespace harmonet
