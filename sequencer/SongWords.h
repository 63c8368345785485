#pragma once

#include "sequencer/TextEncoding.h"
#include "sequencer/VoicePairing.h"
#include "sequencer/WordsSource.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace harmonet {

class TMidiFile;

// How the words of a loaded song are understood: the encoding of its texts,
// every source of words, and for every voice (every track that gets a panel)
// the words its singer follows and the ones chosen. Keeps copies only, no
// reference into the file, so it stays safe to read after the next load
// until it is built again.
class TSongWords {
public:
    // Tracks that get a panel: the first sixteen of the file that hold an
    // event other than a meta event, in track order.
    static QList<int> voiceTracksOf(const TMidiFile& file);

    void clear();
    // Finds encoding, sources and pairing; the first words of each voice are chosen.
    void build(const TMidiFile& file);
    // Decodes every text again in the given encoding, keeping the choices.
    void setEncoding(const TMidiFile& file, const QByteArray& name);

    const TTextEncoding& encoding() const { return m_encoding; }
    // The name of the encoding found at build, whatever was set since.
    const QByteArray& detectedEncoding() const { return m_detected; }
    const QList<TWordsSource>& sources() const { return m_sources; }
    const QList<TVoiceWords>& voices() const { return m_voices; }
    const TWordsSource* sourceOf(int track) const;

    // The words track chosen for the voice track, or -1 when it has no words
    // (or is not a voice).
    int chosenWordsOf(int voiceTrack) const;
    // Makes wordsTrack the voice's choice; nothing happens for a track that is
    // not a voice or not a source of words.
    void choose(int voiceTrack, int wordsTrack);

    // The syllable that the event at eventIndex of track stands for, as
    // shown; nothing when it is none (another event, a karaoke header).
    std::optional<QString> shownSyllableAt(int track, int eventIndex) const;

private:
    void readSources(const TMidiFile& file);

    TTextEncoding m_encoding;
    QByteArray m_detected = TTextEncoding::Ascii;
    QList<TWordsSource> m_sources;
    QList<TVoiceWords> m_voices;
    // Parallel to m_voices: the chosen words track, or -1.
    QList<int> m_chosen;
};

} // namespace harmonet
