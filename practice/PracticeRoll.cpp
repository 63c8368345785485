#include "practice/PracticeRoll.h"

#include "sequencer/WordsSource.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace harmonet {

namespace {

constexpr int LowestMidiKey = 0;
constexpr int HighestMidiKey = 127;

std::vector<TRollNote> rollNotes(const TVoice& voice, int ticksPerQuarter)
{
    std::vector<TRollNote> notes;
    notes.reserve(voice.notes.size());
    for (const TVoiceNote& note : voice.notes) {
        notes.push_back({note.tick, note.length > 0 ? note.length : std::max(ticksPerQuarter, 1), note.key});
    }
    std::stable_sort(notes.begin(), notes.end(), [](const TRollNote& a, const TRollNote& b) { return a.tick < b.tick; });
    return notes;
}

bool startsWithBlank(const QString& text)
{
    return !text.isEmpty() && text.front().isSpace();
}

bool endsWithBlank(const QString& text)
{
    return !text.isEmpty() && text.back().isSpace();
}

// The syllable without line breaks, blanks around it or the hyphens it ends
// with; an underscore joins two words sung on one note ("schrei'_ich"), and
// one alone holds the note before.
QString drawnText(const QString& text, bool* endsWithHyphen)
{
    QString drawn = QString(text).replace(QLatin1Char('_'), QLatin1Char(' ')).simplified();
    *endsWithHyphen = false;
    while (drawn.endsWith(QLatin1Char('-'))) {
        drawn.chop(1);
        *endsWithHyphen = true;
    }
    return drawn.trimmed();
}

// The end of the last of my notes held on from the syllable at tick before
// the next one starts at nextTick, or -1 when no further note follows its
// own. A rest ends the syllable: what follows it is not sung to it.
qint64 heldUntil(const std::vector<TRollNote>& notes, qint32 tick, qint32 nextTick)
{
    auto it = std::lower_bound(notes.begin(), notes.end(), tick,
                               [](const TRollNote& note, qint32 t) { return note.tick < t; });
    if (it == notes.end() || it->tick != tick) {
        return -1;
    }
    qint64 end = it->end();
    bool further = false;
    for (++it; it != notes.end() && it->tick < nextTick; ++it) {
        if (it->tick == tick) {
            continue; // a chord note of the syllable's own onset
        }
        if (it->tick > end) {
            break;
        }
        end = std::max(end, it->end());
        further = true;
    }
    return further ? end : -1;
}

} // namespace

QList<TRollSyllable> rollSyllables(const TWordsSource& words, const std::vector<TRollNote>& myNotes)
{
    QList<TRollSyllable> syllables;
    const QList<TWordsSyllable>& source = words.syllables;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const TWordsSyllable& syllable = source[i];
        bool hyphen = false;
        QString text = drawnText(syllable.text, &hyphen);
        if (text.isEmpty()) {
            // A hyphen standing alone joins the syllables around it.
            if (hyphen && !syllables.isEmpty()) {
                syllables.last().hyphenAfter = true;
            }
            continue;
        }
        if (!hyphen && !words.bareSyllables && i + 1 < source.size()) {
            const TWordsSyllable& next = source[i + 1];
            hyphen = !endsWithBlank(syllable.text) && !startsWithBlank(next.text)
                     && next.breakBefore == TWordsSyllable::Break::None && !next.opensVerse
                     && !next.text.trimmed().isEmpty();
        }
        syllables.append({syllable.ticks, text, hyphen, -1});
    }
    std::stable_sort(syllables.begin(), syllables.end(),
                     [](const TRollSyllable& a, const TRollSyllable& b) { return a.tick < b.tick; });
    for (qsizetype i = 0; i < syllables.size(); ++i) {
        TRollSyllable& syllable = syllables[i];
        const qint32 nextTick = i + 1 < syllables.size() ? syllables[i + 1].tick : std::numeric_limits<qint32>::max();
        if (!syllable.hyphenAfter) {
            syllable.extenderEnd = heldUntil(myNotes, syllable.tick, nextTick);
        }
    }
    return syllables;
}

TPracticeRoll::TPracticeRoll(const QList<TVoice>& voices, int myVoice, const TWordsSource* words,
                             int ticksPerQuarter)
{
    for (qsizetype v = 0; v < voices.size(); ++v) {
        std::vector<TRollNote> notes = rollNotes(voices[v], ticksPerQuarter);
        for (const TRollNote& note : notes) {
            m_endTick = std::max(m_endTick, note.end());
        }
        if (v == myVoice) {
            m_myNotes = std::move(notes);
        } else {
            m_others.append({voices[v].name, std::move(notes)});
        }
    }
    if (words) {
        m_syllables = rollSyllables(*words, m_myNotes);
    }
    fitKeys();
}

