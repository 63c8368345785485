#include "practice/Clicks.h"

#include "sequencer/BarMap.h"
#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"

#include <QStringList>

#include <algorithm>
#include <bitset>
#include <cmath>

namespace harmonet {

namespace {

// Places closer than this (in beats or ticks) are one.
constexpr double sameBeat = 1.0e-6;
// The clicks between the accents are struck this much softer.
constexpr double beatShare = 0.8;

} // namespace

ClickSettings boundedClicks(ClickSettings settings)
{
    settings.countInBars = std::clamp(settings.countInBars, 0, ClickSettings::MostCountInBars);
    settings.level = std::clamp(settings.level, 1, ClickSettings::LoudestLevel);
    return settings;
}

QString clicksText(const ClickSettings& settings)
{
    return QStringLiteral("%1;%2;%3;%4;%5")
        .arg(settings.countInBars)
        .arg(settings.metronome ? 1 : 0)
        .arg(settings.level)
        .arg(settings.onSystemPorts ? 1 : 0)
        .arg(settings.beforeEachPass ? 1 : 0);
}

std::optional<ClickSettings> clicksFromText(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char(';'));
    if (fields.size() != 4 && fields.size() != 5) {
        return std::nullopt;
    }
    const auto flag = [](const QString& field) -> std::optional<bool> {
        if (field == QLatin1String("0") || field == QLatin1String("1")) {
            return field == QLatin1String("1");
        }
        return std::nullopt;
    };
    bool barsOk = false;
    bool levelOk = false;
    ClickSettings settings;
    settings.countInBars = fields[0].toInt(&barsOk);
    settings.level = fields[2].toInt(&levelOk);
    const std::optional<bool> metronome = flag(fields[1]);
    const std::optional<bool> ports = flag(fields[3]);
    const std::optional<bool> eachPass = fields.size() == 5 ? flag(fields[4]) : std::optional<bool>(false);
    if (!barsOk || !levelOk || !metronome || !ports || !eachPass || settings != boundedClicks(settings)) {
        return std::nullopt;
    }
    settings.metronome = *metronome;
    settings.onSystemPorts = *ports;
    settings.beforeEachPass = *eachPass;
    return settings;
}

int clickVelocity(const ClickSettings& settings, bool accent)
{
    const int level = boundedClicks(settings).level;
    return accent ? level : std::max(1, int(std::lround(level * beatShare)));
}

int clickChannelOf(const TMidiFile& song)
{
    std::bitset<16> used;
    for (int index = 0; index < song.NumberOfTracks(); ++index) {
        for (const TMidiEvent& event : song.TrackAt(index)->Events()) {
            if (event.Status >= 0x80 && event.Status < 0xF0) {
                used.set(event.Status & 0x0F);
            }
        }
    }
    if (!used.test(midi::PercussionChannel - 1)) {
        return midi::PercussionChannel;
    }
    for (int channel = 16; channel >= 1; --channel) {
        if (!used.test(std::size_t(channel - 1))) {
            return channel;
        }
    }
    return 0;
}

std::vector<BeatClick> beatsOfSong(const TBarMap& bars)
{
    std::vector<BeatClick> beats;
    if (bars.IsEmpty()) {
        return beats;
    }
    for (qint64 bar = bars.FirstBar(); bar <= bars.LastBar(); ++bar) {
        const double start = bars.TicksOfBar(bar);
        const double end = bar == bars.LastBar() ? bars.EndTicks() : bars.TicksOfBar(bar + 1);
        const double beatTicks = bars.BeatTicksAt(start);
        if (beatTicks <= 0.0) {
            continue;
        }
        const double firstBeat = bars.BarAtTicks(start).Beat;
        for (double beat = std::ceil(firstBeat - sameBeat);; beat += 1.0) {
            const double ticks = start + (beat - firstBeat) * beatTicks;
            if (ticks >= end - sameBeat) {
                break;
            }
            beats.push_back({ticks, std::abs(beat - 1.0) < sameBeat});
        }
    }
    return beats;
}

CountIn countInBefore(const TBarMap& bars, double startTicks, double msPerBeat, int countInBars)
{
    CountIn countIn;
    countInBars = std::clamp(countInBars, 0, ClickSettings::MostCountInBars);
    if (countInBars == 0 || !std::isfinite(msPerBeat) || msPerBeat <= 0.0) {
        return countIn;
    }
    const TBarPosition place = bars.BarAtTicks(startTicks);
    const int beatsPerBar = bars.MetreOfBar(place.Bar).Numerator;
    const double intoBar = std::max(0.0, place.Beat - 1.0);
    double beats = intoBar < sameBeat ? double(countInBars * beatsPerBar) : (countInBars - 1) * beatsPerBar + intoBar;
    if (beats < 1.0 - sameBeat) {
        beats += beatsPerBar;
    }
    // The count starts on a bar line: whole beats from there, the bar's first accented.
    for (int beat = 0; beat < beats - sameBeat; ++beat) {
        countIn.clicks.push_back({beat * msPerBeat, beat % beatsPerBar == 0});
    }
    countIn.lengthMs = beats * msPerBeat;
    return countIn;
}

CountIn countInAt(const TMidiFile& played, const TBarMap& bars, int ms, int countInBars)
{
    const double ticks = double(played.TicksAtMs(ms));
    // The tempo in force at the place, as long as a beat lasts there.
    const double msPerBeat = (played.MsAtTicks(ticks + 1.0) - played.MsAtTicks(ticks)) * bars.BeatTicksAt(ticks);
    return countInBefore(bars, ticks, msPerBeat, countInBars);
}

} // namespace harmonet
