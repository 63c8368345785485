#pragma once

#include "mixer/MixerControl.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace harmonet {

// What the mapping needs to know of one simple element of a card's mixer.
struct AlsaElementInfo {
    QString name;
    bool hasVolume = false; // a playback or common volume
    bool hasSwitch = false; // a playback or common switch
};

// The element that serves a control, as its volume or as its switch.
struct AlsaControlPlace {
    QString element;
    bool isSwitch = false;
    friend bool operator==(const AlsaControlPlace&, const AlsaControlPlace&) = default;
};

using AlsaControlPlaces = std::array<std::optional<AlsaControlPlace>, MixerControlCount>;

// Where the six controls are on a card with these elements: the speakers
// line is "Master", or "PCM" where Master has no volume, its volume and its
// switch; treble and bass are the volumes of "Treble" and "Bass"; the
// synthesizer line is "Synth", its volume and its switch. A control the card
// lacks has no place.
AlsaControlPlaces placeAlsaControls(const QList<AlsaElementInfo>& elements);

// The value one channel of an element (an ALSA channel, SND_MIXER_SCHN_*)
// takes when its control is set to value: the left-side channels take the
// left value, the right-side ones the right value, centre and woofer the
// louder of the two. So elements of more than two channels are driven as left
// and right.
quint32 alsaChannelValue(int channel, TMixerStereoValue value);

} // namespace harmonet
