#pragma once

#include "midiout/OutputStage.h"
#include "midiout/SoundFontLocator.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <span>

namespace harmonet {

// The built-in General MIDI synthesizer: FluidSynth with the first SoundFont
// of soundFontCandidates() that loads. It either plays through the platform's
// default audio driver (falling back to a silent clock that keeps the voices
// moving when no audio output can be opened), or renders only when the caller
// pulls samples (offline), or renders when a host's audio callback asks
// (Callback: the host stands for the audio driver). Either way its sound
// passes through an output stage (volume, mute, bass and treble; the
// process's shared one unless another is given).
//
// Live (AudioDevice, Callback), every message is heard schedulingDelay after
// the moment it fell due, placed on the synthesizer's block grid by the audio
// thread; a message without a time falls due when it is played, one that
// comes too late is played at once, and the order of messages is kept.
// Offline, a message takes effect at the next block rendered.
class Synthesizer {
public:
    enum class Output { AudioDevice, Offline, Callback };
    using TimePoint = std::chrono::steady_clock::time_point;

    static const std::chrono::milliseconds schedulingDelay;

    static constexpr int defaultSampleRate = 44100;

    // Loads the first of soundFonts that is a usable SoundFont. Raises
    // EmidioutputError: MidiNoSoundFont (with advice on installing one) or
    // MidiSynthesizerFailed.
    explicit Synthesizer(Output output, int sampleRate = defaultSampleRate,
                         const QStringList& soundFonts = soundFontCandidates(),
                         const SynthOutputStage& stage = SynthOutputStage::shared());
    ~Synthesizer();

    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    // Plays one complete short message (status first, 7-bit data bytes).
    // Messages the synthesizer has no use for (clock, active sensing) are
    // dropped, as a sound module would.
    void play(const QByteArray& message);
    // The same for a message that fell due at due (on the steady clock).
    void play(const QByteArray& message, TimePoint due);

    // Plays one system-exclusive message, with or without its 0xF0 and 0xF7.
    void playSysex(const QByteArray& message);
    void playSysex(const QByteArray& message, TimePoint due);

    // Renders the next frames as interleaved stereo (left, right, left, ...):
    // stereo.size() / 2 frames. Only for the offline synthesizer (raises
    // EmidioutputError otherwise: the audio driver is the one that renders).
    void render(std::span<float> stereo);
    void render(std::span<qint16> stereo); // as pcm16() converts them
    // Offline: lets the reverb rest while nothing sounds, or not (the
    // default). Cheaper for a part silent for long stretches; the sound is the
    // same, though renders with rest no longer add up to a render of all to
    // the sample (the reverb's modulation resumes where it stopped).
    void setReverbMayRest(bool mayRest);
    // Frames rendered offline while the reverb rested.
    qint64 reverbRestedFrames() const;

    // The audio callback of a Callback synthesizer: fills left and right
    // (planar, the same length) with the period that begins to be rendered
    // at now. Raises EmidioutputError for the other outputs.
    void renderPeriod(std::span<float> left, std::span<float> right, TimePoint now);

    int sampleRate() const { return m_sampleRate; }
    QString soundFontPath() const { return m_soundFontPath; }

    // Whether sound reaches an audio device, and if not a remark for the user.
    // A live synthesizer whose audio output is lost, or could not be opened,
    // plays on silently and keeps trying to open it again in the background;
    // changed is called (on a thread of its own) whenever the remark changes.
    bool hasAudioOutput() const;
    QString audioNotice() const;
    void setAudioNoticeHandler(std::function<void()> changed);

    // Number of voices sounding now (attack, sustain or release).
    int activeVoices() const;

private:
    void requireOffline() const;
    void renderPlanar(std::size_t frames);

    struct Fluid;

    std::unique_ptr<Fluid> m_fluid;
    Output m_output;
    int m_sampleRate;
    QString m_soundFontPath;
};

} // namespace harmonet
