#pragma once

#include "sequencer/MidiBytes.h"

#include <QString>

namespace harmonet {

class TMidiTrack;

// What the user set for one track of a song: its mute, its instrument and
// the track mixer's volume and pan. A loaded song starts with the file's own.
struct TrackSettings {
    bool muted = false;
    // The instrument's General MIDI name as the table spells it; empty when
    // neither the file nor the user named one.
    QString instrument;
    int volume = midi::DefaultVolume;
    int pan = midi::CentrePan;

    // The program the instrument plays with (0 for an unknown name).
    int program() const;

    // The file's own: its instrument, and the volume and pan it sets.
    static TrackSettings ofFile(const TMidiTrack& track);

    bool operator==(const TrackSettings&) const = default;
};

} // namespace harmonet
