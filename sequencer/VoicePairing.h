#pragma once

#include "sequencer/WordsSource.h"

#include <QList>

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

} // namespace harmonet
