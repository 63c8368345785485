#include "sequencer/BarMap.h"

#include "sequencer/MidiFile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace harmonet {

namespace {

// The shortest note value a metre may count in: a 128th.
constexpr int shortestDenominatorPower = 7;
// Tick positions are taken within this range: every bar number stays far
// inside 64 bits however short the bars.
constexpr double latestTicks = 1.0e12;
// Ticks apart that count as one place (lengths built from hand-set beats are
// not exact).
constexpr double sameTicks = 1.0e-6;
// The bar count of the last run, which goes on without end.
constexpr qint64 endlessBars = std::numeric_limits<qint64>::max() / 4;

double beatTicksOf(const TTimeSignature& metre, int ticksPerQuarter)
{
    return 4.0 * ticksPerQuarter / double(1 << metre.DenominatorPower);
}

double barTicksOf(const TTimeSignature& metre, int ticksPerQuarter)
{
    return metre.Numerator * beatTicksOf(metre, ticksPerQuarter);
}

bool makesMetre(const TTimeSignature& signature, int ticksPerQuarter)
{
    return signature.Numerator > 0 && signature.DenominatorPower <= shortestDenominatorPower
           && barTicksOf(signature, ticksPerQuarter) >= 1.0;
}

bool sameMetre(const TTimeSignature& a, const TTimeSignature& b)
{
    return a.Numerator == b.Numerator && a.DenominatorPower == b.DenominatorPower;
}

// The changes of metre: the time signatures that make one, by tick; of two at
// one tick the one read later; 4/4 from the start when the first comes later.
std::vector<TTimeSignature> metresOf(std::span<const TTimeSignature> signatures, int ticksPerQuarter)
{
    std::vector<TTimeSignature> metres;
    for (const TTimeSignature& signature : signatures) {
        if (makesMetre(signature, ticksPerQuarter)) {
            metres.push_back(signature);
            metres.back().Ticks = std::max(0, signature.Ticks);
        }
    }
    std::stable_sort(metres.begin(), metres.end(),
                     [](const TTimeSignature& a, const TTimeSignature& b) { return a.Ticks < b.Ticks; });
    std::vector<TTimeSignature> unique;
    for (const TTimeSignature& metre : metres) {
        if (!unique.empty() && unique.back().Ticks == metre.Ticks) {
            unique.back() = metre;
        } else {
            unique.push_back(metre);
        }
    }
    if (unique.empty() || unique.front().Ticks > 0) {
        unique.insert(unique.begin(), TTimeSignature{0, 4, 2});
    }
    // The metre in force written again (each staff of a score may carry it)
    // changes nothing, wherever it falls.
    std::vector<TTimeSignature> changes;
    for (const TTimeSignature& metre : unique) {
        if (changes.empty() || !sameMetre(changes.back(), metre)) {
            changes.push_back(metre);
        }
    }
    return changes;
}

double ticksInRange(double ticks)
{
    return std::isnan(ticks) ? 0.0 : std::clamp(ticks, 0.0, latestTicks);
}

} // namespace

QString barBeatText(const TBarPosition& position)
{
    return QStringLiteral("%1.%2").arg(position.Bar).arg(qint64(std::floor(position.Beat)));
}

TBarMap::TBarMap(std::span<const TTimeSignature> signatures, int ticksPerQuarter, qint64 endTicks, TSongTime time,
                 std::optional<double> pickupBeats)
    : m_ticksPerQuarter(ticksPerQuarter), m_time(std::move(time)), m_endTicks(ticksInRange(double(endTicks)))
{
    if (ticksPerQuarter <= 0) {
        return;
    }
    const std::vector<TTimeSignature> metres = metresOf(signatures, ticksPerQuarter);
    const TTimeSignature& first = metres.front();
    const double firstBarTicks = barTicksOf(first, ticksPerQuarter);
    const double firstBeatTicks = beatTicksOf(first, ticksPerQuarter);
    // A change that does not fall on a bar line counted from the start shows
    // where the first full bar begins.
    double pickupTicks = metres.size() > 1 ? std::fmod(double(metres[1].Ticks), firstBarTicks) : 0.0;
    if (pickupTicks > sameTicks && pickupTicks < firstBarTicks - sameTicks) {
        m_pickupSource = TPickupSource::File;
    } else {
        pickupTicks = pickupBeats && std::isfinite(*pickupBeats) ? *pickupBeats * firstBeatTicks : 0.0;
        const bool set = pickupTicks > sameTicks && pickupTicks < firstBarTicks - sameTicks;
        m_pickupSource = set ? TPickupSource::Hand : TPickupSource::None;
        pickupTicks = set ? pickupTicks : 0.0;
    }
    m_pickupBeats = pickupTicks / firstBeatTicks;
    m_firstBar = pickupTicks > 0.0 ? 0 : 1;
    layOut(metres, pickupTicks);

    const double end = m_endTicks;
    m_lastBar = BarAtTicks(end).Bar;
    // A song that ends on a bar line ends in the bar before it.
    if (end > 0.0 && m_lastBar > m_firstBar && gridTicksOfBar(m_lastBar) >= end - sameTicks) {
        --m_lastBar;
    }
}

