#include "sequencer/VoicePairing.h"

#include "sequencer/MidiFile.h"

#include <algorithm>
#include <vector>

namespace harmonet {

namespace {

// Scores this close to the best count as equally good: a melisma or a
// grace note here and there must not decide.
constexpr double TieMargin = 0.03;
// A voice without words of its own follows words that fall on its onsets this often.
constexpr double SharedWordsScore = 0.9;
constexpr int MinStemLength = 3;
// Syllables written a little off the note still fall on it: 1/64 of a quarter.
constexpr int OnsetToleranceDivisor = 64;

// The part of a track name that names the voice: letters only, lower case,
// without the words that say what kind of track it is.
QString nameStem(const QString& name)
{
    QString stem;
    for (const QChar c : name) {
        if (c.isLetter()) {
            stem += c.toLower();
        }
    }
    for (const char* kind : {"lyrics", "lyric", "words", "text", "notes", "voice", "verse"}) {
        stem.remove(QLatin1String(kind));
    }
    return stem;
}

bool stemsMatch(const QString& a, const QString& b)
{
    return a.size() >= MinStemLength && b.size() >= MinStemLength && (a.contains(b) || b.contains(a));
}

std::vector<qint32> onsetsOf(const TMidiTrack& track)
{
    std::vector<qint32> onsets;
    for (const TMidiEvent& event : track.Events()) {
        if ((event.Status & 0xF0) == 0x90 && event.Value2 > 0) {
            onsets.push_back(event.Ticks);
        }
    }
    std::sort(onsets.begin(), onsets.end());
    onsets.erase(std::unique(onsets.begin(), onsets.end()), onsets.end());
    return onsets;
}

// The share of the syllables that fall on one of the onsets.
double onsetScore(const TWordsSource& source, const std::vector<qint32>& onsets, qint32 tolerance)
{
    if (source.syllables.isEmpty()) {
        return 0.0;
    }
    qsizetype hits = 0;
    for (const TWordsSyllable& syllable : source.syllables) {
        const qint64 from = qint64(syllable.ticks) - tolerance;
        const auto near = std::lower_bound(onsets.begin(), onsets.end(), from,
                                           [](qint32 onset, qint64 value) { return onset < value; });
        hits += near != onsets.end() && *near <= qint64(syllable.ticks) + tolerance ? 1 : 0;
    }
    return double(hits) / double(source.syllables.size());
}

} // namespace

QList<TVoiceWords> pairVoicesWithWords(const TMidiFile& file, const QList<int>& voices,
                                       const QList<TWordsSource>& sources)
{
    QList<TVoiceOnsets> described;
    for (const int voice : voices) {
        const TMidiTrack& track = *file.TrackAt(voice);
        described.append({voice, track.TrackName(), onsetsOf(track)});
    }
    const QList<QList<int>> words = pairVoiceOnsetsWithWords(file.TicksPerQuarter(), described, sources);
    QList<TVoiceWords> paired;
    for (qsizetype v = 0; v < voices.size(); ++v) {
        paired.append({voices[v], words[v]});
    }
    return paired;
}

QList<QList<int>> pairVoiceOnsetsWithWords(qint32 ticksPerQuarter, const QList<TVoiceOnsets>& voices,
                                           const QList<TWordsSource>& sources)
{
    QList<QList<int>> paired;
    QList<int> voiceTracks;
    for (const TVoiceOnsets& voice : voices) {
        QList<int> own;
        for (const TWordsSource& source : sources) {
            if (source.track == voice.track) {
                own.append(voice.track);
            }
        }
        paired.append(own);
        voiceTracks.append(voice.track);
    }
    if (voices.isEmpty()) {
        return paired;
    }

    QList<const TWordsSource*> wordsTracks;
    for (const TWordsSource& source : sources) {
        if (!voiceTracks.contains(source.track)) {
            wordsTracks.append(&source);
        }
    }
    const qint32 tolerance = ticksPerQuarter / OnsetToleranceDivisor;
    QStringList stems;
    for (const TVoiceOnsets& voice : voices) {
        stems.append(nameStem(voice.name));
    }
    const auto voiceRange = std::minmax_element(voiceTracks.begin(), voiceTracks.end());
    const int firstVoice = *voiceRange.first;
    const int lastVoice = *voiceRange.second;
    const bool interleaved = std::any_of(wordsTracks.begin(), wordsTracks.end(), [&](const TWordsSource* w) {
        return w->track > firstVoice && w->track < lastVoice;
    });

    std::vector<std::vector<double>> scores;
    for (const TWordsSource* words : wordsTracks) {
        std::vector<double> row;
        for (const TVoiceOnsets& voice : voices) {
            row.push_back(onsetScore(*words, voice.onsets, tolerance));
        }
        const double best = *std::max_element(row.begin(), row.end());
        scores.push_back(row);

        QList<qsizetype> candidates;
        for (qsizetype v = 0; v < voices.size(); ++v) {
            if (row[size_t(v)] >= best - TieMargin) {
                candidates.append(v);
            }
        }
        if (candidates.size() > 1) {
            const QString stem = nameStem(words->name);
            QList<qsizetype> named;
            for (const qsizetype v : candidates) {
                if (stemsMatch(stem, stems[v])) {
                    named.append(v);
                }
            }
            if (!named.isEmpty()) {
                candidates = named;
            }
        }
        if (candidates.size() > 1 && interleaved) {
            // The voice of the nearest track before the words; the first of
            // the voices that share that track.
            qsizetype before = -1;
            for (qsizetype v = 0; v < voices.size(); ++v) {
                if (voiceTracks[v] < words->track && (before < 0 || voiceTracks[v] > voiceTracks[before])) {
                    before = v;
                }
            }
            if (candidates.contains(before)) {
                candidates = {before};
            }
        }
        // Order: the first candidate with the fewest words so far.
        const qsizetype chosen = *std::min_element(candidates.begin(), candidates.end(), [&](qsizetype a, qsizetype b) {
            return paired[a].size() < paired[b].size();
        });
        paired[chosen].append(words->track);
    }

    for (qsizetype v = 0; v < voices.size(); ++v) {
        if (!paired[v].isEmpty()) {
            continue;
        }
        for (qsizetype w = 0; w < wordsTracks.size(); ++w) {
            if (scores[size_t(w)][size_t(v)] >= SharedWordsScore) {
                paired[v].append(wordsTracks[w]->track);
            }
        }
    }
    return paired;
}

} // namespace harmonet
