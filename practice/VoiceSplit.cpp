#include "practice/VoiceSplit.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

namespace harmonet {

namespace {

// Notes starting this close together (in quarters) start together.
constexpr int OnsetToleranceDivisor = 16;
// Notes overlapping by less than this (in quarters) follow each other, as in
// legato playing, rather than sounding at once.
constexpr int OverlapToleranceDivisor = 8;
// A channel holds several voices when at least a tenth of its sounding time
// has that many notes at once, and is an accompaniment when a fifth of it
// has more than three.
constexpr int VoiceTimeShare = 10;
constexpr int AccompanimentTimeShare = 5;
constexpr int MaxVoices = 3;
constexpr int LastKeyboardProgram = 23;

// What an assignment of the notes starting at one moment costs; the
// cheapest wins. Measured on closed scores against the voices their
// sources write.
// A new note in a voice still holding one, and two voices crossing.
constexpr double OverlapCost = 20.0;
constexpr double CrossingCost = 6.0;
// A voice falling silent while another sings on, staying silent, and
// staying silent when every voice was.
constexpr double RestStartCost = 4.0;
constexpr double RestGoOnCost = 0.5;
constexpr double GeneralRestCost = 4.0;
// A note sung by several voices, and by a voice coming in after a rest.
constexpr double UnisonCost = 1.5;
constexpr double EntryUnisonCost = 1.0;
// A voice holding through the key another voice moves to (instead of resting).
constexpr double HoldThroughCost = 3.0;
// Leaps beyond a whole tone, up to a limit: past a sixth one leap is as
// likely as another.
constexpr double LeapCostPerSemitone = 0.2;
constexpr int FreeLeapSemitones = 2;
constexpr double MaxLeapCost = 1.5;
// Notes more than a fifth from the middle of the voice's range.
constexpr double RangeCostPerSemitone = 0.3;
constexpr int RangeFreeSemitones = 7;
// A voice silent where its words have a syllable; a voice starting a note
// where its words, going on around it, have none.
constexpr double MissedSyllableCost = 3.0;
constexpr double UnsungOnsetCost = 2.0;
constexpr int WordsWindowQuarters = 2;

qint32 onsetTolerance(qint32 ticksPerQuarter)
{
    return std::max<qint32>(1, ticksPerQuarter / OnsetToleranceDivisor);
}

qint32 overlapTolerance(qint32 ticksPerQuarter)
{
    return std::max<qint32>(1, ticksPerQuarter / OverlapToleranceDivisor);
}

qint64 endOf(const TVoiceNote& note)
{
    return qint64(note.tick) + std::max<qint32>(1, note.length);
}

// Notes starting together, highest first.
struct Onset {
    qint32 tick = 0;
    std::vector<int> notes;
};

std::vector<Onset> onsetsOf(const std::vector<TVoiceNote>& notes, qint32 ticksPerQuarter)
{
    const qint32 tolerance = onsetTolerance(ticksPerQuarter);
    std::vector<Onset> onsets;
    for (int index = 0; index < int(notes.size()); ++index) {
        if (onsets.empty() || notes[size_t(index)].tick - onsets.back().tick > tolerance) {
            onsets.push_back({notes[size_t(index)].tick, {}});
        }
        onsets.back().notes.push_back(index);
    }
    for (Onset& onset : onsets) {
        std::stable_sort(onset.notes.begin(), onset.notes.end(),
                         [&](int a, int b) { return notes[size_t(a)].key > notes[size_t(b)].key; });
    }
    return onsets;
}

// The voice that takes the rank-th of count notes sounding at once: the
// highest to the top voice, the lowest to the bottom one, those between
// spread over the voices between.
int voiceOfRank(int rank, int count, int voiceCount)
{
    if (count <= 1) {
        return 0;
    }
    return int((qint64(rank) * (voiceCount - 1) * 2 + (count - 1)) / (2 * (count - 1)));
}

// The note of count sounding at once (by rank, highest first) that voice
// takes: the top voice the highest, the bottom voice the lowest.
int rankOfVoice(int voice, int count, int voiceCount)
{
    return int((qint64(voice) * (count - 1) * 2 + (voiceCount - 1)) / (2 * (voiceCount - 1)));
}

bool hasTickNear(const std::vector<qint32>& ticks, qint32 tick, qint32 tolerance)
{
    const auto near = std::lower_bound(ticks.begin(), ticks.end(), tick - tolerance);
    return near != ticks.end() && *near <= tick + tolerance;
}

// What one voice is doing when an onset comes.
struct VoiceState {
    int lastKey = -1;
    qint64 end = 0;
};

class Splitter {
public:
    Splitter(const std::vector<TVoiceNote>& notes, int voiceCount, qint32 ticksPerQuarter,
             const std::vector<std::vector<qint32>>& syllableTicks)
        : m_notes(notes)
        , m_voiceCount(voiceCount)
        , m_onsetTolerance(onsetTolerance(ticksPerQuarter))
        , m_overlapTolerance(overlapTolerance(ticksPerQuarter))
        , m_wordsWindow(ticksPerQuarter * WordsWindowQuarters)
        , m_phraseGap(ticksPerQuarter)
        , m_syllables(syllableTicks)
        , m_onsets(onsetsOf(notes, ticksPerQuarter))
        , m_states(size_t(voiceCount))
        , m_voices(size_t(voiceCount))
    {
        m_syllables.resize(size_t(voiceCount));
        m_centres = centresOfVoices();
        m_nextFull = nextFullOnsets();
    }

