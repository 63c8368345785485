#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace harmonet {

class TBarMap;
class TMidiFile;

// What the singer hears besides the song: bars of clicks counted in before
// playing starts, and a metronome through the song.
struct ClickSettings {
    static constexpr int MostCountInBars = 2;
    static constexpr int LoudestLevel = 127;

    // Bars counted in before playing starts: 0, 1 or 2.
    int countInBars = 0;
    bool metronome = false;
    // How hard the accented click is struck (1..127); the others a little softer.
    int level = 100;
    // Whether the clicks also go to a system port (the built-in synthesizer always has them).
    bool onSystemPorts = false;
    // Whether a loop's every pass is counted in, not only the first.
    bool beforeEachPass = false;

    bool operator==(const ClickSettings&) const = default;
};

// Keeps the settings within their ranges.
ClickSettings boundedClicks(ClickSettings settings);
// The text form they are remembered in, "countIn;metronome;level;ports;eachPass",
// for example "1;0;100;0;0", and back (nothing when the text is not one; the
// form without eachPass, written before it was there, is still read).
QString clicksText(const ClickSettings& settings);
std::optional<ClickSettings> clicksFromText(const QString& text);

// General MIDI percussion: the high wood block on the first beat of a bar,
// the low one on the others.
inline constexpr int AccentClickKey = 76;
inline constexpr int BeatClickKey = 77;
// The velocity of a click at the level.
int clickVelocity(const ClickSettings& settings, bool accent);

// The channel (1..16) the clicks play on: the percussion channel 10 unless
// the song plays there, else the last channel the song sends nothing on (the
// first free one is left to a voice of my part that needs a channel of its
// own); 0 when it uses all sixteen.
int clickChannelOf(const TMidiFile& song);

// One click of the metronome, at a tick of the song.
struct BeatClick {
    double ticks = 0.0;
    bool accent = false;
};
// Every beat of the song's bars, from its start to its end: the accent on
// each bar's first beat (an upbeat has none).
std::vector<BeatClick> beatsOfSong(const TBarMap& bars);

// The clicks counted in before a place: whole bars in the metre of the place,
// ending where it is. A place inside its bar (an upbeat) is counted into the
// rest of its own bar, and into bars - 1 full ones before it (never less than
// a beat).
struct CountInClick {
    double ms = 0.0;
    bool accent = false;
};
struct CountIn {
    // From the first click to the place.
    double lengthMs = 0.0;
    std::vector<CountInClick> clicks;
};
CountIn countInBefore(const TBarMap& bars, double startTicks, double msPerBeat, int countInBars);
// The count-in before ms of the song's playing time, at the metre there and
// the tempo it plays at there (the playing tempo, through its tempo map when followed).
CountIn countInAt(const TMidiFile& played, const TBarMap& bars, int ms, int countInBars);

} // namespace harmonet
