#include "session/MidiGateway.h"

#include "midiout/MidiOutError.h"
#include "practice/ChannelRouting.h"
#include "sequencer/MidiBytes.h"
#include "session/MidiSink.h"

#include <QCoreApplication>

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
        throw EmidioutputError(QCoreApplication::translate("Output", "MIDI Output device not open"));
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
    const auto sendDue = [this, &due](const TMyMidiEvent& message) { send(message, due); };
    const auto offerDue = [this, &due](const TMyMidiEvent& message) { offer(message, due); };
    const int owner = channelOwner(m_song, event);
    if (owner < 0 || owner >= int(m_tracks.size())) {
        routeChannelEvent(nullptr, event, m_trackMixerInForce, [](TMyMidiEvent&) {}, sendDue);
        return;
    }
    m_currentTrack = owner;
    const RoutingOwner routing{channelOf(owner), m_tracks[std::size_t(owner)]};
    routeChannelEvent(
        &routing, event, m_trackMixerInForce, [this, &offerDue](TMyMidiEvent& message) { m_mix.route(message, offerDue); },
        sendDue);
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
        send(program(channel, programNumber));
    }
}

void MidiGateway::silence()
{
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        offer(allNotesOff(channel));
    }
}

void MidiGateway::silenceTrack(int track)
{
    const int channel = channelOf(track);
    if (validChannel(channel)) {
        offer(allNotesOff(channel));
    }
}

void MidiGateway::sendTrackMix(int track, int number, int value)
{
    const int channel = channelOf(track);
    if (!validChannel(channel)) {
        return;
    }
    TMyMidiEvent message = controller(channel, number, value);
    m_mix.route(message, [this](const TMyMidiEvent& level) { offer(level); });
    send(message);
}

void MidiGateway::songChanged(bool loaded)
{
    m_mix.setSong(loaded ? &m_song : nullptr);
}

void MidiGateway::setPracticeChoice(const PracticeChoice& choice)
{
    // With no output open the levels go out before each channel's next note.
    m_mix.setChoice(choice, isOpen() ? TPracticeMix::Send([this](const TMyMidiEvent& message) { offer(message); })
                                     : TPracticeMix::Send());
}

} // namespace harmonet
