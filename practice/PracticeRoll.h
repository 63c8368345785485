#pragma once

#include "practice/VoiceModel.h"
#include "sequencer/BarMap.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace harmonet {

struct TWordsSource;

// One note as the practice roll draws it: where it starts and how long it
// lasts in ticks, and its written key.
struct TRollNote {
    qint32 tick = 0;
    qint32 length = 0;
    int key = 0;
    // Counted wide: a note of a damaged file may end past the last tick a track can hold.
    qint64 end() const { return qint64(tick) + length; }
};

// One syllable of my part's words, placed under the note it is sung on.
struct TRollSyllable {
    qint32 tick = 0;
    // As drawn: no line breaks, no surrounding blanks, no trailing hyphen.
    QString text;
    // The syllable and the next belong to one word: a hyphen stands between them.
    bool hyphenAfter = false;
    // Where the line that shows the syllable held over further notes ends,
    // in ticks; -1 without one.
    qint64 extenderEnd = -1;
};

// A voice the roll shows beside mine, faint.
struct TRollVoice {
    QString name;
    std::vector<TRollNote> notes;
};

// The syllables of a source of words as the roll lays them under the notes
// (sorted by tick): a syllable the file ends with "-", or one a file that
// separates its words by blanks writes without a blank before the next, is
// joined to the next by a hyphen (a file of bare syllables, as LilyPond
// writes them, marks nothing, so its syllables stand apart); a syllable
// held over further notes of mine before the next one gets an extender to
// the end of the last of them, unless a hyphen joins it to the next.
QList<TRollSyllable> rollSyllables(const TWordsSource& words, const std::vector<TRollNote>& myNotes);

// What the practice roll shows of a song: my part's notes, the other
// voices' notes, my part's words, the range of keys fitted to my part.
class TPracticeRoll {
public:
    // Semitones above and below my part's range the roll shows.
    static constexpr int KeyMargin = 2;
    // The fewest keys the roll spans, so that a part of a few notes is not drawn huge.
    static constexpr int FewestKeys = 12;

    TPracticeRoll() = default;
    // voices: every voice of the song; myVoice: the index of mine among them,
    // or -1 for none (the range then fits every voice). words: the words my
    // part follows, or null. A note never switched off is drawn a quarter long.
    TPracticeRoll(const QList<TVoice>& voices, int myVoice, const TWordsSource* words, int ticksPerQuarter);

    const std::vector<TRollNote>& myNotes() const { return m_myNotes; }
    const QList<TRollVoice>& otherVoices() const { return m_others; }
    const QList<TRollSyllable>& syllables() const { return m_syllables; }
    // The lowest and highest written keys shown, margins included.
    int lowestKey() const { return m_lowestKey; }
    int highestKey() const { return m_highestKey; }
    // The tick after the last note of any voice.
    qint64 endTick() const { return m_endTick; }

    // The syllable being sung at a tick position: the last that started at
    // or before it; -1 before the first.
    int currentSyllable(double tick) const;

private:
    void fitKeys();

    std::vector<TRollNote> m_myNotes;
    QList<TRollVoice> m_others;
    QList<TRollSyllable> m_syllables;
    int m_lowestKey = 60 - FewestKeys / 2;
    int m_highestKey = 60 + FewestKeys / 2;
    qint64 m_endTick = 0;
};

// A bar line of the roll: the bar's number as printed and where it starts.
struct TRollBarLine {
    qint64 bar = 1;
    double tick = 0.0;
    // Whether its number is written above it (at small zoom only every few are).
    bool labelled = true;
};

// Where things of the roll are drawn: x in pixels from the tick at the left
// edge, rows of keys from the top of the note area, at a zoom given in
// pixels per quarter note. Sounding keys are the written ones moved by the
// transposition.
class TRollGeometry {
public:
    // The zoom steps, in pixels per quarter note.
    static const QList<double>& zoomSteps();
    static constexpr double DefaultPixelsPerQuarter = 48.0;
    // The next step in or out from a zoom (the same at either end).
    static double zoomedIn(double pixelsPerQuarter);
    static double zoomedOut(double pixelsPerQuarter);
    // The nearest step to any zoom (one read from the settings, say).
    static double nearestZoom(double pixelsPerQuarter);
    // The fewest pixels between two bar numbers.
    static constexpr double LabelSpacing = 32.0;

    TRollGeometry() = default;
    // noteArea: where notes are drawn, in widget pixels; lowestKey and
    // highestKey: the sounding keys at its bottom and top rows.
    TRollGeometry(int ticksPerQuarter, double pixelsPerQuarter, double leftTick, const QRectF& noteArea,
                  int lowestKey, int highestKey);

    double pixelsPerTick() const { return m_pixelsPerTick; }
    double leftTick() const { return m_leftTick; }
    const QRectF& noteArea() const { return m_noteArea; }
    double xOfTick(double tick) const;
    double tickAtX(double x) const;
    // The tick at the right edge of the note area.
    double rightTick() const { return tickAtX(m_noteArea.right()); }
    double rowHeight() const { return m_rowHeight; }
    // The top of a sounding key's row.
    double rowTop(int key) const;
    // The bar of a note of that written key, transposed by semitones.
    QRectF noteRect(const TRollNote& note, int semitones = 0) const;

    // The bar lines between two ticks, each bar numbered as printed; at a
    // zoom too small to number every bar, only every 2nd, 5th, 10th...
    // carries its number (and an upbeat, bar 0).
    QList<TRollBarLine> barLines(const TBarMap& bars, double fromTick, double toTick) const;

    // The left tick that keeps the playing position a third of the way in.
    double followingLeftTick(double playingTick) const;

private:
    int m_ticksPerQuarter = 480;
    double m_pixelsPerTick = DefaultPixelsPerQuarter / 480.0;
    double m_leftTick = 0.0;
    QRectF m_noteArea;
    int m_lowestKey = 54;
    int m_highestKey = 66;
    double m_rowHeight = 1.0;
};

// The bar a tick lies in, within the song's bars (its first bar before the
// song, its last after it).
qint64 barAtTick(const TBarMap& bars, double tick);

} // namespace harmonet
