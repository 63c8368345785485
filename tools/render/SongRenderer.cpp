#include "tools/render/SongRenderer.h"

#include "sequencer/Clock.h"

#include <algorithm>
#include <vector>

namespace harmonet::tools {

SongRenderer::SongRenderer(int sampleRate)
    : m_sampleRate(sampleRate),
      m_backend(std::make_shared<SynthBackend>(SynthBackend::Mode::Offline, sampleRate)),
      m_output(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{m_backend}))
{
    m_output.setObjectName(QStringLiteral("MidiOutput1"));
    m_output.setDeviceID(0);
    if (!m_output.OpenDevice()) {
        throw EmidioutputError(m_output.LastOpenFailure(), m_output.LastError());
    }
    m_synth = m_backend->synthesizer();
}

void SongRenderer::sendChannelEvent(PMidiEvent event)
{
    // Channel messages reach the synthesizer; meta and system events do not.
    if (event->Status >= 0x80 && event->Status < 0xF0 && !m_muted[event->Status & 0x0F]) {
        const TMyMidiEvent message(event->Status, event->Value1, event->Value2);
        m_output.SendEvent(message);
    }
}

void SongRenderer::setChannelMuted(int channel, bool muted)
{
    if (channel >= 1 && channel <= 16) {
        m_muted[static_cast<std::size_t>(channel - 1)] = muted;
    }
}

bool SongRenderer::isChannelMuted(int channel) const
{
    return channel >= 1 && channel <= 16 && m_muted[static_cast<std::size_t>(channel - 1)];
}

void SongRenderer::render(TMidiFile& song, const AudioSink& sink, const Progress& progress)
{
    ManualClock clock;
    // The song gets its own clock and handler back however rendering ends.
    struct Restore {
        TMidiFile& song;
        TOnMidiEvent handler;
        ~Restore()
        {
            song.HaltPlay();
            song.SetOnMidiEvent(handler);
            song.SetClock(nullptr);
        }
    } restore{song, song.OnMidiEvent()};
    song.SetClock(&clock);
    song.SetOnMidiEvent([this](PMidiEvent event) { sendChannelEvent(event); });

    const qint64 endMs = qint64(song.SongLengthMs()) + tailMs;
    const auto frameAt = [this](qint64 ms) { return ms * m_sampleRate / 1000; };
    std::vector<qint16> samples;

    // The clock moves as the program's timers would fire: every stepMs, and
    // in between at the early wake-up the engine arms for an event that falls
    // due, so each event takes effect at its own millisecond.
    song.PlayFromStart();
    qint64 now = 0;
    qint64 nextStep = stepMs;
    while (now < endMs) {
        qint64 until = std::min(nextStep, endMs);
        const qint64 due = song.NextDueMs();
        if (due > now && due < until) {
            until = due;
        }
        samples.resize(static_cast<std::size_t>(2 * (frameAt(until) - frameAt(now))));
        m_synth->render(samples);
        sink(samples);
        now = until;
        if (now == nextStep) {
            nextStep += stepMs;
        }
        clock.setNowMs(now);
        song.Tick();
        if (progress) {
            progress(now, endMs);
        }
    }
}

} // namespace harmonet::tools