void TPracticeRoll::fitKeys()
{
    int low = HighestMidiKey;
    int high = LowestMidiKey;
    auto take = [&](const std::vector<TRollNote>& notes) {
        for (const TRollNote& note : notes) {
            low = std::min(low, note.key);
            high = std::max(high, note.key);
        }
    };
    take(m_myNotes);
    if (m_myNotes.empty()) {
        for (const TRollVoice& voice : std::as_const(m_others)) {
            take(voice.notes);
        }
    }
    if (low > high) {
        return; // no notes: the default range around middle C
    }
    low -= KeyMargin;
    high += KeyMargin;
    const int missing = FewestKeys - (high - low);
    if (missing > 0) {
        low -= missing / 2;
        high += missing - missing / 2;
    }
    m_lowestKey = low;
    m_highestKey = high;
}

int TPracticeRoll::currentSyllable(double tick) const
{
    const auto after = std::upper_bound(m_syllables.begin(), m_syllables.end(), tick,
                                        [](double t, const TRollSyllable& s) { return t < double(s.tick); });
    return int(after - m_syllables.begin()) - 1;
}

const QList<double>& TRollGeometry::zoomSteps()
{
    static const QList<double> steps = {6, 8, 12, 16, 24, 32, 48, 64, 96, 128, 192, 256};
    return steps;
}

double TRollGeometry::zoomedIn(double pixelsPerQuarter)
{
    for (double step : zoomSteps()) {
        if (step > pixelsPerQuarter) {
            return step;
        }
    }
    return zoomSteps().constLast();
}

double TRollGeometry::zoomedOut(double pixelsPerQuarter)
{
    const QList<double>& steps = zoomSteps();
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        if (*it < pixelsPerQuarter) {
            return *it;
        }
    }
    return steps.constFirst();
}

double TRollGeometry::nearestZoom(double pixelsPerQuarter)
{
    double nearest = DefaultPixelsPerQuarter;
    if (!std::isfinite(pixelsPerQuarter)) {
        return nearest;
    }
    for (double step : zoomSteps()) {
        if (std::abs(step - pixelsPerQuarter) < std::abs(nearest - pixelsPerQuarter)) {
            nearest = step;
        }
    }
    return nearest;
}

TRollGeometry::TRollGeometry(int ticksPerQuarter, double pixelsPerQuarter, double leftTick, const QRectF& noteArea,
                             int lowestKey, int highestKey)
    : m_ticksPerQuarter(std::max(ticksPerQuarter, 1))
    , m_pixelsPerTick(pixelsPerQuarter / double(m_ticksPerQuarter))
    , m_leftTick(leftTick)
    , m_noteArea(noteArea)
    , m_lowestKey(lowestKey)
    , m_highestKey(std::max(highestKey, lowestKey))
    , m_rowHeight(noteArea.height() / double(m_highestKey - m_lowestKey + 1))
{
}

double TRollGeometry::xOfTick(double tick) const
{
    return m_noteArea.left() + (tick - m_leftTick) * m_pixelsPerTick;
}

double TRollGeometry::tickAtX(double x) const
{
    return m_leftTick + (x - m_noteArea.left()) / m_pixelsPerTick;
}

double TRollGeometry::rowTop(int key) const
{
    return m_noteArea.top() + double(m_highestKey - key) * m_rowHeight;
}

QRectF TRollGeometry::noteRect(const TRollNote& note, int semitones) const
{
    const double left = xOfTick(note.tick);
    return {left, rowTop(note.key + semitones), xOfTick(note.end()) - left, m_rowHeight};
}

QList<TRollBarLine> TRollGeometry::barLines(const TBarMap& bars, double fromTick, double toTick) const
{
    QList<TRollBarLine> lines;
    if (bars.IsEmpty()) {
        return lines;
    }
    // The widest bar numbered decides how many are skipped; steps 1, 2, 5, 10, 20, 50...
    const double quarterTicks = double(m_ticksPerQuarter);
    const double barPixels =
        std::max(bars.BeatTicksAt(fromTick) * bars.MetreOfBar(barAtTick(bars, fromTick)).Numerator, quarterTicks)
        * m_pixelsPerTick;
    qint64 labelStep = 1;
    for (qint64 decade = 1; barPixels * double(labelStep) < LabelSpacing && decade < 1000000; decade *= 10) {
        for (qint64 factor : {1, 2, 5}) {
            labelStep = decade * factor;
            if (barPixels * double(labelStep) >= LabelSpacing) {
                break;
            }
        }
    }
    for (qint64 bar = barAtTick(bars, fromTick); bar <= bars.LastBar() + 1; ++bar) {
        const double tick = bars.TicksOfBar(bar);
        if (tick > toTick) {
            break;
        }
        // Bars after the song all start at its end: only the first is a line.
        if (bar > bars.LastBar() && !lines.isEmpty() && lines.constLast().tick >= tick) {
            break;
        }
        lines.append({bar, tick, bar % labelStep == 0 && bar <= bars.LastBar()});
    }
    return lines;
}

double TRollGeometry::followingLeftTick(double playingTick) const
{
    return playingTick - m_noteArea.width() / 3.0 / m_pixelsPerTick;
}

qint64 barAtTick(const TBarMap& bars, double tick)
{
    if (bars.IsEmpty()) {
        return 1;
    }
    return std::clamp(bars.BarAtTicks(tick).Bar, bars.FirstBar(), bars.LastBar());
}

} // namespace harmonet
