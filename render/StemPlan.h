#pragma once

#include "practice/PracticeChoice.h"
#include "practice/VoiceKey.h"

#include <bitset>
#include <vector>

namespace harmonet {

class Song;
class TMidiFile;

// Part of a song rendered alone: the channels whose messages it plays. The
// stems of a song together play every channel once, so their sum is the
// render of the whole song.
struct Stem {
    // Bit c - 1 for channel c.
    std::bitset<16> channels;
    // The voices it holds; none: the accompaniment and every channel of no
    // voice, or a group of channels of a split render.
    std::vector<VoiceKey> voices;
    // A voice that shares its channel is rendered as my part, at its own
    // level, so that it sings alone on the channel the song leaves free
    // (see TVoiceRouting); none: the channels as the song plays them.
    VoiceKey routedPart;
    // The work of rendering it: its notes' lengths in ticks, and a quarter
    // for each note's start and release.
    qint64 work = 0;

    bool operator==(const Stem&) const = default;
};

// One stem for each voice a practice file can emphasise (the song's voices
// that are not the accompaniment; voices that share a channel with no free
// channel to sing on alone share one stem), and one more for every other
// channel that plays notes (none when there is no such channel).
std::vector<Stem> voiceStems(const Song& song);

// The song's channels that play notes in at most count stems of about equal
// work (the busiest first, each to the stem with the least so far), for a
// render split over that many cores. No stem is empty; a song without notes
// has one stem of all channels.
std::vector<Stem> balancedStems(const TMidiFile& song, int count);

// How a stem goes into a practice file: its level as a gain, and in a panned
// mix the side its mid signal is placed on.
struct StemPlacement {
    float gain = 1.0f;
    bool placed = false;
    PanSide side = PanSide::Left;

    bool operator==(const StemPlacement&) const = default;
};

// As the emphasis of choice sets the stem's voices while listening: my part
// as it is, the other voices the choice's level below theirs (silent at its
// lowest), the rest as it is. Panned, my part goes to its side and the other
// voices to the other; the rest keeps its own place. With no part chosen
// every stem is as it is.
// Without my part (minus-one), my part's stem is silent and every other
// stem as it is.
StemPlacement stemPlacement(const Stem& stem, const PracticeChoice& choice);

// The count-in's and metronome's clicks on channel rendered too: in the stem
// that renders that channel already, else in one of their own.
void addClickStem(std::vector<Stem>& stems, int channel);

} // namespace harmonet
