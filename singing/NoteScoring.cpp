#include "singing/NoteScoring.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace harmonet {

namespace {

// The pitch needs this long to settle after a note begins, and the voice may
// let go this long before it ends: frames there are not weighed.
constexpr double SettleMs = 30.0;
constexpr double ReleaseMs = 15.0;
// A note is begun at the first of this many frames in a row heard on it.
constexpr int OnsetRunFrames = 4;
// A frame is heard on a note within this many cents of it (a semitone off
// still counts as singing it, flat).
constexpr double OnsetMatchCents = 150.0;
// How early a note may be begun and still count as its own beginning.
constexpr double EarliestOnsetMs = 150.0;
// A note before which the voice had rested longer than this has no rival.
constexpr double LegatoGapMs = 250.0;
// Fewer voiced frames than this share of a note's frames: not sung.
constexpr double SungShare = 0.4;

std::size_t firstFrameAt(std::span<const PitchFrame> frames, double ms)
{
    return std::size_t(std::partition_point(frames.begin(), frames.end(),
                                            [ms](const PitchFrame& frame) { return frame.ms < ms; })
                       - frames.begin());
}

double median(std::vector<double> values)
{
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

bool sameKeyClass(int a, int b)
{
    return (a - b) % 12 == 0;
}

// Whether the frame is heard on the note rather than on its rival (the note
// sung before it, which the voice may still hold).
bool heardOn(const PitchFrame& frame, int key, std::optional<int> rival)
{
    if (!frame.voiced) {
        return false;
    }
    const double off = std::abs(foldedInterval(frame.midi, key).cents);
    if (off > OnsetMatchCents) {
        return false;
    }
    return !rival || off < std::abs(foldedInterval(frame.midi, *rival).cents);
}

std::optional<double> onsetOf(std::span<const TargetNote> notes, std::size_t index,
                              std::span<const PitchFrame> frames)
{
    const TargetNote& note = notes[index];
    const TargetNote* before =
        index > 0 && notes[index - 1].endMs > note.startMs - LegatoGapMs ? &notes[index - 1] : nullptr;
    const double earliest = before ? std::min(EarliestOnsetMs, (note.startMs - before->startMs) / 2.0)
                                   : EarliestOnsetMs;
    std::size_t from = firstFrameAt(frames, note.startMs - earliest);
    std::optional<int> rival;
    if (before && sameKeyClass(before->key, note.key)) {
        // A note sung again begins after the voice stopped between the two.
        const double latestBreak = note.startMs + (note.endMs - note.startMs) / 2.0;
        while (from < frames.size() && frames[from].ms < latestBreak && frames[from].voiced) {
            ++from;
        }
        if (from == frames.size() || frames[from].ms >= latestBreak) {
            return std::nullopt;
        }
    } else if (before) {
        rival = before->key;
    }
    int run = 0;
    for (std::size_t i = from; i < frames.size() && frames[i].ms < note.endMs; ++i) {
        run = heardOn(frames[i], note.key, rival) ? run + 1 : 0;
        if (run == OnsetRunFrames) {
            return frames[i + 1 - OnsetRunFrames].ms - note.startMs;
        }
    }
    return std::nullopt;
}

NoteResult scoreNote(std::span<const TargetNote> notes, std::size_t index, std::span<const PitchFrame> frames,
                     const ScoringRules& rules)
{
    const TargetNote& note = notes[index];
    NoteResult result;
    result.note = note;
    result.onsetMs = onsetOf(notes, index, frames);

    double begin = note.startMs + std::max(0.0, result.onsetMs.value_or(0.0)) + SettleMs;
    double end = note.endMs - ReleaseMs;
    if (end <= begin) {
        begin = note.startMs + std::max(0.0, result.onsetMs.value_or(0.0));
        end = note.endMs;
    }
    std::vector<double> semitones;
    std::size_t heard = 0;
    for (std::size_t i = firstFrameAt(frames, begin); i < frames.size() && frames[i].ms < end; ++i) {
        ++heard;
        if (frames[i].voiced) {
            semitones.push_back(frames[i].midi - note.key);
        }
    }
    if (semitones.empty() || double(semitones.size()) < SungShare * double(heard)) {
        result.onsetMs.reset();
        result.verdict = NoteVerdict::Missed;
        return result;
    }
    result.octaves = foldedInterval(note.key + median(semitones), note.key).octaves;
    for (double& value : semitones) {
        value = (value - 12.0 * result.octaves) * 100.0;
    }
    result.cents = median(std::move(semitones));
    if (std::abs(*result.cents) > rules.toleranceCents) {
        result.verdict = *result.cents < 0 ? NoteVerdict::Flat : NoteVerdict::Sharp;
    } else if (result.onsetMs && std::abs(*result.onsetMs) > rules.onsetToleranceMs) {
        result.verdict = *result.onsetMs > 0 ? NoteVerdict::Late : NoteVerdict::Early;
    } else {
        result.verdict = NoteVerdict::Good;
    }
    return result;
}

double badnessOf(const NoteResult& result, const ScoringRules& rules)
{
    if (!result.cents) {
        return BarScore::MissedBadness;
    }
    const bool mistimed = result.onsetMs && std::abs(*result.onsetMs) > rules.onsetToleranceMs;
    return std::abs(*result.cents) + (mistimed ? BarScore::MistimedBadness : 0.0);
}

} // namespace

QString verdictName(NoteVerdict verdict)
{
    switch (verdict) {
    case NoteVerdict::Good:
        return QStringLiteral("good");
    case NoteVerdict::Flat:
        return QStringLiteral("flat");
    case NoteVerdict::Sharp:
        return QStringLiteral("sharp");
    case NoteVerdict::Late:
        return QStringLiteral("late");
    case NoteVerdict::Early:
        return QStringLiteral("early");
    case NoteVerdict::Missed:
        break;
    }
    return QStringLiteral("missed");
}

std::vector<NoteResult> scoreNotes(std::span<const TargetNote> notes, std::span<const PitchFrame> frames,
                                   double fromMs, double toMs, const ScoringRules& rules)
{
    std::vector<NoteResult> results;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        if (notes[i].startMs >= fromMs && notes[i].startMs < toMs) {
            results.push_back(scoreNote(notes, i, frames, rules));
        }
    }
    return results;
}

