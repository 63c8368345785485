#pragma once

#include "singing/PitchTracker.h"
#include "singing/TargetNotes.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace harmonet {

// What became of one note: sung in tune and on time, too low or too high,
// begun too late or too early, or not sung at all.
enum class NoteVerdict { Good, Flat, Sharp, Late, Early, Missed };

// "good", "flat", "sharp", "late", "early", "missed".
QString verdictName(NoteVerdict verdict);

struct NoteResult {
    TargetNote note;
    // The median of the deviation over the note's voiced frames, octave
    // folded away; none when the note was not sung.
    std::optional<double> cents;
    // Whole octaves between the sung pitch and the note (-1: an octave down).
    int octaves = 0;
    // When the sung note began, from the note's start (positive: late);
    // none when no beginning could be told (not sung, or tied on from an
    // equal note before it).
    std::optional<double> onsetMs;
    NoteVerdict verdict = NoteVerdict::Missed;
};

struct ScoringRules {
    // A note further off than this is flat or sharp.
    double toleranceCents = 50.0;
    // A note begun further off than this is late or early.
    double onsetToleranceMs = 100.0;
};

// Scores the notes of my part that start within [fromMs, toMs) of playing
// time against the pitch frames of the take (sorted by time, on the same
// timeline as the notes).
std::vector<NoteResult> scoreNotes(std::span<const TargetNote> notes, std::span<const PitchFrame> frames,
                                   double fromMs, double toMs, const ScoringRules& rules = {});

// A bar and how badly it went: the mean over its notes of the cents off
// (a missed note counts as MissedBadness, a late or early one adds
// MistimedBadness).
struct BarScore {
    static constexpr double MissedBadness = 100.0;
    static constexpr double MistimedBadness = 50.0;
    qint64 bar = 1;
    double badness = 0.0;
};

struct TakeSummary {
    int notes = 0;
    int sung = 0;
    int missed = 0;
    // Sung notes within the tolerance in cents.
    int withinTolerance = 0;
    // Over the sung notes; 0 when none was sung.
    double meanAbsCents = 0.0;
    // Notes begun later than the onset tolerance.
    int late = 0;
    // The worst bars first, at most WorstBarCount, only bars with something wrong.
    std::vector<BarScore> worstBars;
    static constexpr int WorstBarCount = 3;
};

TakeSummary summarize(std::span<const NoteResult> results, const ScoringRules& rules = {});

} // namespace harmonet
