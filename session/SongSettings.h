#pragma once

#include "practice/Clicks.h"
#include "practice/TrackSettings.h"
#include "practice/BarLoop.h"

#include <optional>
#include <vector>

namespace harmonet {

// What the player has set for a song, taken at one moment, so that a
// rendering elsewhere (on another thread, with a sequencer of its own)
// plays it as it was then set.
struct SongSettings {
    // The playing tempo; 0 keeps the file's own.
    int bpm = 0;
    // Whether the playing time follows the file's tempo changes (bpm is then
    // the tempo at the start of the song).
    bool followTempoChanges = false;
    // Whether the track mixer's volume and pan replace the file's.
    bool trackMixerInForce = false;
    // Semitones the song is moved up (down when negative), drums excepted.
    int transpose = 0;
    // The count-in and the metronome.
    ClickSettings clicks;
    // One per track of the song, in track order.
    std::vector<TrackSettings> tracks;
    // The upbeat before the first full bar set by hand, in beats; none: as
    // the file shows it.
    std::optional<double> pickupBeats;
    // The passage played over and over; none: the whole song once.
    std::optional<BarLoop> loop;

    bool operator==(const SongSettings&) const = default;
};

} // namespace harmonet
