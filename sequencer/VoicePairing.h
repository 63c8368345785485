#pragma once

#include "sequencer/WordsSource.h"

#include <QList>
#include <QString>
#include <vector>

namespace harmonet {

class TMidiFile;

// The sources of words a voice's singer follows, best first: the voice's own
// lyrics when its track has them, then the words tracks (tracks that are not
// voices) found to be sung by it, in track order.
struct TVoiceWords {
    int voice = 0;
    QList<int> words;
};

// Pairs every voice track (given in panel order) with its words. Each words
// track goes to the voice on whose note onsets its syllables fall most often;
// between voices about as good, a name shared by both tracks ("altusLyrics"
// and "altusNotes", "versealt" and "Alt") decides, then the voice right before
// the words track when the file interleaves voices and words, then order
// (the first words track to the first voice still without words). A voice
// left without words then takes those whose syllables nearly all fall on its
// own onsets, as a lower staff sings the upper staff's verses.
QList<TVoiceWords> pairVoicesWithWords(const TMidiFile& file, const QList<int>& voices,
                                       const QList<TWordsSource>& sources);

// A voice as the pairing sees it: the track its notes come from (a track may
// hold several voices), the name that may match a words track's name, and
// the ticks at which its notes start, sorted, each once.
struct TVoiceOnsets {
    int track = 0;
    QString name;
    std::vector<qint32> onsets;
};

// The same pairing for voices that need not be whole tracks: the words
// tracks paired with each voice, in the order of voices, best first. A
// track's own lyrics go to every voice of it.
QList<QList<int>> pairVoiceOnsetsWithWords(qint32 ticksPerQuarter, const QList<TVoiceOnsets>& voices,
                                           const QList<TWordsSource>& sources);

} // namespace harmonet
