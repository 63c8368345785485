#include "practice/ChannelRouting.h"

#include "practice/TrackSettings.h"
#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"

#include <algorithm>

namespace harmonet {

quint8 dataByte(qint32 value)
{
    return quint8(std::clamp(value, 0, 127));
}

TMyMidiEvent withTrackMixValues(const TrackSettings& track, const TMyMidiEvent& message)
{
    switch (message.FirstData) {
    case midi::VolumeController:
        return TMyMidiEvent(message.StatusByte, midi::VolumeController, dataByte(track.volume));
    case midi::PanController:
        return TMyMidiEvent(message.StatusByte, midi::PanController, dataByte(track.pan));
    default:
        return TMyMidiEvent(message.StatusByte, message.FirstData, message.SecondData);
    }
}

int channelOwner(const TMidiFile& song, const TMidiEvent& event)
{
    const quint8 kind = event.Status & 0xF0;
    if (song.NumberOfTracks() == 0 || (kind != midi::NoteOn && kind != midi::Controller && kind != midi::ProgramChange)) {
        return -1;
    }
    // A track's number is its index in the song.
    return song.TrackForChannel((event.Status & 0x0F) + 1)->TrackNumber();
}

void routeChannelEvent(const RoutingOwner* owner, const TMidiEvent& event, bool trackMixerInForce,
                       const std::function<void(const TMyMidiEvent& message)>& send)
{
    TMyMidiEvent outgoing(event.Status, event.Value1, event.Value2);
    if (!owner) {
        send(outgoing);
        return;
    }
    const quint8 kind = event.Status & 0xF0;
    const int eventChannel = (event.Status & 0x0F) + 1;
    const int channel = owner->channel;
    // A track without note-ons has no channel: nothing can replace a message for it.
    const bool hasChannel = channel >= 1 && channel <= 16;
    const bool onTrackChannel = hasChannel && eventChannel == channel;

    if (kind == midi::ProgramChange && onTrackChannel) {
        outgoing = TMyMidiEvent(quint8(midi::ProgramChange + channel - 1), dataByte(owner->settings.program()), 0);
        send(outgoing);
    }
    if (kind == midi::Controller && onTrackChannel && trackMixerInForce) {
        outgoing = withTrackMixValues(owner->settings, outgoing);
    }
    if (owner->settings.muted) {
        if (hasChannel) {
            send(TMyMidiEvent(quint8(midi::Controller + channel - 1), midi::AllNotesOffController, 0));
        }
        return;
    }
    send(outgoing);
}

} // namespace harmonet
