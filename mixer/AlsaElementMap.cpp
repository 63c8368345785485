#include "mixer/AlsaElementMap.h"

#include <alsa/asoundlib.h>

#include <algorithm>

namespace harmonet {

namespace {

const AlsaElementInfo* findElement(const QList<AlsaElementInfo>& elements, const char* name)
{
    const auto found = std::find_if(elements.begin(), elements.end(),
                                    [name](const AlsaElementInfo& element) { return element.name == QLatin1String(name); });
    return found == elements.end() ? nullptr : &*found;
}

std::optional<AlsaControlPlace> volumeOf(const AlsaElementInfo* element)
{
    return element && element->hasVolume ? std::optional(AlsaControlPlace{element->name, false}) : std::nullopt;
}

std::optional<AlsaControlPlace> switchOf(const AlsaElementInfo* element)
{
    return element && element->hasSwitch ? std::optional(AlsaControlPlace{element->name, true}) : std::nullopt;
}

} // namespace

AlsaControlPlaces placeAlsaControls(const QList<AlsaElementInfo>& elements)
{
    const AlsaElementInfo* master = findElement(elements, "Master");
    if (!master || !master->hasVolume) {
        master = findElement(elements, "PCM");
    }
    const AlsaElementInfo* synth = findElement(elements, "Synth");
    AlsaControlPlaces places;
    places[mcMasterVolume] = volumeOf(master);
    // A speakers line without a volume offers no mute either.
    places[mcMasterMute] = places[mcMasterVolume] ? switchOf(master) : std::nullopt;
    places[mcTreble] = volumeOf(findElement(elements, "Treble"));
    places[mcBass] = volumeOf(findElement(elements, "Bass"));
    places[mcMidiVolume] = volumeOf(synth);
    places[mcMidiMute] = switchOf(synth);
    return places;
}

quint32 alsaChannelValue(int channel, TMixerStereoValue value)
{
    switch (channel) {
    case SND_MIXER_SCHN_FRONT_LEFT:
    case SND_MIXER_SCHN_REAR_LEFT:
    case SND_MIXER_SCHN_SIDE_LEFT:
        return value.LeftValue;
    case SND_MIXER_SCHN_FRONT_RIGHT:
    case SND_MIXER_SCHN_REAR_RIGHT:
    case SND_MIXER_SCHN_SIDE_RIGHT:
        return value.RightValue;
    default:
        return std::max(value.LeftValue, value.RightValue);
    }
}

} // namespace harmonet
