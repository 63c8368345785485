#include "practice/SongRenderer.h"

#include "practice/ChannelRouting.h"
#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <tuple>
#include <vector>

namespace harmonet {

namespace {

bool validChannel(int channel)
{
    return channel >= 1 && channel <= 16;
}

} // namespace

// The player's routing of each event (routeChannelEvent), for the offline
// synthesizer: mutes, instruments, the track mixer's values when in force and
// the practice mix apply as while playing.
class SongRenderer::Routing {
public:
    Routing(const SongRenderer& renderer, const TMidiFile& song, Synthesizer& synth)
        : m_renderer(renderer), m_song(song), m_synth(synth)
    {
        m_mix.setSong(&song);
        m_mix.setChoice(renderer.m_choice, {});
        m_send = [this](const TMyMidiEvent& message) { play(message); };
    }

    // Every track's instrument, as the play action sends them before playing.
    void sendInstruments()
    {
        for (int i = 0; i < m_song.NumberOfTracks(); ++i) {
            const TMidiTrack* track = m_song.TrackAt(i);
            if (validChannel(track->Channel())) {
                play(TMyMidiEvent(quint8(midi::ProgramChange + track->Channel() - 1), dataByte(track->ProgramNumber()), 0));
            }
        }
    }

    void route(const TMidiEvent& event)
    {
        // Meta and system events, and an event read before any status byte, sound nothing.
        if (event.Status < 0x80 || event.Status >= 0xF0) {
            return;
        }
        routeChannelEvent(
            channelOwner(m_song, event), event, m_renderer.m_trackMixerInForce,
            [this](TMyMidiEvent& message) { m_mix.route(message, m_send); }, m_send);
    }

private:
    void play(const TMyMidiEvent& message)
    {
        if (m_renderer.isChannelMuted((message.StatusByte & 0x0F) + 1)) {
            return;
        }
        const char bytes[] = {char(message.StatusByte), char(message.FirstData), char(message.SecondData)};
        m_synth.play(QByteArray::fromRawData(bytes, sizeof bytes));
    }

    const SongRenderer& m_renderer;
    const TMidiFile& m_song;
    Synthesizer& m_synth;
    TPracticeMix m_mix;
    TPracticeMix::Send m_send;
};

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

} // namespace

SongRenderer::SongRenderer(int sampleRate)
    : m_sampleRate(sampleRate), m_synth(offlineSynthesizer(sampleRate))
{
}

void SongRenderer::setChannelMuted(int channel, bool muted)
{
    if (validChannel(channel)) {
        m_muted[std::size_t(channel - 1)] = muted;
    }
}

bool SongRenderer::isChannelMuted(int channel) const
{
    return validChannel(channel) && m_muted[std::size_t(channel - 1)];
}

qint64 SongRenderer::frameCount(const TMidiFile& song) const
{
    return (qint64(song.SongLengthMs()) + tailMs) * m_sampleRate / 1000;
}

bool SongRenderer::render(const TMidiFile& song, const AudioSink& sink, const Progress& progress)
{
    Routing routing(*this, song, *m_synth);
    routing.sendInstruments();

    const qint64 total = frameCount(song);
    const auto dueFrame = [&](qint32 ticks) {
        return std::min(total, qint64(std::llround(song.MsAtTicks(ticks) * m_sampleRate / 1000.0)));
    };

    // The tracks' events merged in time order (track order among events of
    // the same tick), one cursor per track.
    std::vector<int> next(std::size_t(song.NumberOfTracks()), 0);
    const auto nextEvent = [&]() -> std::pair<int, const TMidiEvent*> {
        int bestTrack = -1;
        const TMidiEvent* best = nullptr;
        for (int t = 0; t < song.NumberOfTracks(); ++t) {
            const auto events = song.TrackAt(t)->Events();
            const int i = next[std::size_t(t)];
            if (i < int(events.size()) && (!best || events[std::size_t(i)].Ticks < best->Ticks)) {
                best = &events[std::size_t(i)];
                bestTrack = t;
            }
        }
        return {bestTrack, best};
    };

    std::vector<qint16> block(std::size_t(2 * blockFrames));
    qint64 done = 0;
    const auto renderUpTo = [&](qint64 frame) {
        while (done < frame) {
            const qint64 frames = std::min<qint64>(blockFrames, frame - done);
            const std::span<qint16> samples(block.data(), std::size_t(2 * frames));
            m_synth->render(samples);
            sink(samples);
            done += frames;
            if (progress && !progress(done, total)) {
                return false;
            }
        }
        return true;
    };

    for (auto [track, event] = nextEvent(); event; std::tie(track, event) = nextEvent()) {
        if (!renderUpTo(dueFrame(event->Ticks))) {
            return false;
        }
        ++next[std::size_t(track)];
        routing.route(*event);
    }
    return renderUpTo(total);
}

} // namespace harmonet
