#include "practice/TrackSettings.h"

#include "sequencer/GMPrograms.h"
#include "sequencer/MidiTrack.h"
#include "sequencer/TrackMixValues.h"

namespace harmonet {

int TrackSettings::program() const
{
    return GMProgramNumber(instrument);
}

TrackSettings TrackSettings::ofFile(const TMidiTrack& track)
{
    TrackSettings settings;
    settings.instrument = track.InstrumentName();
    settings.volume = fileVolume(track);
    settings.pan = filePan(track);
    return settings;
}

} // namespace harmonet