    std::vector<std::vector<int>> run()
    {
        for (size_t index = 0; index < m_onsets.size(); ++index) {
            const Onset& onset = m_onsets[index];
            if (int(onset.notes.size()) >= m_voiceCount) {
                assign(onset, byRank(onset));
            } else {
                assign(onset, cheapest(onset, nextKeys(index)));
            }
        }
        return m_voices;
    }

private:
    // For each voice the note of the onset it takes, or -1.
    using Assignment = std::array<int, MaxVoices>;

    Assignment byRank(const Onset& onset) const
    {
        Assignment chosen;
        chosen.fill(-1);
        for (int voice = 0; voice < m_voiceCount; ++voice) {
            chosen[size_t(voice)] = rankOfVoice(voice, int(onset.notes.size()), m_voiceCount);
        }
        return chosen;
    }

    // The middle of each voice's range: the median key it takes where every
    // voice starts a note at once.
    std::array<int, MaxVoices> centresOfVoices() const
    {
        std::array<std::vector<int>, MaxVoices> keys;
        for (const Onset& onset : m_onsets) {
            const int count = int(onset.notes.size());
            for (int voice = 0; voice < m_voiceCount && count >= m_voiceCount; ++voice) {
                keys[size_t(voice)].push_back(m_notes[size_t(onset.notes[size_t(rankOfVoice(voice, count, m_voiceCount))])].key);
            }
        }
        std::array<int, MaxVoices> centres;
        centres.fill(-1);
        for (int voice = 0; voice < m_voiceCount; ++voice) {
            std::vector<int>& voiceKeys = keys[size_t(voice)];
            if (!voiceKeys.empty()) {
                std::nth_element(voiceKeys.begin(), voiceKeys.begin() + qsizetype(voiceKeys.size() / 2), voiceKeys.end());
                centres[size_t(voice)] = voiceKeys[voiceKeys.size() / 2];
            }
        }
        return centres;
    }

    // For each onset the next one where every voice starts a note, or -1.
    std::vector<qsizetype> nextFullOnsets() const
    {
        std::vector<qsizetype> next(m_onsets.size(), -1);
        for (qsizetype index = qsizetype(m_onsets.size()) - 2; index >= 0; --index) {
            const bool full = int(m_onsets[size_t(index + 1)].notes.size()) >= m_voiceCount;
            next[size_t(index)] = full ? index + 1 : next[size_t(index + 1)];
        }
        return next;
    }