TBarMap TBarMap::ofSong(const TMidiFile& song, bool followTempoChanges, std::optional<double> pickupBeats)
{
    qint64 endTicks = 0;
    for (int index = 0; index < song.NumberOfTracks(); ++index) {
        endTicks = std::max<qint64>(endTicks, song.TrackAt(index)->LastEventTicks());
    }
    return TBarMap(song.TimeSignatures(), song.TicksPerQuarter(), endTicks,
                   TSongTime::ofSong(song, followTempoChanges), pickupBeats);
}

void TBarMap::layOut(const std::vector<TTimeSignature>& metres, double pickupTicks)
{
    const TTimeSignature& first = metres.front();
    if (pickupTicks > 0.0) {
        const double beatTicks = beatTicksOf(first, m_ticksPerQuarter);
        addRun(0.0, pickupTicks, 1, first, first.Numerator - pickupTicks / beatTicks);
    }
    double start = pickupTicks;
    for (size_t index = 0; index < metres.size(); ++index) {
        const TTimeSignature& metre = metres[index];
        const double barTicks = barTicksOf(metre, m_ticksPerQuarter);
        if (index + 1 == metres.size()) {
            addRun(start, barTicks, endlessBars, metre);
            return;
        }
        const double end = metres[index + 1].Ticks;
        if (end > start) {
            qint64 fullBars = qint64(std::floor((end - start) / barTicks));
            double rest = end - start - double(fullBars) * barTicks;
            if (rest > barTicks - sameTicks) {
                ++fullBars;
                rest = 0.0;
            }
            if (fullBars > 0) {
                addRun(start, barTicks, fullBars, metre);
            }
            // The change cuts the bar it falls in short.
            if (rest > sameTicks) {
                addRun(start + double(fullBars) * barTicks, rest, 1, metre);
            }
            start = end;
        }
    }
}

void TBarMap::addRun(double startTicks, double barTicks, qint64 barCount, const TTimeSignature& metre,
                     double beatsBefore)
{
    const qint64 firstBar = m_runs.empty() ? m_firstBar : m_runs.back().firstBar + m_runs.back().barCount;
    m_runs.push_back({startTicks, barTicks, beatTicksOf(metre, m_ticksPerQuarter), firstBar, barCount, beatsBefore,
                      TMetre{metre.Numerator, 1 << metre.DenominatorPower}});
}

const TBarMap::Run& TBarMap::runAtTicks(double ticks) const
{
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), ticks,
                                        [](double t, const Run& run) { return t < run.startTicks; });
    return after == m_runs.begin() ? m_runs.front() : *(after - 1);
}

const TBarMap::Run& TBarMap::runOfBar(qint64 bar) const
{
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), bar,
                                        [](qint64 b, const Run& run) { return b < run.firstBar; });
    return after == m_runs.begin() ? m_runs.front() : *(after - 1);
}

double TBarMap::gridTicksOfBar(qint64 bar) const
{
    const Run& run = runOfBar(bar);
    const qint64 within = std::clamp<qint64>(bar - run.firstBar, 0, run.barCount);
    return run.startTicks + double(within) * run.barTicks;
}

TBarPosition TBarMap::BarAtTicks(double ticks) const
{
    if (IsEmpty()) {
        return {};
    }
    const double t = ticksInRange(ticks);
    const Run& run = runAtTicks(t);
    // A place a rounding away from a bar line is on it.
    const double bars = (t - run.startTicks) / run.barTicks + sameTicks / run.barTicks;
    const qint64 within = std::clamp<qint64>(qint64(std::floor(bars)), 0, run.barCount - 1);
    const double intoBar = std::max(0.0, t - run.startTicks - double(within) * run.barTicks);
    return {run.firstBar + within, 1.0 + run.beatsBefore + intoBar / run.beatTicks};
}

TBarPosition TBarMap::BarAtMs(double ms) const
{
    return BarAtTicks(m_time.TicksAt(std::isfinite(ms) ? ms : 0.0));
}

double TBarMap::TicksOfBar(qint64 bar) const
{
    if (IsEmpty() || bar <= m_firstBar) {
        return 0.0;
    }
    return bar > m_lastBar ? m_endTicks : gridTicksOfBar(bar);
}

double TBarMap::MsOfBar(qint64 bar) const
{
    return m_time.MsAt(TicksOfBar(bar));
}

TMetre TBarMap::MetreOfBar(qint64 bar) const
{
    return IsEmpty() ? TMetre{} : runOfBar(std::clamp(bar, m_firstBar, m_lastBar)).metre;
}

double TBarMap::BeatsOfBar(qint64 bar) const
{
    if (IsEmpty()) {
        return 0.0;
    }
    const qint64 inSong = std::clamp(bar, m_firstBar, m_lastBar);
    return (TicksOfBar(inSong + 1) - TicksOfBar(inSong)) / runOfBar(inSong).beatTicks;
}

double TBarMap::BeatTicksAt(double ticks) const
{
    return IsEmpty() ? 0.0 : runAtTicks(ticksInRange(ticks)).beatTicks;
}

} // namespace harmonet
