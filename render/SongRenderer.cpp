#include "render/SongRenderer.h"

#include "midiout/MidiMessage.h"
#include "sequencer/Clock.h"
#include "sequencer/MidiFile.h"
#include "session/MidiSink.h"
#include "session/PlayingSession.h"
#include "session/Song.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <vector>

namespace harmonet {

namespace {

// One synthesizer is made at a time: FluidSynth fills its shared tables
// (volume and pan curves among them) while the first one is made, and a
// second one made meanwhile on another thread would sound with half-filled
// tables.
//
// A rendered file is the song as written, whatever the user's volume, mutes
// and tone are set to for listening: it plays through a stage of its own that
// stays at full volume, unmuted and flat.
std::unique_ptr<Synthesizer> offlineSynthesizer(int sampleRate)
{
    static std::mutex making;
    const std::lock_guard lock(making);
    static const SynthOutputStage neutral;
    return std::make_unique<Synthesizer>(Synthesizer::Output::Offline, sampleRate, soundFontCandidates(), neutral);
}

qint64 framesOf(double ms, int sampleRate)
{
    return qint64(std::llround(ms * sampleRate / 1000.0));
}

} // namespace

// The gateway's output while rendering: the audio up to a message's sample,
// then the message, as a device that plays messages at their time would.
class SongRenderer::SynthSink final : public MidiSink {
public:
    SynthSink(Synthesizer& synth, int fromMs, qint64 totalFrames, const FloatSink& audio, const Progress& progress,
              const MessageTap& tap, std::bitset<16> channels)
        : m_synth(synth), m_fromMs(fromMs), m_total(totalFrames), m_audio(audio), m_progress(progress), m_tap(tap),
          m_channels(channels), m_block(std::size_t(2 * blockFrames))
    {
    }

    bool isOpen() const override { return true; }

    void send(const TMyMidiEvent& message, const std::optional<TDue>& due) override
    {
        if (m_tap) {
            m_tap(message, due);
        }
        if (due) {
            renderUpTo(std::min(m_total, framesOf(due->exactMs - m_fromMs, m_synth.sampleRate())));
        }
        if (message.SysexData) {
            m_synth.playSysex(QByteArray(reinterpret_cast<const char*>(message.SysexData.get()), message.SysexSize));
            return;
        }
        // As an output device takes them: a lone start or end of a
        // system-exclusive message, or a data byte for a status, is no message.
        if (message.StatusByte == 0xF0 || message.StatusByte == 0xF7 || !reachesSynth(message.StatusByte)) {
            return;
        }
        const QByteArray bytes = shortMessageBytes(message.StatusByte, message.FirstData, message.SecondData);
        if (!bytes.isEmpty()) {
            m_synth.play(bytes);
        }
    }

    // Renders up to frame unless stopped; false once progress stopped it.
    bool renderUpTo(qint64 frame)
    {
        while (!m_stopped && m_done < frame) {
            const qint64 frames = std::min<qint64>(blockFrames, frame - m_done);
            const std::span<float> samples(m_block.data(), std::size_t(2 * frames));
            m_synth.render(samples);
            m_audio(samples);
            m_done += frames;
            m_stopped = m_progress && !m_progress(m_done, m_total);
        }
        return !m_stopped;
    }

    bool stopped() const { return m_stopped; }

private:
    // A channel message on a channel left out is not played.
    bool reachesSynth(quint8 status) const
    {
        return status >= 0xF0 || status < 0x80 || m_channels.test(status & 0x0F);
    }

    Synthesizer& m_synth;
    int m_fromMs;
    qint64 m_total;
    const FloatSink& m_audio;
    const Progress& m_progress;
    const MessageTap& m_tap;
    std::bitset<16> m_channels;
    std::vector<float> m_block;
    qint64 m_done = 0;
    bool m_stopped = false;
};

SongRenderer::SongRenderer(int sampleRate) : m_sampleRate(sampleRate), m_synth(offlineSynthesizer(sampleRate)) {}

SongRenderer::~SongRenderer() = default;

qint64 SongRenderer::frameCount(const Song& song) const
{
    TMidiFile played;
    played.LoadSongFrom(song.file());
    played.SetFollowTempoChanges(m_settings.followTempoChanges);
    if (m_settings.bpm > 0) {
        played.SetBpm(m_settings.bpm);
    }
    return (qint64(played.SongLengthMs()) + tailMs) * m_sampleRate / 1000;
}

SongRenderer::Progress SongRenderer::inPercent(std::function<bool(int percent)> percentProgress)
{
    return [percentProgress = std::move(percentProgress), shown = -1](qint64 done, qint64 total) mutable {
        const int percent = total > 0 ? int(done * 100 / total) : 100;
        if (percent != shown) {
            shown = percent;
            return !percentProgress || percentProgress(percent);
        }
        return true;
    };
}

bool SongRenderer::render(const std::shared_ptr<const Song>& song, const AudioSink& sink, const Progress& progress,
                          int fromMs)
{
    std::vector<qint16> block;
    return renderFloat(
        song,
        [&](std::span<const float> stereo) {
            block.resize(stereo.size());
            std::transform(stereo.begin(), stereo.end(), block.begin(), Synthesizer::pcm16);
            sink(block);
        },
        progress, fromMs);
}

bool SongRenderer::renderFloat(const std::shared_ptr<const Song>& song, const FloatSink& sink,
                               const Progress& progress, int fromMs)
{
    PlayingSession session;
    session.setSong(song);
    session.applySettings(m_settings);
    // Chosen before the output is there: each channel's levels go out
    // before its first note, with that note's moment.
    session.setPracticeChoice(m_choice);

    TMidiFile& sequencer = session.sequencer();
    const qint64 total = std::max<qint64>(0, (qint64(sequencer.SongLengthMs()) - fromMs + tailMs) * m_sampleRate / 1000);
    SynthSink output(*m_synth, fromMs, total, sink, progress, m_tap, m_channels);
    session.setSink(&output);

    // Playing time and the clock's time are one: both start at fromMs.
    ManualClock clock(fromMs);
    sequencer.SetClock(&clock);
    sequencer.SetDrivenByCaller(true);
    if (fromMs > 0) {
        session.seek(fromMs);
    }
    session.sendInstruments();
    session.startAt(fromMs);
    // Playing time counts in ints: a song's events lie within them.
    for (qint64 next = sequencer.NextEventMs(); next >= 0 && next <= std::numeric_limits<int>::max() && !output.stopped();
         next = sequencer.NextEventMs()) {
        clock.setNowMs(next);
        sequencer.AdvanceTo(int(next));
    }
    sequencer.HaltPlay();
    return output.renderUpTo(total);
}

} // namespace harmonet
