#include "midiout/SynthRenderer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {
qint64 nanosecondsOf(SynthRenderer::TimePoint time)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

// How fast the frame counter's place against the steady clock follows what
// each period measures: over about 64 periods, so the jitter of when the
// driver asks for audio averages out while a drift of the sound card's clock
// is followed.
constexpr double clockSmoothing = 1.0 / 64;
// A jump larger than this (the audio output stalled, or a new one began) is
// taken at once.
constexpr double clockJumpSeconds = 0.1;

// Offline, the reverb rests once the output has stayed below this peak
// (-120 dB, far under the last bit of a 16-bit sample) for this long with no
// voice: then its delay lines hold nothing that could still be heard.
constexpr float reverbSilentPeak = 1e-6f;
constexpr double reverbRestAfterSeconds = 0.5;

float peakOf(const float* samples, int frames)
{
    float peak = 0.0f;
    for (int i = 0; i < frames; ++i) {
        peak = std::max(peak, std::abs(samples[i]));
    }
    return peak;
}
} // namespace

SynthRenderer::SynthRenderer(fluid_synth_t* synth, double sampleRate, const SynthOutputStage& stage)
    : m_synth(synth), m_sampleRate(sampleRate), m_stage(stage, sampleRate)
{
}

SynthRenderer::~SynthRenderer()
{
    // Nothing renders any more: whatever is still queued is freed here.
    while (Message* message = m_queue.front()) {
        delete[] message->sysex;
        m_queue.pop();
    }
    while (quint8** done = m_done.front()) {
        delete[] *done;
        m_done.pop();
    }
    for (const Message& message : m_waiting) {
        delete[] message.sysex;
    }
}

void SynthRenderer::apply(const quint8* bytes, int size, bool sysex) noexcept
{
    if (size <= 0) {
        return;
    }
    // Any message may start a sound or change what the reverb is given.
    setReverbResting(false);
    if (sysex) {
        fluid_synth_sysex(m_synth, reinterpret_cast<const char*>(bytes), size, nullptr, nullptr, nullptr, 0);
        return;
    }
    const auto byte = [bytes, size](int i) { return i < size ? int(bytes[i]) : 0; };
    const int status = byte(0);
    const int channel = status & 0x0F;
    // A synthesizer that cannot play a note (no preset on the channel, every
    // voice in use) stays silent, as a sound module does; the message is not
    // an error of the sender, so the result of these calls is not raised.
    switch (status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(m_synth, channel, byte(1));
        break;
    case 0x90:
        fluid_synth_noteon(m_synth, channel, byte(1), byte(2));
        break;
    case 0xA0:
        fluid_synth_key_pressure(m_synth, channel, byte(1), byte(2));
        break;
    case 0xB0:
        fluid_synth_cc(m_synth, channel, byte(1), byte(2));
        break;
    case 0xC0:
        fluid_synth_program_change(m_synth, channel, byte(1));
        break;
    case 0xD0:
        fluid_synth_channel_pressure(m_synth, channel, byte(1));
        break;
    case 0xE0:
        fluid_synth_pitch_bend(m_synth, channel, byte(1) | (byte(2) << 7));
        break;
    default:
        if (status == 0xFF) {
            fluid_synth_system_reset(m_synth);
        }
        break;
    }
}

void SynthRenderer::reclaimSysex()
{
    while (quint8** done = m_done.front()) {
        delete[] *done;
        m_done.pop();
        --m_sysexOutstanding;
    }
}

bool SynthRenderer::pushLocked(const Message& message)
{
    // Every sysex buffer handed over must find room in m_done on its way back.
    if (message.sysex && m_sysexOutstanding >= m_done.capacity()) {
        return false;
    }
    if (!m_queue.push(message)) {
        return false;
    }
    if (message.sysex) {
        ++m_sysexOutstanding;
    }
    return true;
}

void SynthRenderer::schedule(const quint8* bytes, int size, bool sysex, TimePoint due)
{
    if (size <= 0) {
        return;
    }
    Message message;
    message.dueNs = nanosecondsOf(due);
    if (sysex) {
        message.sysex = new quint8[std::size_t(size)];
        std::copy(bytes, bytes + size, message.sysex);
        message.sysexSize = size;
    } else {
        message.size = quint8(std::min(size, 3));
        std::copy(bytes, bytes + message.size, message.bytes);
    }
    const std::lock_guard lock(m_producer);
    reclaimSysex();
    while (!m_waiting.empty() && pushLocked(m_waiting.front())) {
        m_waiting.pop_front();
    }
    if (!m_waiting.empty() || !pushLocked(message)) {
        m_waiting.push_back(message);
    }
}

