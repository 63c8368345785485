#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace harmonet {

// The syllables of the lyrics track with the tick time of each, in track
// order, and the texts the scrolling strip shows around one of them. Times
// may repeat (several syllables at one tick); a time always stands for its
// first syllable.
class TLyricList {
public:
    void clear();
    // line: the line of the lyrics window's text the syllable stands on, or -1.
    void append(const QString& text, qint32 ticks, int line = -1);
    bool isEmpty() const { return m_texts.isEmpty(); }

    const QStringList& texts() const { return m_texts; }
    const QList<qint32>& times() const { return m_times; }

    // The first syllable time at or after ticks, or -1 when none is.
    qint64 firstTimeFrom(qint64 ticks) const;

    // Every syllable up to and including the first one at t, joined, with
    // line breaks removed; empty when no syllable is at t.
    QString upTo(qint64 t) const;
    // The first syllable at t; empty when none is.
    QString at(qint64 t) const;
    // The line of the lyrics window's text the first syllable at t stands on; -1 when none is.
    int lineAt(qint64 t) const;
    // Every syllable after the first one at t, joined, line breaks kept;
    // empty when none is at t or it is the last.
    QString after(qint64 t) const;

private:
    qsizetype indexOf(qint64 t) const;

    QStringList m_texts;
    QList<qint32> m_times;
    QList<int> m_lines;
};

struct TWordsSyllable;

// The lyrics window's text of a source's syllables: joined as shown, an
// empty line before every verse but the first, with the line each
// syllable's text stands on (counted as splitLines splits) and the number
// of verse markers.
struct TLyricsText {
    QString text;
    QList<int> lines;
    int verses = 0;
};
TLyricsText lyricsText(const QList<TWordsSyllable>& syllables);

// A lyric's bytes as text: UTF-8 when they are valid UTF-8, else Latin-1,
// so both files written by notation programs and older 8-bit files read right.
QString lyricText(QByteArrayView bytes);

// Whether a syllable opens a verse: its first full stop is its second
// character ("1." or "3.Now", but not "12.").
bool isVerseMarker(const QString& syllable);

// The tick nearest to a playing time in ms (halves to even), or 0 when a
// tick has no duration (no song loaded).
qint64 ticksAtMs(qint64 ms, double microsecondsPerTick);

// The text with every CR and LF removed: the strip shows one line.
QString withoutLineBreaks(QString text);

// Lines of a text split at CR LF, CR or LF.
QStringList splitLines(const QString& text);

} // namespace harmonet
