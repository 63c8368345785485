#include "session/MidiGateway.h"

#include "midiout/MidiOutError.h"
#include "practice/ChannelRouting.h"
#include "sequencer/MidiBytes.h"
#include "session/MidiSink.h"

namespace harmonet {

namespace {
constexpr int ChannelCount = 16;
} // namespace

TMyMidiEvent MidiGateway::note(int channel, int key, int velocity)
{
    return TMyMidiEvent(quint8(midi::NoteOn + channel - 1), dataByte(key), dataByte(velocity));
}

TMyMidiEvent MidiGateway::controller(int channel, int number, int value)
{
    return TMyMidiEvent(quint8(midi::Controller + channel - 1), dataByte(number), dataByte(value));
}

TMyMidiEvent MidiGateway::program(int channel, int program)
{
    return TMyMidiEvent(quint8(midi::ProgramChange + channel - 1), dataByte(program), 0);
}

TMyMidiEvent MidiGateway::allNotesOff(int channel)
{
    return controller(channel, midi::AllNotesOffController, 0);
}

MidiGateway::MidiGateway(const TMidiFile& song, const std::vector<TrackSettings>& tracks)
    : m_song(song), m_tracks(tracks)
{
}

bool MidiGateway::isOpen() const
{
    return m_sink && m_sink->isOpen();
}

void MidiGateway::send(const TMyMidiEvent& message, const Due& due)
{
    if (!isOpen()) {
        throw EmidioutputError(QStringLiteral("MIDI Output device not open"));
    }
    m_sink->send(message, due);
}

void MidiGateway::offer(const TMyMidiEvent& message, const Due& due)
{
    if (isOpen()) {
        m_sink->send(message, due);
    }
}

void MidiGateway::route(const TMidiEvent& event, const Due& due)
{
    const auto passDue = [this, &event, &due](const TMyMidiEvent& message) { pass(message, &event, due, true); };
    const int owner = channelOwner(m_song, event);
    if (owner < 0 || owner >= int(m_tracks.size())) {
        routeChannelEvent(nullptr, event, m_trackMixerInForce, passDue);
        return;
    }
    m_currentTrack = owner;
    const RoutingOwner routing{channelOf(owner), m_tracks[std::size_t(owner)]};
    routeChannelEvent(&routing, event, m_trackMixerInForce, passDue);
}

void MidiGateway::pass(const TMyMidiEvent& message, const TMidiEvent* event, const Due& due, bool required)
{
    if (required && !isOpen()) {
        throw EmidioutputError(QStringLiteral("MIDI Output device not open"));
    }
    m_voices.route(message, event, [this, &due](const TMyMidiEvent& routed) { emphasise(routed, due); });
}

void MidiGateway::emphasise(const TMyMidiEvent& message, const Due& due)
{
    TMyMidiEvent mixed(message.StatusByte, message.FirstData, message.SecondData);
    m_mix.route(mixed, [this, &due](const TMyMidiEvent& level) { offer(level, due); });
    offer(mixed, due);
}

int MidiGateway::channelOf(int track) const
{
    return track >= 0 && track < m_song.NumberOfTracks() ? m_song.TrackAt(track)->Channel() : 0;
}

void MidiGateway::sendInstrument(int track, int programNumber)
{
    // A track without a channel (no note-on) has no valid status byte for a
    // program change.
    const int channel = channelOf(track);
    if (validChannel(channel)) {
        pass(program(channel, programNumber), nullptr, std::nullopt, true);
    }
}

void MidiGateway::silence()
{
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        offer(allNotesOff(channel));
    }
    if (isOpen()) {
        m_voices.silenced();
    }
}

void MidiGateway::silenceTrack(int track)
{
    const int channel = channelOf(track);
    if (validChannel(channel) && isOpen()) {
        pass(allNotesOff(channel), nullptr, std::nullopt, false);
    }
}

void MidiGateway::sendTrackMix(int track, int number, int value)
{
    const int channel = channelOf(track);
    if (!validChannel(channel)) {
        return;
    }
    pass(controller(channel, number, value), nullptr, std::nullopt, true);
}

void MidiGateway::songChanged(const QList<TVoice>* voices)
{
    m_mix.setSong(voices ? &m_song : nullptr);
    m_voices.setSong(voices ? &m_song : nullptr, voices);
}

void MidiGateway::setPracticeChoice(const PracticeChoice& choice, int voice)
{
    // With no output open the levels go out before each channel's next note,
    // and my part's channel is set up before its first.
    const TPracticeMix::Send now = isOpen() ? TPracticeMix::Send([this](const TMyMidiEvent& message) { offer(message); })
                                            : TPracticeMix::Send();
    m_voices.choose(choice.hasPart() ? voice : -1, now);
    m_mix.setChoice(choice, m_voices.myChannel(), now);
    if (isOpen()) {
        m_voices.replayIfDue([this](const TMyMidiEvent& message) { emphasise(message, std::nullopt); });
    }
}

void MidiGateway::outputReopened()
{
    m_mix.resendBeforeNextNotes();
    m_voices.outputReopened();
}

} // namespace harmonet
