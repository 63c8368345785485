#include "render/SongRenderer.h"

#include "midiout/MidiMessage.h"
#include "midiout/Pcm16.h"
#include "practice/Clicks.h"
#include "sequencer/BarMap.h"
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

// What a rendering plays of a session's song: from startMs of playing time,
// playedMs long; a loop's bars its passes times (at least once), else the
// song from fromMs to its end.
struct PlayedSpan {
    int startMs = 0;
    double playedMs = 0.0;
    bool looped = false;
};

PlayedSpan playedSpan(const PlayingSession& session, int fromMs)
{
    const TMidiFile& sequencer = session.sequencer();
    const std::optional<TTickLoop>& loop = sequencer.Loop();
    if (!session.loop() || !loop) {
        return {fromMs, double(std::max(0, sequencer.SongLengthMs() - fromMs)), false};
    }
    const double startMs = sequencer.MsAtTicks(double(loop->StartTicks));
    const double lengthMs = sequencer.MsAtTicks(double(loop->EndTicks)) - startMs;
    const int passes = std::max(1, loop->Passes);
    // Each pass after the first counted in, when chosen.
    const double pauseMs =
        session.clicks().beforeEachPass ? session.countInAt(int(std::lround(startMs))).lengthMs : 0.0;
    return {int(std::lround(startMs)), lengthMs * passes + pauseMs * (passes - 1), true};
}

// Frames of the span with the tail after it.
qint64 totalFrames(const PlayedSpan& span, int sampleRate)
{
    if (!span.looped) {
        return (qint64(span.playedMs) + SongRenderer::tailMs) * sampleRate / 1000;
    }
    return framesOf(span.playedMs, sampleRate) + qint64(SongRenderer::tailMs) * sampleRate / 1000;
}

// A session playing the song as the settings say, with nowhere to send yet.
void prepare(PlayingSession& session, const std::shared_ptr<const Song>& song, const SongSettings& settings,
             const PracticeChoice& choice)
{
    session.setSong(song);
    session.applySettings(settings);
    // Chosen before the output is there: each channel's levels go out
    // before its first note, with that note's moment.
    session.setPracticeChoice(choice);
}

} // namespace

// The gateway's output while rendering: the audio up to a message's sample,
// then the message, as a device that plays messages at their time would.
class SongRenderer::SynthSink final : public MidiSink {
public:
    SynthSink(Synthesizer& synth, const TMidiFile& sequencer, double fromClockMs, qint64 totalFrames,
              const FloatSink& audio, const Progress& progress, const MessageTap& tap, std::bitset<16> channels)
        : m_synth(synth), m_sequencer(sequencer), m_fromMs(fromClockMs), m_total(totalFrames), m_audio(audio),
          m_progress(progress), m_tap(tap), m_channels(channels), m_block(std::size_t(2 * blockFrames))
    {
    }

    bool isOpen() const override { return true; }
    bool isBuiltInSynthesizer() const override { return true; }

    void send(const TMyMidiEvent& message, const std::optional<TDue>& due) override
    {
        if (m_tap) {
            m_tap(message, due);
        }
        // The clock runs on through a loop's wraps, where playing time goes back.
        if (due) {
            renderUpTo(std::min(m_total, framesOf(m_sequencer.ClockMsAt(due->exactMs) - m_fromMs, m_synth.sampleRate())));
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
    const TMidiFile& m_sequencer;
    // The clock's time of the first frame.
    double m_fromMs;
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

void SongRenderer::setReverbMayRest(bool mayRest)
{
    m_synth->setReverbMayRest(mayRest);
}

qint64 SongRenderer::frameCount(const Song& song) const
{
    PlayingSession session;
    prepare(session, std::shared_ptr<const Song>(std::shared_ptr<const Song>(), &song), m_settings, m_choice);
    const PlayedSpan span = playedSpan(session, 0);
    return totalFrames(span, m_sampleRate) + framesOf(session.countInAt(span.startMs).lengthMs, m_sampleRate);
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
            pcm16(stereo, block);
            sink(block);
        },
        progress, fromMs);
}

bool SongRenderer::renderFloat(const std::shared_ptr<const Song>& song, const FloatSink& sink,
                               const Progress& progress, int fromMs)
{
    PlayingSession session;
    prepare(session, song, m_settings, m_choice);
    TMidiFile& sequencer = session.sequencer();
    const PlayedSpan span = playedSpan(session, fromMs);
    // The count-in comes first, before the place playing starts.
    const CountIn countIn = session.countInAt(span.startMs);
    const double originMs = span.startMs - countIn.lengthMs;
    const qint64 countInFrames = framesOf(countIn.lengthMs, m_sampleRate);
    const qint64 total = totalFrames(span, m_sampleRate) + countInFrames;
    SynthSink output(*m_synth, sequencer, originMs, total, sink, progress, m_tap, m_channels);
    session.setSink(&output);

    // The clock starts where playing does, and runs on through the loop's wraps.
    ManualClock clock(span.startMs);
    sequencer.SetClock(&clock);
    sequencer.SetDrivenByCaller(true);
    if (span.looped) {
        session.seekToBar(session.loop()->firstBar);
    } else if (fromMs > 0) {
        session.seek(fromMs);
    }
    session.sendInstruments();
    // Before playing starts, playing time and the clock's time are one.
    for (std::size_t click = 0; click <= countIn.clicks.size(); ++click) {
        const double at = click < countIn.clicks.size() ? originMs + countIn.clicks[click].ms : double(span.startMs);
        session.strikeCountIn(countIn, click, TDue{qint64(std::floor(at)), at});
    }
    session.startAt(sequencer.CurrentTime());
    // A loop ends with its last pass: what falls due from then on is not played.
    const double endClockMs = span.looped ? span.startMs + span.playedMs : std::numeric_limits<double>::infinity();
    // Playing time counts in ints: a song's events lie within them.
    for (qint64 next = sequencer.NextEventMs();
         next >= 0 && next <= std::numeric_limits<int>::max() && double(next) < endClockMs && !output.stopped();
         next = sequencer.NextEventMs()) {
        clock.setNowMs(next);
        sequencer.AdvanceTo(int(next - sequencer.ClockMsAt(0)));
    }
    if (span.looped && output.renderUpTo(countInFrames + framesOf(span.playedMs, m_sampleRate))) {
        session.gateway().release();
    }
    sequencer.HaltPlay();
    return output.renderUpTo(total);
}

} // namespace harmonet