    // The keys the voices take at the next onset where every voice starts a
    // note, or -1 when none follows.
    std::array<int, MaxVoices> nextKeys(size_t index) const
    {
        std::array<int, MaxVoices> keys;
        keys.fill(-1);
        const qsizetype next = m_nextFull[index];
        if (next < 0) {
            return keys;
        }
        const Onset& onset = m_onsets[size_t(next)];
        for (int voice = 0; voice < m_voiceCount; ++voice) {
            const int rank = rankOfVoice(voice, int(onset.notes.size()), m_voiceCount);
            keys[size_t(voice)] = m_notes[size_t(onset.notes[size_t(rank)])].key;
        }
        return keys;
    }

    bool holds(int voice, qint32 tick) const
    {
        return m_states[size_t(voice)].end > qint64(tick) + m_overlapTolerance;
    }

    // Whether the voice has been silent while another sang on: it rests.
    // After a rest of all voices none is resting more than the others.
    bool resting(int voice, qint32 tick) const
    {
        const VoiceState& state = m_states[size_t(voice)];
        if (state.end >= qint64(tick) - m_onsetTolerance) {
            return false;
        }
        return std::any_of(m_states.begin(), m_states.end(),
                           [&](const VoiceState& other) { return other.end > state.end + m_onsetTolerance; });
    }

    // Whether every voice is silent: the next onset starts a phrase.
    bool allSilent(qint32 tick) const
    {
        return std::all_of(m_states.begin(), m_states.end(),
                           [&](const VoiceState& state) { return state.end < qint64(tick) - m_onsetTolerance; });
    }

    // Whether the voice's last note, ending now, has the key of the note
    // starting now: LilyPond ends a held note where another voice of the
    // staff strikes the same key, and the voice holds on.
    bool holdsThrough(int voice, qint32 tick, int key) const
    {
        const VoiceState& state = m_states[size_t(voice)];
        return state.lastKey == key && std::abs(state.end - tick) <= m_onsetTolerance;
    }

    // The note of the onset whose key the voice, left out, holds through
    // while another voice moves to it; -1 when there is none.
    int heldThrough(const Onset& onset, const Assignment& chosen, int voice) const
    {
        if (chosen[size_t(voice)] >= 0 || holds(voice, onset.tick)) {
            return -1;
        }
        for (int mover = 0; mover < m_voiceCount; ++mover) {
            const int note = chosen[size_t(mover)];
            if (note < 0) {
                continue;
            }
            const int key = m_notes[size_t(onset.notes[size_t(note)])].key;
            if (holdsThrough(voice, onset.tick, key) && m_states[size_t(mover)].lastKey != key) {
                return onset.notes[size_t(note)];
            }
        }
        return -1;
    }

    static double leapCost(int from, int to)
    {
        if (from < 0) {
            return 0.0;
        }
        return std::min(MaxLeapCost, LeapCostPerSemitone * std::max(0, std::abs(from - to) - FreeLeapSemitones));
    }

