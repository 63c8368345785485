#pragma once

#include <optional>

namespace harmonet {

class TMidiTrack;

// The value of the track's last controller message of that number, on any
// channel, or nothing when the track has none.
std::optional<int> lastControllerValue(const TMidiTrack& track, int controller);

// The volume and pan the file gives the track: its last controller 7 and 10,
// or the defaults where it sets none.
int fileVolume(const TMidiTrack& track);
int filePan(const TMidiTrack& track);

} // namespace harmonet
