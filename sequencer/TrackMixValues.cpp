#include "sequencer/TrackMixValues.h"

#include "sequencer/MidiFile.h"

namespace harmonet {

namespace {
constexpr int VolumeController = 7;
constexpr int PanController = 10;
} // namespace

std::optional<int> lastControllerValue(const TMidiTrack& track, int controller)
{
    std::optional<int> value;
    for (const TMidiEvent& event : track.Events()) {
        if ((event.Status & 0xF0) == 0xB0 && event.Value1 == controller) {
            value = event.Value2;
        }
    }
    return value;
}

int fileVolume(const TMidiTrack& track)
{
    return lastControllerValue(track, VolumeController).value_or(DefaultVolume);
}

int filePan(const TMidiTrack& track)
{
    return lastControllerValue(track, PanController).value_or(DefaultPan);
}

void setFileMixValues(TMidiFile& file)
{
    for (int t = 0; t < file.NumberOfTracks(); ++t) {
        TMidiTrack* track = file.TrackAt(t);
        track->SetVolume(fileVolume(*track));
        track->SetPan(filePan(*track));
    }
}

} // namespace harmonet
