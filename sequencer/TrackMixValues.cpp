#include "sequencer/TrackMixValues.h"

#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"

namespace harmonet {

std::optional<int> lastControllerValue(const TMidiTrack& track, int controller)
{
    std::optional<int> value;
    for (const TMidiEvent& event : track.Events()) {
        if ((event.Status & 0xF0) == midi::Controller && event.Value1 == controller) {
            value = event.Value2;
        }
    }
    return value;
}

int fileVolume(const TMidiTrack& track)
{
    return lastControllerValue(track, midi::VolumeController).value_or(midi::DefaultVolume);
}

int filePan(const TMidiTrack& track)
{
    return lastControllerValue(track, midi::PanController).value_or(midi::CentrePan);
}

} // namespace harmonet
