#include "sequencer/WordsSource.h"

#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"
#include "sequencer/TextEncoding.h"

#include <algorithm>

#include <QCoreApplication>

namespace harmonet {

namespace {

// How many words the Words menu shows of a source.
constexpr int FirstWordCount = 5;
// A track writes bare syllables when fewer than one in three carry a separator.
constexpr qsizetype BareSeparatorShare = 3;

bool isMeta(const TMidiEvent& event, quint8 type)
{
    return event.Status == midi::Meta && event.Value1 == type;
}

bool hasLyrics(const TMidiTrack& track)
{
    const auto events = track.Events();
    return std::any_of(events.begin(), events.end(), [](const TMidiEvent& e) { return isMeta(e, midi::LyricMeta); });
}

// Karaoke text: "@" opens a header field (title, language, information),
// "\" a paragraph and "/" a line.
bool isKaraokeHeader(QByteArrayView text)
{
    return text.startsWith('@');
}

bool hasKaraokeLayout(const TMidiTrack& track)
{
    for (const TMidiEvent& event : track.Events()) {
        if (isMeta(event, midi::TextMeta)) {
            const QByteArrayView text = event.Text();
            if (text.startsWith('\\') || text.startsWith('/')) {
                return true;
            }
        }
    }
    return false;
}

// A syllable that keeps the next one apart, or joined on, by itself.
bool endsWithSeparator(const QString& text)
{
    return !text.isEmpty() && (text.back().isSpace() || text.back() == QLatin1Char('-'));
}

bool startsWithLineBreak(const QString& text)
{
    return text.startsWith(QLatin1Char('\r')) || text.startsWith(QLatin1Char('\n'));
}

// Whether a note-free words track writes its syllables bare: programs that
// set the words for print put one syllable or word in each event and keep
// the spaces and hyphens to themselves, with here and there a text that
// carries its own. Tracks written for players end most syllables with one.
bool writesBareSyllables(const TMidiTrack& track, const QList<TWordsSyllable>& syllables)
{
    if (track.CountChannelEvents() != 0) {
        return false;
    }
    qsizetype words = 0;
    qsizetype separated = 0;
    for (const TWordsSyllable& syllable : syllables) {
        if (syllable.text.trimmed().isEmpty()) {
            continue;
        }
        ++words;
        separated += endsWithSeparator(syllable.text) || startsWithLineBreak(syllable.text) ? 1 : 0;
    }
    return words > 0 && separated * BareSeparatorShare < words;
}

TWordsSource readSource(const TMidiTrack& track, TWordsSource::Kind kind, const TTextEncoding& encoding)
{
    TWordsSource source;
    source.track = track.TrackNumber();
    source.name = encoding.decodeLatin1Held(track.TrackName());
    source.kind = kind;
    const quint8 type = kind == TWordsSource::Kind::Lyric ? midi::LyricMeta : midi::TextMeta;
    const auto events = track.Events();
    for (qsizetype index = 0; index < qsizetype(events.size()); ++index) {
        const TMidiEvent& event = events[size_t(index)];
        if (!isMeta(event, type)) {
            continue;
        }
        QByteArrayView bytes = event.Text();
        TWordsSyllable syllable;
        if (kind == TWordsSource::Kind::Karaoke) {
            if (isKaraokeHeader(bytes)) {
                continue;
            }
            if (bytes.startsWith('\\')) {
                syllable.breakBefore = TWordsSyllable::Break::Paragraph;
                bytes = bytes.sliced(1);
            } else if (bytes.startsWith('/')) {
                syllable.breakBefore = TWordsSyllable::Break::Line;
                bytes = bytes.sliced(1);
            }
        }
        syllable.ticks = event.Ticks;
        syllable.text = encoding.decode(bytes);
        syllable.eventIndex = int(index);
        source.syllables.append(syllable);
    }
    source.bareSyllables = kind == TWordsSource::Kind::Lyric && writesBareSyllables(track, source.syllables);
    return source;
}

// The texts as joined for showing: a bare syllable gets its space; a karaoke
// line starts on a new line of the lyrics window (a paragraph's empty line
// comes with the verse it opens), and the syllable before a break ends with a
// space so that the one-line strip keeps the words apart.
void fillShownTexts(TWordsSource& source)
{
    for (qsizetype k = 0; k < source.syllables.size(); ++k) {
        TWordsSyllable& syllable = source.syllables[k];
        syllable.opensVerse = syllable.breakBefore == TWordsSyllable::Break::Paragraph
            || (isVerseMarkerText(syllable.text) && (!source.bareSyllables || syllable.text.front().isDigit()));
        syllable.shown = source.bareSyllables && !endsWithSeparator(syllable.text) ? syllable.text + QLatin1Char(' ')
                                                                                 : syllable.text;
        if (syllable.breakBefore == TWordsSyllable::Break::None) {
            continue;
        }
        if (syllable.breakBefore == TWordsSyllable::Break::Line && k > 0) {
            syllable.shown.prepend(QLatin1Char('\n'));
        }
        if (k > 0) {
            QString& previous = source.syllables[k - 1].shown;
            if (!previous.isEmpty() && !previous.back().isSpace()) {
                previous += QLatin1Char(' ');
            }
        }
    }
}

} // namespace

bool isVerseMarkerText(const QString& syllable)
{
    return syllable.indexOf(QLatin1Char('.')) == 1;
}

QString TWordsSource::title() const
{
    return name.trimmed().isEmpty() ? QCoreApplication::translate("Voices", "Track %1").arg(track + 1) : name;
}

QString TWordsSource::firstWords() const
{
    QString joined;
    for (const TWordsSyllable& syllable : syllables) {
        joined += syllable.shown;
        if (joined.simplified().count(QLatin1Char(' ')) >= FirstWordCount) {
            break;
        }
    }
    const QStringList words = joined.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words.mid(0, FirstWordCount).join(QLatin1Char(' '));
}

QList<TWordsSource> findWordsSources(const TMidiFile& file, const TTextEncoding& encoding)
{
    bool fileHasLyrics = false;
    for (int index = 0; index < file.NumberOfTracks() && !fileHasLyrics; ++index) {
        fileHasLyrics = hasLyrics(*file.TrackAt(index));
    }
    QList<TWordsSource> sources;
    for (int index = 0; index < file.NumberOfTracks(); ++index) {
        const TMidiTrack& track = *file.TrackAt(index);
        // A file with lyric events takes its words from them alone.
        if (fileHasLyrics ? hasLyrics(track) : hasKaraokeLayout(track)) {
            sources.append(readSource(track, fileHasLyrics ? TWordsSource::Kind::Lyric : TWordsSource::Kind::Karaoke,
                                      encoding));
            fillShownTexts(sources.back());
        }
    }
    return sources;
}

} // namespace harmonet
