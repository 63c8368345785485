// Which elements of a card's simple mixer serve the six controls, and what
// each channel of an element takes when a control is set.
#include "mixer/AlsaElementMap.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

namespace harmonet::test {

namespace {

AlsaElementInfo volumeAndSwitch(const char* name)
{
    return {QLatin1String(name), true, true};
}

TEST(AlsaElementMapTest, EachControlFindsItsElement)
{
    const std::optional<AlsaControlPlace> none;
    const auto volume = [](const char* name) { return std::optional(AlsaControlPlace{QLatin1String(name), false}); };
    const auto toggle = [](const char* name) { return std::optional(AlsaControlPlace{QLatin1String(name), true}); };
    struct Case {
        const char* card;
        QList<AlsaElementInfo> elements;
        AlsaControlPlaces places; // mcMidiVolume, mcMasterVolume, mcMidiMute, mcMasterMute, mcTreble, mcBass
    };
    const QList<Case> cases{
        {"sound server", {volumeAndSwitch("Master"), volumeAndSwitch("Capture")},
         {none, volume("Master"), none, toggle("Master"), none, none}},
        {"full card", {volumeAndSwitch("PCM"), volumeAndSwitch("Master"), {"Bass", true, false}, {"Treble", true, false},
                       volumeAndSwitch("Synth")},
         {volume("Synth"), volume("Master"), toggle("Synth"), toggle("Master"), volume("Treble"), volume("Bass")}},
        {"PCM only", {volumeAndSwitch("PCM"), {"Synth", false, true}},
         {none, volume("PCM"), toggle("Synth"), toggle("PCM"), none, none}},
        {"Master without a volume", {{"Master", false, true}, {"PCM", true, false}},
         {none, volume("PCM"), none, none, none, none}},
        {"Master without a switch", {{"Master", true, false}, volumeAndSwitch("PCM")},
         {none, volume("Master"), none, none, none, none}},
        {"tone switches only", {{"Bass", false, true}, {"Treble", false, true}, {"Synth", true, false}},
         {volume("Synth"), none, none, none, none, none}},
        {"nothing known", {volumeAndSwitch("Headphone"), volumeAndSwitch("master")},
         {none, none, none, none, none, none}},
        {"no elements", {}, {none, none, none, none, none, none}},
    };
    for (const Case& c : cases) {
        const AlsaControlPlaces places = placeAlsaControls(c.elements);
        for (int control = 0; control < MixerControlCount; ++control) {
            EXPECT_EQ(places[control], c.places[control]) << c.card << ", control " << control;
        }
    }
}

TEST(AlsaElementMapTest, ChannelsBeyondTwoAreDrivenAsLeftAndRight)
{
    const TMixerStereoValue value{100, 300};
    struct Case {
        int channel;
        quint32 takes;
    };
    for (const Case& c : {Case{SND_MIXER_SCHN_FRONT_LEFT, 100}, Case{SND_MIXER_SCHN_FRONT_RIGHT, 300},
                          Case{SND_MIXER_SCHN_REAR_LEFT, 100}, Case{SND_MIXER_SCHN_REAR_RIGHT, 300},
                          Case{SND_MIXER_SCHN_SIDE_LEFT, 100}, Case{SND_MIXER_SCHN_SIDE_RIGHT, 300},
                          Case{SND_MIXER_SCHN_FRONT_CENTER, 300}, Case{SND_MIXER_SCHN_WOOFER, 300},
                          Case{SND_MIXER_SCHN_REAR_CENTER, 300}}) {
        EXPECT_EQ(alsaChannelValue(c.channel, value), c.takes) << "channel " << c.channel;
    }
    EXPECT_EQ(alsaChannelValue(SND_MIXER_SCHN_FRONT_CENTER, {500, 20}), 500u) << "the louder of the two";
}

} // namespace

} // namespace harmonet::test
