#include "sequencer/SongWords.h"

#include "sequencer/MidiFile.h"

#include <algorithm>

namespace harmonet {

namespace {
constexpr int PanelCount = 16;
} // namespace

QList<int> TSongWords::voiceTracksOf(const TMidiFile& file)
{
    QList<int> voices;
    const int candidates = std::min(file.NumberOfTracks(), PanelCount);
    for (int index = 0; index < candidates; ++index) {
        if (file.TrackAt(index)->CountChannelEvents() > 0) {
            voices.append(index);
        }
    }
    return voices;
}

void TSongWords::clear()
{
    m_encoding = TTextEncoding();
    m_detected = m_encoding.name();
    m_sources.clear();
    m_voices.clear();
    m_chosen.clear();
}

void TSongWords::build(const TMidiFile& file)
{
    m_encoding = TTextEncoding::detect(file);
    m_detected = m_encoding.name();
    readSources(file);
    m_voices = pairVoicesWithWords(file, voiceTracksOf(file), m_sources);
    m_chosen.clear();
    for (const TVoiceWords& voice : std::as_const(m_voices)) {
        m_chosen.append(voice.words.isEmpty() ? -1 : voice.words.constFirst());
    }
}

void TSongWords::setEncoding(const TMidiFile& file, const QByteArray& name)
{
    // The sources and the pairing do not depend on the encoding: only the
    // texts are read again.
    m_encoding = TTextEncoding(name);
    readSources(file);
}

void TSongWords::readSources(const TMidiFile& file)
{
    m_sources = findWordsSources(file, m_encoding);
}

const TWordsSource* TSongWords::sourceOf(int track) const
{
    for (const TWordsSource& source : m_sources) {
        if (source.track == track) {
            return &source;
        }
    }
    return nullptr;
}

int TSongWords::chosenWordsOf(int voiceTrack) const
{
    for (qsizetype v = 0; v < m_voices.size(); ++v) {
        if (m_voices[v].voice == voiceTrack) {
            return m_chosen[v];
        }
    }
    return -1;
}

void TSongWords::choose(int voiceTrack, int wordsTrack)
{
    if (!sourceOf(wordsTrack)) {
        return;
    }
    for (qsizetype v = 0; v < m_voices.size(); ++v) {
        if (m_voices[v].voice == voiceTrack) {
            m_chosen[v] = wordsTrack;
        }
    }
}

std::optional<QString> TSongWords::shownSyllableAt(int track, int eventIndex) const
{
    const TWordsSource* source = sourceOf(track);
    if (!source) {
        return std::nullopt;
    }
    const auto found = std::lower_bound(source->syllables.begin(), source->syllables.end(), eventIndex,
                                        [](const TWordsSyllable& s, int index) { return s.eventIndex < index; });
    if (found == source->syllables.end() || found->eventIndex != eventIndex) {
        return std::nullopt;
    }
    return found->shown;
}

} // namespace harmonet