    double cost(const Onset& onset, const Assignment& chosen, const std::array<int, MaxVoices>& next) const
    {
        double total = 0.0;
        std::array<int, MaxVoices> sounding;
        sounding.fill(-1);
        std::array<int, MaxVoices> voicesOfNote{};
        for (int voice = 0; voice < m_voiceCount; ++voice) {
            const bool holding = holds(voice, onset.tick);
            const bool sung = hasTickNear(m_syllables[size_t(voice)], onset.tick, m_onsetTolerance);
            const int note = chosen[size_t(voice)];
            if (note < 0) {
                if (holding) {
                    sounding[size_t(voice)] = m_states[size_t(voice)].lastKey;
                } else {
                    total += resting(voice, onset.tick) ? RestGoOnCost
                             : allSilent(onset.tick)    ? GeneralRestCost
                                                        : RestStartCost;
                    total += sung ? MissedSyllableCost : 0.0;
                }
                continue;
            }
            const int key = m_notes[size_t(onset.notes[size_t(note)])].key;
            sounding[size_t(voice)] = key;
            ++voicesOfNote[size_t(note)];
            total += holding ? OverlapCost : 0.0;
            // A voice seldom sings far from the middle of its range.
            const int centre = m_centres[size_t(voice)];
            total += centre < 0 ? 0.0 : RangeCostPerSemitone * std::max(0, std::abs(key - centre) - RangeFreeSemitones);
            // Voices moving on in unison make one leap; after a rest of a
            // quarter or more a voice starts a new phrase wherever it likes.
            const bool phraseGoesOn = m_states[size_t(voice)].end > qint64(onset.tick) - m_phraseGap;
            bool inUnison = false;
            for (int other = 0; other < voice; ++other) {
                inUnison = inUnison
                    || (chosen[size_t(other)] == note
                        && m_states[size_t(other)].lastKey == m_states[size_t(voice)].lastKey);
            }
            if (!inUnison) {
                total += phraseGoesOn ? leapCost(m_states[size_t(voice)].lastKey, key) : 0.0;
                total += leapCost(next[size_t(voice)], key);
            }
            // Words that go on around a note without a syllable on it
            // speak against it (or hold a melisma); words silent for a
            // while say nothing.
            const bool wordsGoOn = hasTickNear(m_syllables[size_t(voice)], onset.tick, m_wordsWindow);
            total += !sung && wordsGoOn ? UnsungOnsetCost : 0.0;
        }
        for (const int count : voicesOfNote) {
            total += count > 1 ? UnisonCost * (count - 1) : 0.0;
        }
        // A resting voice seldom comes in on a note another voice goes on singing.
        for (int voice = 0; voice < m_voiceCount; ++voice) {
            const int note = chosen[size_t(voice)];
            total += note >= 0 && voicesOfNote[size_t(note)] > 1 && resting(voice, onset.tick) ? EntryUnisonCost : 0.0;
        }
        // A voice left out that holds through the key another voice moved
        // to does not rest.
        for (int voice = 0; voice < m_voiceCount; ++voice) {
            total += heldThrough(onset, chosen, voice) >= 0 ? HoldThroughCost - RestStartCost : 0.0;
        }
        for (int upper = 0; upper < m_voiceCount; ++upper) {
            for (int lower = upper + 1; lower < m_voiceCount; ++lower) {
                const int high = sounding[size_t(upper)];
                const int low = sounding[size_t(lower)];
                total += high >= 0 && low >= 0 && high < low ? CrossingCost : 0.0;
            }
        }
        return total;
    }

    // Tries every way of giving each voice one of the notes or none, each
    // note to at least one voice.
    Assignment cheapest(const Onset& onset, const std::array<int, MaxVoices>& next) const
    {
        const int count = int(onset.notes.size());
        int combinations = 1;
        for (int voice = 0; voice < m_voiceCount; ++voice) {
            combinations *= count + 1;
        }
        Assignment best;
        best.fill(-1);
        double bestCost = 0.0;
        bool found = false;
        for (int code = 0; code < combinations; ++code) {
            Assignment chosen;
            chosen.fill(-1);
            std::array<bool, MaxVoices> taken{};
            int rest = code;
            for (int voice = 0; voice < m_voiceCount; ++voice) {
                chosen[size_t(voice)] = rest % (count + 1) - 1;
                rest /= count + 1;
                if (chosen[size_t(voice)] >= 0) {
                    taken[size_t(chosen[size_t(voice)])] = true;
                }
            }
            if (!std::all_of(taken.begin(), taken.begin() + count, [](bool t) { return t; })) {
                continue;
            }
            const double total = cost(onset, chosen, next);
            if (!found || total < bestCost) {
                best = chosen;
                bestCost = total;
                found = true;
            }
        }
        return best;
    }

