#pragma once

#include "midiout/Synthesizer.h"
#include "practice/PracticeChoice.h"
#include "session/SongSettings.h"

#include <bitset>
#include <functional>
#include <memory>
#include <optional>
#include <span>

namespace harmonet {

class Song;
class TMyMidiEvent;
struct TDue;

// Plays a song through a private offline built-in synthesizer as fast as it
// can be computed. It is the player's own playing session, with the same
// sequencer and the same gateway, on a clock the renderer moves from one
// event to the next, and with the synthesizer as the gateway's output: every
// message is the one the player sends for the same settings, with the same
// moment. The audio before each message is rendered up to the sample at
// which its event is due, so the result is free of any timer's jitter.
class SongRenderer {
public:
    static constexpr int tailMs = 2000; // release tails after the song's end
    static constexpr int blockFrames = 2048;

    // Opens the offline synthesizer; raises EmidioutputError with the reason
    // (no SoundFont found, and how to install one) when it cannot.
    explicit SongRenderer(int sampleRate = Synthesizer::defaultSampleRate);
    ~SongRenderer();

    using AudioSink = std::function<void(std::span<const qint16> stereo)>;
    // The same samples before they are made 16-bit (-1..1, unclipped).
    using FloatSink = std::function<void(std::span<const float> stereo)>;
    // Called after each block with the frames rendered so far and in all;
    // returning false stops the rendering.
    using Progress = std::function<bool(qint64 doneFrames, qint64 totalFrames)>;
    // A progress that hears of each whole percent once (0..100); a null
    // percentProgress never stops the rendering.
    static Progress inPercent(std::function<bool(int percent)> percentProgress);
    // Each message as it reaches the synthesizer, with the moment its event
    // fell due (none for one the session sends of its own accord).
    using MessageTap = std::function<void(const TMyMidiEvent& message, const std::optional<TDue>& due)>;

    // The tempo and the tracks' settings the song plays with (by default the
    // file's own), and the practice choice (none by default).
    void setSettings(const SongSettings& settings) { m_settings = settings; }
    void setPracticeChoice(const PracticeChoice& choice) { m_choice = choice; }
    void setMessageTap(MessageTap tap) { m_tap = std::move(tap); }
    // Only the messages on these channels (bit c - 1 for channel c) and those
    // on none (system-exclusive) reach the synthesizer; all by default. The
    // audio keeps its length and moments, so that renders of channels apart
    // add up to the render of them all.
    void setChannels(std::bitset<16> channels) { m_channels = channels; }
    // Lets the reverb rest while nothing sounds (Synthesizer::setReverbMayRest):
    // for a voice alone, not for parts that must add up to the whole to the sample.
    void setReverbMayRest(bool mayRest);

    // Renders song from fromMs of playing time (0: its start; the player's
    // seek there, then its play action), after the count-in the settings
    // choose, to tailMs after its end, handing the
    // interleaved 16-bit stereo samples to sink block by block. Returns false
    // when progress stopped it.
    bool render(const std::shared_ptr<const Song>& song, const AudioSink& sink, const Progress& progress = {},
                int fromMs = 0);
    // The same, handing over the samples before they are made 16-bit:
    // render() gives pcm16() of each.
    bool renderFloat(const std::shared_ptr<const Song>& song, const FloatSink& sink, const Progress& progress = {},
                     int fromMs = 0);

    // Frames render() produces for song from its start: the count-in, its
    // length at the settings' tempo, and the tail.
    qint64 frameCount(const Song& song) const;

    int sampleRate() const { return m_sampleRate; }

private:
    class SynthSink;

    int m_sampleRate;
    SongSettings m_settings;
    PracticeChoice m_choice;
    MessageTap m_tap;
    std::bitset<16> m_channels = std::bitset<16>().set();
    std::unique_ptr<Synthesizer> m_synth;
};

} // namespace harmonet
