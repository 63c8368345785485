#include "player/LyricList.h"

#include "sequencer/WordsSource.h"

#include <QStringDecoder>
#include <cmath>
#include <limits>

namespace harmonet {

namespace {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// The line breaks of text that follows the character before (CR LF counts once).
int lineBreaks(QStringView text, QChar before)
{
    int breaks = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || (c == QLatin1Char('\n') && before != QLatin1Char('\r'))) {
            ++breaks;
        }
        before = c;
    }
    return breaks;
}

} // namespace

void TLyricList::clear()
{
    m_texts.clear();
    m_times.clear();
    m_lines.clear();
}

void TLyricList::append(const QString& text, qint32 ticks, int line)
{
    m_texts.append(text);
    m_times.append(ticks);
    m_lines.append(line);
}

int TLyricList::lineAt(qint64 t) const
{
    const qsizetype k = indexOf(t);
    return k < 0 ? -1 : m_lines[k];
}

TLyricsText lyricsText(const QList<TWordsSyllable>& syllables)
{
    TLyricsText result;
    int lines = 0;
    QChar last;
    for (const TWordsSyllable& syllable : syllables) {
        QString piece = syllable.shown;
        if (syllable.opensVerse) {
            ++result.verses;
            if (!result.text.isEmpty()) {
                piece.prepend(QStringLiteral("\n\n"));
            }
        }
        // The syllable stands where its first character that is no line break does.
        qsizetype leading = 0;
        while (leading < piece.size() && isLineBreak(piece[leading])) {
            ++leading;
        }
        result.lines.append(lines + lineBreaks(QStringView(piece).left(leading), last));
        lines += lineBreaks(piece, last);
        if (!piece.isEmpty()) {
            last = piece.back();
        }
        result.text += piece;
    }
    return result;
}

qint64 TLyricList::firstTimeFrom(qint64 ticks) const
{
    for (const qint32 time : m_times) {
        if (time >= ticks) {
            return time;
        }
    }
    return -1;
}

qsizetype TLyricList::indexOf(qint64 t) const
{
    for (qsizetype k = 0; k < m_times.size(); ++k) {
        if (m_times[k] == t) {
            return k;
        }
    }
    return -1;
}

QString TLyricList::upTo(qint64 t) const
{
    const qsizetype k = indexOf(t);
    QString joined;
    for (qsizetype i = 0; i <= k; ++i) {
        joined += m_texts[i];
    }
    return withoutLineBreaks(joined);
}

QString TLyricList::at(qint64 t) const
{
    const qsizetype k = indexOf(t);
    return k < 0 ? QString() : m_texts[k];
}

QString TLyricList::after(qint64 t) const
{
    const qsizetype k = indexOf(t);
    QString joined;
    if (k < 0) {
        return joined;
    }
    for (qsizetype i = k + 1; i < m_texts.size(); ++i) {
        joined += m_texts[i];
    }
    return joined;
}

QString lyricText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        return QString::fromLatin1(bytes.data(), bytes.size());
    }
    return text;
}

bool isVerseMarker(const QString& syllable)
{
    return isVerseMarkerText(syllable);
}

qint64 ticksAtMs(qint64 ms, double microsecondsPerTick)
{
    if (!(microsecondsPerTick > 0.0)) {
        return 0;
    }
    const double ticks = std::nearbyint(double(ms) * 1000.0 / microsecondsPerTick);
    constexpr double limit = double(std::numeric_limits<qint32>::max()) + 1.0;
    // Beyond the last tick a track can hold: no syllable lies there.
    return ticks >= limit ? qint64(limit) : qint64(ticks);
}

QString withoutLineBreaks(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

QStringList splitLines(const QString& text)
{
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return unified.split(QLatin1Char('\n'));
}

} // namespace harmonet
