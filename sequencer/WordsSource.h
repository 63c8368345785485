#pragma once

#include <QList>
#include <QString>

namespace harmonet {

class TMidiFile;
class TTextEncoding;

// One sung syllable of a source of words.
struct TWordsSyllable {
    // What a karaoke text starts before the syllable: nothing, a new line or a
    // new paragraph (a verse).
    enum class Break : quint8 { None, Line, Paragraph };

    qint32 ticks = 0;
    // The decoded text, karaoke marks removed.
    QString text;
    // The text as the strip and the lyrics window join it: line breaks in
    // front for a new karaoke line, a space after a syllable that its track
    // writes bare (see TWordsSource::bareSyllables).
    QString shown;
    Break breakBefore = Break::None;
    // Whether a verse starts here: a karaoke paragraph, or a verse marker
    // (see isVerseMarkerText; in a track of bare syllables only a number
    // such as "2." is one, since a one-letter word before a full stop is common).
    bool opensVerse = false;
    // Index of the syllable's event in its track.
    int eventIndex = 0;
};

// A track whose events carry words: lyric events, or, in a file without any
// lyric event, text events in the karaoke layout.
struct TWordsSource {
    enum class Kind : quint8 { Lyric, Karaoke };

    int track = 0;
    // The decoded track name; empty when the track has none.
    QString name;
    Kind kind = Kind::Lyric;
    // A note-free track whose syllables mostly carry no space, hyphen or line
    // break of their own: each is shown with a space after it.
    bool bareSyllables = false;
    QList<TWordsSyllable> syllables;

    // The name, or "Track n" (n counted from 1) for an unnamed track.
    QString title() const;
    // The first few words, joined as shown, on one line.
    QString firstWords() const;
};

// Whether a syllable opens a verse: its first full stop is its second
// character ("1." or "3.Now", but not "12.").
bool isVerseMarkerText(const QString& syllable);

// Every source of words of the file, in track order, with texts decoded.
QList<TWordsSource> findWordsSources(const TMidiFile& file, const TTextEncoding& encoding);

} // namespace harmonet