void SynthRenderer::flush()
{
    const std::lock_guard lock(m_producer);
    reclaimSysex();
    while (!m_waiting.empty() && pushLocked(m_waiting.front())) {
        m_waiting.pop_front();
    }
}

void SynthRenderer::synthesize(float* left, float* right, int frames) noexcept
{
    if (frames <= 0) {
        return;
    }
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
    // Reverb and chorus are mixed into the same two channels as the dry sound.
    float* out[2] = {left, right};
    fluid_synth_process(m_synth, frames, 2, out, 2, out);
    m_frames += frames;
}

void SynthRenderer::followClock(qint64 nowNs) noexcept
{
    if (!m_clockKnown) {
        m_epochNs = nowNs;
    }
    const double measured = double(m_frames) - double(nowNs - m_epochNs) * m_sampleRate / 1e9;
    if (!m_clockKnown || std::abs(measured - m_offsetFrames) > clockJumpSeconds * m_sampleRate) {
        m_offsetFrames = measured;
        m_clockKnown = true;
        return;
    }
    m_offsetFrames += (measured - m_offsetFrames) * clockSmoothing;
}

qint64 SynthRenderer::frameOf(qint64 dueNs) const noexcept
{
    const qint64 heardNs = dueNs + std::chrono::nanoseconds(schedulingDelay).count() - m_epochNs;
    return qint64(std::floor(double(heardNs) * m_sampleRate / 1e9 + m_offsetFrames));
}

void SynthRenderer::render(float* left, float* right, int frames, TimePoint now) noexcept
{
    if (frames <= 0) {
        return;
    }
    followClock(nanosecondsOf(now));
    const qint64 start = m_frames;
    const qint64 end = start + frames;
    const auto synthesizeTo = [&](qint64 frame) {
        const int offset = int(m_frames - start);
        synthesize(left + offset, right + offset, int(frame - m_frames));
    };
    while (Message* message = m_queue.front()) {
        // Never before a message scheduled earlier: the order is kept.
        const qint64 frame = std::max(frameOf(message->dueNs), m_lastAppliedFrame);
        if (frame >= end) {
            break; // due in a later period
        }
        const qint64 blockStart = frame - frame % synthBlockFrames;
        if (blockStart > m_frames) {
            synthesizeTo(blockStart);
        }
        if (m_frames == m_applyingAt && m_appliedHere >= maxMessagesPerBlock) {
            // The synthesizer takes only so many events into one block; the
            // rest go into the next one rather than being lost.
            synthesizeTo(std::min(m_frames + synthBlockFrames - m_frames % synthBlockFrames, end));
            if (m_frames == end) {
                break;
            }
        }
        if (m_frames != m_applyingAt) {
            m_applyingAt = m_frames;
            m_appliedHere = 0;
        }
        if (message->sysex) {
            apply(message->sysex, message->sysexSize, true);
            m_done.push(message->sysex); // always has room (see pushLocked)
        } else {
            apply(message->bytes, message->size, false);
        }
        ++m_appliedHere;
        m_lastAppliedFrame = std::max(frame, m_frames);
        m_queue.pop();
    }
    const int offset = int(m_frames - start);
    synthesize(left + offset, right + offset, int(end - m_frames));
    m_stage.process(left, right, frames);
}

void SynthRenderer::setReverbMayRest(bool mayRest) noexcept
{
    m_reverbMayRest = mayRest;
    if (!mayRest) {
        setReverbResting(false);
    }
}

void SynthRenderer::setReverbResting(bool resting) noexcept
{
    if (resting == m_reverbResting) {
        return;
    }
    m_reverbResting = resting;
    m_silentFrames = 0;
    // Taken by the synthesizer at the start of the next block it renders.
    fluid_synth_reverb_on(m_synth, -1, resting ? 0 : 1);
}

void SynthRenderer::render(float* left, float* right, int frames) noexcept
{
    // In pieces, so that silence is noticed in whatever lengths are asked for.
    constexpr int pieceFrames = 1024;
    for (int done = 0; done < frames;) {
        const int piece = std::min(pieceFrames, frames - done);
        renderPiece(left + done, right + done, piece);
        done += piece;
    }
    m_stage.process(left, right, frames);
}

void SynthRenderer::renderPiece(float* left, float* right, int frames) noexcept
{
    synthesize(left, right, frames);
    if (m_reverbResting) {
        m_reverbRestedFrames += frames;
    } else if (m_reverbMayRest && fluid_synth_get_active_voice_count(m_synth) == 0
               && std::max(peakOf(left, frames), peakOf(right, frames)) < reverbSilentPeak) {
        m_silentFrames += frames;
        if (double(m_silentFrames) >= reverbRestAfterSeconds * m_sampleRate) {
            setReverbResting(true);
        }
    } else {
        m_silentFrames = 0;
    }
}

} // namespace harmonet
