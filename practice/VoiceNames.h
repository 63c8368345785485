#pragma once

#include "sequencer/WordsSource.h"

#include <QList>

namespace harmonet {

struct TVoice;

// Names every voice, paired with its words already: after the words track
// it alone sings when that names a voice ("versealt" gives "Alt"), else after
// its track's name and its place in it ("upper" gives "Upper 1" and "Upper 2"),
// else after its range in the score (Soprano, Alto, Tenor, Bass by the median
// key of its notes).
void nameVoices(QList<TVoice>& voices, const QList<TWordsSource>& sources);

} // namespace harmonet