TakeSummary summarize(std::span<const NoteResult> results, const ScoringRules& rules)
{
    TakeSummary summary;
    summary.notes = int(results.size());
    double absCents = 0.0;
    struct Bar {
        double badness = 0.0;
        int notes = 0;
        bool wrong = false;
    };
    std::map<qint64, Bar> bars;
    for (const NoteResult& result : results) {
        Bar& bar = bars[result.note.bar];
        bar.badness += badnessOf(result, rules);
        ++bar.notes;
        bar.wrong = bar.wrong || result.verdict != NoteVerdict::Good;
        if (!result.cents) {
            ++summary.missed;
            continue;
        }
        ++summary.sung;
        absCents += std::abs(*result.cents);
        summary.withinTolerance += std::abs(*result.cents) <= rules.toleranceCents ? 1 : 0;
        summary.late += result.onsetMs && *result.onsetMs > rules.onsetToleranceMs ? 1 : 0;
    }
    summary.meanAbsCents = summary.sung > 0 ? absCents / summary.sung : 0.0;
    for (const auto& [number, bar] : bars) {
        if (bar.wrong) {
            summary.worstBars.push_back({number, bar.badness / bar.notes});
        }
    }
    std::stable_sort(summary.worstBars.begin(), summary.worstBars.end(),
                     [](const BarScore& a, const BarScore& b) { return a.badness > b.badness; });
    if (summary.worstBars.size() > std::size_t(TakeSummary::WorstBarCount)) {
        summary.worstBars.resize(TakeSummary::WorstBarCount);
    }
    return summary;
}

} // namespace harmonet
