#pragma once

#include "sequencer/SongTime.h"
#include "sequencer/TimeSignature.h"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <span>
#include <vector>

namespace harmonet {

class TMidiFile;

// A place counted in bars as a score prints them: the bar's number and the
// beat within it from 1 (2.5 is halfway through the second beat).
struct TBarPosition {
    qint64 Bar = 1;
    double Beat = 1.0;
    bool operator==(const TBarPosition&) const = default;
};

// The text of a place as the read-out shows it: bar and whole beat, "23.3".
QString barBeatText(const TBarPosition& position);

struct TMetre {
    int Numerator = 4;
    int Denominator = 4;
    bool operator==(const TMetre&) const = default;
};

// Where the length of the upbeat before the first full bar comes from.
enum class TPickupSource {
    None,
    // A metre change that falls inside a bar counted from the start: the
    // file starts with an upbeat its notes were not shifted for.
    File,
    // Set by the singer, in beats of the first metre.
    Hand,
};

// The bars of a song: from its time signatures (4/4 before the first) and its
// division, with the milliseconds of its own time. Bar 1 is the first full
// bar; an upbeat is bar 0. Every metre change starts a bar; a bar that a
// change cuts short keeps its number. Time signatures that make no metre (a
// numerator of 0, a note value shorter than a 128th, a bar shorter than a
// tick) are passed over. Built in time proportional to the number of time
// signatures, never to the number of bars.
class TBarMap {
public:
    TBarMap() = default;
    // endTicks: where the song ends (its last event). pickupBeats: the upbeat
    // set by hand, used when the file reveals none and when it is shorter than
    // the first bar.
    TBarMap(std::span<const TTimeSignature> signatures, int ticksPerQuarter, qint64 endTicks, TSongTime time,
            std::optional<double> pickupBeats = std::nullopt);
    // The bars of a loaded song, its milliseconds following its tempo changes
    // or at its one tempo.
    static TBarMap ofSong(const TMidiFile& song, bool followTempoChanges,
                          std::optional<double> pickupBeats = std::nullopt);

    // No division: no tick has a length and there are no bars.
    bool IsEmpty() const { return m_runs.empty(); }
    // 0 with an upbeat, else 1.
    qint64 FirstBar() const { return m_firstBar; }
    // The bar the song ends in (a song ending on a bar line ends in the bar before).
    qint64 LastBar() const { return m_lastBar; }
    qint64 BarCount() const { return IsEmpty() ? 0 : m_lastBar - m_firstBar + 1; }
    // The upbeat in beats of the first metre; 0 without one.
    double PickupBeats() const { return m_pickupBeats; }
    TPickupSource PickupSource() const { return m_pickupSource; }
    double EndTicks() const { return m_endTicks; }

    // The bar and beat at a tick position; before the song its start, and on
    // past its end in the last metre. {1, 1} without bars.
    TBarPosition BarAtTicks(double ticks) const;
    TBarPosition BarAtMs(double ms) const;
    // Where a bar starts; bars before the first start where it does, bars
    // after the last at the end of the song.
    double TicksOfBar(qint64 bar) const;
    double MsOfBar(qint64 bar) const;
    // The metre of a bar (of the nearest bar outside the song).
    TMetre MetreOfBar(qint64 bar) const;
    // How long the bar lasts in beats of its metre (less in a cut-short bar or an upbeat).
    double BeatsOfBar(qint64 bar) const;
    // The length of a beat in ticks at a tick position; 0 without bars.
    double BeatTicksAt(double ticks) const;

private:
    // Bars of one length and metre, one after another.
    struct Run {
        double startTicks;
        double barTicks;
        double beatTicks;
        qint64 firstBar;
        // The last run goes on without end.
        qint64 barCount;
        // Beats of its metre before the run's first bar begins (an upbeat's
        // first beat is not the bar's first).
        double beatsBefore;
        TMetre metre;
    };

    void layOut(const std::vector<TTimeSignature>& metres, double pickupTicks);
    void addRun(double startTicks, double barTicks, qint64 barCount, const TTimeSignature& metre,
                double beatsBefore = 0.0);
    const Run& runAtTicks(double ticks) const;
    const Run& runOfBar(qint64 bar) const;
    // Start of a bar by the runs, without limiting it to the song.
    double gridTicksOfBar(qint64 bar) const;

    int m_ticksPerQuarter = 0;
    std::vector<Run> m_runs;
    TSongTime m_time;
    double m_endTicks = 0.0;
    qint64 m_firstBar = 1;
    qint64 m_lastBar = 0;
    double m_pickupBeats = 0.0;
    TPickupSource m_pickupSource = TPickupSource::None;
};

} // namespace harmonet
