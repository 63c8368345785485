#include "practice/VoiceNames.h"

#include "practice/ReadableNames.h"
#include "practice/VoiceModel.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstdlib>

namespace harmonet {

namespace {

// Words a words track's name holds besides the voice it belongs to.
constexpr std::array WordsKinds = {"lyrics", "lyric", "words", "text", "verse", "notes", "voice"};
// Names of sung voices a words track may carry, as LilyPond sources and
// scoring programs spell them.
constexpr std::array VoicePartNames = {"soprano", "sopran",   "alto",     "alt",     "altus",     "contralto",
                                       "tenor",   "tenore",   "bass",     "basso",   "bassus",    "baritone",
                                       "bariton", "discantus", "cantus",  "superius", "treble",   "mezzo"};

struct Range {
    const char* name;
    int medianKey;
};
// The middle of each range in hymns and part songs, as MIDI keys: G4, D4, A3, D3.
constexpr std::array Ranges = {Range{QT_TRANSLATE_NOOP("Voices", "Soprano"), 67}, Range{QT_TRANSLATE_NOOP("Voices", "Alto"), 62},
                               Range{QT_TRANSLATE_NOOP("Voices", "Tenor"), 57}, Range{QT_TRANSLATE_NOOP("Voices", "Bass"), 50}};
constexpr int RangeCount = int(Ranges.size());

QString capitalised(const QString& text)
{
    return text.isEmpty() ? text : text.front().toUpper() + text.mid(1);
}

// The voice a words track's name names ("versealt" names "alt"), or nothing.
QString voicePartOf(const QString& wordsName)
{
    QString stem;
    for (const QChar c : wordsName) {
        if (c.isLetter()) {
            stem += c.toLower();
        }
    }
    for (const char* kind : WordsKinds) {
        stem.remove(QLatin1String(kind));
    }
    const bool named = std::any_of(VoicePartNames.begin(), VoicePartNames.end(),
                                   [&](const char* part) { return stem == QLatin1String(part); });
    return named ? stem : QString();
}

QString nameFromWords(const TVoice& voice, const QList<TVoice>& voices, const QList<TWordsSource>& sources)
{
    for (const int track : voice.words) {
        const auto source = std::find_if(sources.begin(), sources.end(),
                                         [&](const TWordsSource& s) { return s.track == track; });
        const bool shared = std::count_if(voices.begin(), voices.end(),
                                          [&](const TVoice& other) { return other.words.contains(track); }) > 1;
        if (source == sources.end() || track == voice.track || shared) {
            continue;
        }
        const QString part = voicePartOf(source->name);
        if (!part.isEmpty()) {
            return capitalised(part);
        }
    }
    return {};
}

// The readable name of the track, numbered for each voice of a track that
// holds several: a LilyPond track is named "staff:voice" after its staff and
// its first voice only, so the staff names them all.
QString nameFromTrack(const TVoice& voice)
{
    if (voice.partCount <= 1) {
        return readableVoiceName(voice.fileName, {}, 0, {});
    }
    const qsizetype colon = voice.fileName.indexOf(QLatin1Char(':'));
    const QString base = readableVoiceName(colon > 0 ? voice.fileName.left(colon) : voice.fileName, {}, 0, {});
    return base.isEmpty() ? base : QStringLiteral("%1 %2").arg(base).arg(voice.part + 1);
}

int medianKey(const TVoice& voice)
{
    std::vector<int> keys;
    for (const TVoiceNote& note : voice.notes) {
        keys.push_back(note.key);
    }
    if (keys.empty()) {
        return Ranges.back().medianKey;
    }
    std::nth_element(keys.begin(), keys.begin() + qsizetype(keys.size() / 2), keys.end());
    return keys[keys.size() / 2];
}

int nearestRange(int median)
{
    const auto nearest = std::min_element(Ranges.begin(), Ranges.end(), [&](const Range& a, const Range& b) {
        return std::abs(a.medianKey - median) < std::abs(b.medianKey - median);
    });
    return int(nearest - Ranges.begin());
}

// The ranges of voices given by their medians, highest first: as many as
// there are ranges get one each, in order from the top, the closest fit
// over all; more take each the nearest.
std::vector<int> rangesOf(const std::vector<int>& medians)
{
    const int count = int(medians.size());
    std::vector<int> ranges;
    if (count > RangeCount) {
        for (const int median : medians) {
            ranges.push_back(nearestRange(median));
        }
        return ranges;
    }
    int bestDistance = -1;
    // Every choice of count ranges out of the four, as bits, in order.
    for (int choice = 0; choice < (1 << RangeCount); ++choice) {
        std::vector<int> chosen;
        for (int range = 0; range < RangeCount; ++range) {
            if (choice & (1 << range)) {
                chosen.push_back(range);
            }
        }
        if (int(chosen.size()) != count) {
            continue;
        }
        int distance = 0;
        for (int v = 0; v < count; ++v) {
            distance += std::abs(Ranges[size_t(chosen[size_t(v)])].medianKey - medians[size_t(v)]);
        }
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            ranges = chosen;
        }
    }
    return ranges;
}

} // namespace

void nameVoices(QList<TVoice>& voices, const QList<TWordsSource>& sources)
{
    QList<qsizetype> unnamed;
    for (qsizetype v = 0; v < voices.size(); ++v) {
        TVoice& voice = voices[v];
        voice.name = nameFromWords(voice, voices, sources);
        if (voice.name.isEmpty()) {
            voice.name = nameFromTrack(voice);
        }
        if (voice.name.isEmpty()) {
            unnamed.append(v);
        }
    }
    // Named by range, highest first; a range that serves several voices numbers them.
    std::vector<std::pair<int, qsizetype>> byMedian;
    for (const qsizetype v : unnamed) {
        byMedian.emplace_back(-medianKey(voices[v]), v);
    }
    std::stable_sort(byMedian.begin(), byMedian.end());
    std::vector<int> medians;
    for (const auto& entry : byMedian) {
        medians.push_back(-entry.first);
    }
    const std::vector<int> ranges = rangesOf(medians);
    std::array<int, RangeCount> uses{};
    for (const int range : ranges) {
        ++uses[size_t(range)];
    }
    std::array<int, RangeCount> given{};
    for (size_t k = 0; k < byMedian.size(); ++k) {
        const int range = ranges[k];
        const QString name = QCoreApplication::translate("Voices", Ranges[size_t(range)].name);
        const int number = ++given[size_t(range)];
        voices[byMedian[k].second].name = uses[size_t(range)] > 1 ? QStringLiteral("%1 %2").arg(name).arg(number) : name;
    }
    QStringList names;
    for (const TVoice& voice : std::as_const(voices)) {
        names.append(voice.name);
    }
    names = distinctVoiceNames(names);
    for (qsizetype v = 0; v < voices.size(); ++v) {
        voices[v].name = names[v];
    }
}

} // namespace harmonet
