#pragma once

#include "midiout/OutputStage.h"
#include "midiout/SpscQueue.h"

#include <QtGlobal>

#include <chrono>
#include <deque>
#include <mutex>

struct _fluid_synth_t;

namespace harmonet {

// The built-in synthesizer's audio path, shared by the audio driver's
// callback, the silent clock and offline rendering: renders the synthesizer
// and passes the result through the output stage, so every way of getting
// sound out of it sounds the same.
//
// Live, messages are scheduled: each carries the time it fell due on the
// steady clock and is applied at the sample that is heard schedulingDelay
// after it, at the start of the synthesizer's 64-frame block holding that
// sample (the synthesizer starts notes only at its block boundaries). The
// audio thread renders up to that block, applies the message and renders on.
// A message that arrives too late for its sample is applied at once; messages
// are applied in the order they were scheduled, never dropped.
//
// render() runs on one audio thread at a time and never locks, allocates or
// throws; schedule() and flush() run on any other thread.
class SynthRenderer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Long enough to absorb the player's usual lateness in sending (a
    // millisecond, up to 10 ms when the window is busy) plus one audio
    // period; short enough not to be heard as a delay.
    static constexpr std::chrono::milliseconds schedulingDelay{20};
    static constexpr int synthBlockFrames = 64;
    static constexpr std::size_t queueCapacity = 4096;
    // At most this many messages go into one block of the synthesizer (its
    // own queue of voice events would overflow and lose some).
    static constexpr int maxMessagesPerBlock = 128;

    SynthRenderer(_fluid_synth_t* synth, double sampleRate, const SynthOutputStage& stage);
    ~SynthRenderer();

    SynthRenderer(const SynthRenderer&) = delete;
    SynthRenderer& operator=(const SynthRenderer&) = delete;

    // Plays a short message (1 to 3 bytes, status first) or a system-exclusive
    // message (its bytes without 0xF0 and 0xF7) that fell due at due. When the
    // ring is full it waits, in order, for flush() or the next schedule().
    void schedule(const quint8* bytes, int size, bool sysex, TimePoint due);
    // Passes on messages that waited for room in the ring.
    void flush();

    // Audio thread: fills frames of planar stereo that begin to be rendered at
    // now, applying every scheduled message that falls due in them.
    void render(float* left, float* right, int frames, TimePoint now) noexcept;
    // Offline: fills frames of planar stereo; messages were applied directly.
    void render(float* left, float* right, int frames) noexcept;
    // Offline, with rest: once no voice sounds and the reverb has died away,
    // the reverb unit (two thirds of what the effects cost) rests until the
    // next message, so that a part silent for long stretches (a voice
    // rendered alone) costs little there. Its slow modulation then resumes
    // where it stopped: the sound is the same, its samples not exactly those
    // of a render without rest. The chorus runs on: where its modulation
    // stands decides how a sound divides between the sides (a rested chorus
    // moved a voice's sides by a decibel).
    void setReverbMayRest(bool mayRest) noexcept;
    // Frames rendered offline while the reverb rested.
    qint64 reverbRestedFrames() const { return m_reverbRestedFrames; }

    // Applies one message to the synthesizer now. Messages the synthesizer has
    // no use for (clock, active sensing) are dropped, as a sound module would.
    void apply(const quint8* bytes, int size, bool sysex) noexcept;

    double sampleRate() const { return m_sampleRate; }

private:
    struct Message {
        qint64 dueNs = 0;      // on the steady clock
        quint8 bytes[3] = {};
        quint8 size = 0;
        quint8* sysex = nullptr; // owned by the renderer, handed back through m_done
        int sysexSize = 0;
    };

    void synthesize(float* left, float* right, int frames) noexcept;
    void setReverbResting(bool resting) noexcept;
    void renderPiece(float* left, float* right, int frames) noexcept;
    void followClock(qint64 nowNs) noexcept;
    qint64 frameOf(qint64 dueNs) const noexcept;
    void reclaimSysex();
    bool pushLocked(const Message& message);

    _fluid_synth_t* m_synth;
    double m_sampleRate;
    SynthOutputStage::Processor m_stage;

    // Audio thread's clock: frames rendered, and where the frame counter
    // stands against the steady clock (smoothed over many periods).
    qint64 m_frames = 0;
    qint64 m_epochNs = 0;
    double m_offsetFrames = 0;
    bool m_clockKnown = false;
    qint64 m_lastAppliedFrame = 0;
    qint64 m_applyingAt = -1; // the frame the last message was applied at
    int m_appliedHere = 0;    // and how many were applied there

    SpscQueue<Message> m_queue{queueCapacity};
    SpscQueue<quint8*> m_done{queueCapacity}; // sysex buffers the audio thread is finished with
    std::mutex m_producer;                    // one producer at a time; never taken by render()
    std::deque<Message> m_waiting;
    std::size_t m_sysexOutstanding = 0;

    // Offline: how long the output has been silent with no voice, and
    // whether the reverb rests.
    bool m_reverbMayRest = false;
    qint64 m_silentFrames = 0;
    bool m_reverbResting = false;
    qint64 m_reverbRestedFrames = 0;
};

} // namespace harmonet