    void assign(const Onset& onset, const Assignment& chosen)
    {
        std::array<int, MaxVoices> heldOn;
        for (int voice = 0; voice < m_voiceCount; ++voice) {
            heldOn[size_t(voice)] = heldThrough(onset, chosen, voice);
        }
        for (int voice = 0; voice < m_voiceCount; ++voice) {
            if (heldOn[size_t(voice)] >= 0) {
                m_states[size_t(voice)].end = endOf(m_notes[size_t(heldOn[size_t(voice)])]);
            }
            const int note = chosen[size_t(voice)];
            if (note < 0) {
                continue;
            }
            const int index = onset.notes[size_t(note)];
            m_voices[size_t(voice)].push_back(index);
            m_states[size_t(voice)] = {m_notes[size_t(index)].key, endOf(m_notes[size_t(index)])};
        }
        // Notes beyond one a voice (more at once than there are voices) go
        // to the voice of their rank without changing what it holds.
        const int count = int(onset.notes.size());
        for (int rank = 0; rank < count; ++rank) {
            if (std::find(chosen.begin(), chosen.begin() + m_voiceCount, rank) == chosen.begin() + m_voiceCount) {
                m_voices[size_t(voiceOfRank(rank, count, m_voiceCount))].push_back(onset.notes[size_t(rank)]);
            }
        }
    }

    const std::vector<TVoiceNote>& m_notes;
    const int m_voiceCount;
    const qint32 m_onsetTolerance;
    const qint32 m_overlapTolerance;
    const qint32 m_wordsWindow;
    const qint32 m_phraseGap;
    std::vector<std::vector<qint32>> m_syllables;
    const std::vector<Onset> m_onsets;
    std::array<int, MaxVoices> m_centres{};
    std::vector<qsizetype> m_nextFull;
    std::vector<VoiceState> m_states;
    std::vector<std::vector<int>> m_voices;
};

} // namespace

TVoiceCount countVoices(const std::vector<TVoiceNote>& notes, int program, qint32 ticksPerQuarter)
{
    // Time spent with each number of notes sounding, overlaps of legato
    // playing left out.
    const qint32 overlap = overlapTolerance(ticksPerQuarter);
    std::map<qint64, int> changes;
    for (const TVoiceNote& note : notes) {
        const qint64 end = std::max(qint64(note.tick) + 1, qint64(note.tick) + note.length - overlap);
        ++changes[note.tick];
        --changes[end];
    }
    std::array<qint64, MaxVoices + 2> timeWith{};
    int sounding = 0;
    qint64 previous = 0;
    for (const auto& [tick, change] : changes) {
        timeWith[size_t(std::min(sounding, MaxVoices + 1))] += tick - previous;
        sounding += change;
        previous = tick;
    }
    qint64 soundingTime = 0;
    for (size_t count = 1; count < timeWith.size(); ++count) {
        soundingTime += timeWith[count];
    }
    const qint64 chordTime = soundingTime - timeWith[1];
    const bool keyboard = program >= 0 && program <= LastKeyboardProgram;
    if ((keyboard && chordTime > 0) || timeWith[MaxVoices + 1] * AccompanimentTimeShare >= soundingTime + 1) {
        return {1, true};
    }
    int voices = 1;
    qint64 timeWithAtLeast = timeWith[MaxVoices + 1];
    for (int count = MaxVoices; count >= 2; --count) {
        timeWithAtLeast += timeWith[size_t(count)];
        if (timeWithAtLeast * VoiceTimeShare >= soundingTime) {
            voices = count;
            break;
        }
    }
    return {voices, false};
}

std::vector<std::vector<int>> splitVoices(const std::vector<TVoiceNote>& notes, int voiceCount,
                                          qint32 ticksPerQuarter,
                                          const std::vector<std::vector<qint32>>& syllableTicks)
{
    const int count = std::clamp(voiceCount, 1, MaxVoices);
    if (count == 1) {
        std::vector<int> all(notes.size());
        for (size_t index = 0; index < notes.size(); ++index) {
            all[index] = int(index);
        }
        return {all};
    }
    return Splitter(notes, count, ticksPerQuarter, syllableTicks).run();
}

} // namespace harmonet
