#pragma once

#include "midiout/Miditype.h"

#include <functional>

namespace harmonet {

class TMidiFile;
class TMidiTrack;
struct TMidiEvent;
struct TrackSettings;

// A data byte from a track's setting (program, volume, pan): 0 to 127.
quint8 dataByte(qint32 value);

// The track that owns a channel event of the song: the one whose channel the
// event is on. Only note-ons, controllers and program changes have an owner
// (-1 for any other message): they are the ones routing changes.
int channelOwner(const TMidiFile& song, const TMidiEvent& event);

// The owner of a routed message: its channel (1..16, anything else when it
// plays no note) and what the user set for it.
struct RoutingOwner {
    int channel = 0;
    const TrackSettings& settings;
};

// What one channel event becomes on its way to the output, the same for the
// player and for rendering to a file. Without an owner the message passes
// unchanged. On the owner's own channel a program change gives way to the
// owner's instrument, which is sent at once (and then sent again as the
// message itself), and, with the track mixer in force, the file's volume and
// pan controllers take the owner's volume and pan. A muted owner turns the
// message into All Notes Off on the owner's channel (nothing when it has
// none). What remains is sent.
void routeChannelEvent(const RoutingOwner* owner, const TMidiEvent& event, bool trackMixerInForce,
                       const std::function<void(const TMyMidiEvent& message)>& send);

// The message with the track's volume or pan in place of the value of a
// volume or pan controller; any other message unchanged.
TMyMidiEvent withTrackMixValues(const TrackSettings& track, const TMyMidiEvent& message);

} // namespace harmonet
