#include "practice/ReadableNames.h"

#include "sequencer/MidiFile.h"
#include "sequencer/TextEncoding.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace harmonet {

namespace {

// A name the notation program gave a context the score left unnamed.
bool isMadeUp(const QString& part)
{
    static const QRegularExpression generated(QStringLiteral("^uniqueContext[0-9]*$"));
    return part.isEmpty() || generated.match(part).hasMatch();
}

// "sopranoTwoNotes" is "soprano", "Two", "Notes"; "choirSATB" is "choir",
// "SATB"; "tenor2" is "tenor", "2".
QStringList identifierWords(const QString& identifier)
{
    QStringList words;
    QString word;
    for (qsizetype i = 0; i < identifier.size(); ++i) {
        const QChar c = identifier[i];
        if (!word.isEmpty()) {
            const QChar before = identifier[i - 1];
            const bool lowerFollows = i + 1 < identifier.size() && identifier[i + 1].isLower();
            const bool wordStarts = c.isUpper() && (before.isLower() || before.isDigit() || (before.isUpper() && lowerFollows));
            const bool numberStarts = c.isDigit() && before.isLetter();
            if (wordStarts || numberStarts) {
                words.append(word);
                word.clear();
            }
        }
        word.append(c);
    }
    if (!word.isEmpty()) {
        words.append(word);
    }
    return words;
}

// The readable words of one part of a track name, or an empty string.
QString readablePart(const QString& part)
{
    const QString text = QString(part).replace(QLatin1Char('_'), QLatin1Char(' ')).simplified();
    if (isMadeUp(text)) {
        return {};
    }
    QStringList words = text.contains(QLatin1Char(' ')) ? text.split(QLatin1Char(' ')) : identifierWords(text);
    static const QStringList suffixes{QStringLiteral("Notes"), QStringLiteral("Music"), QStringLiteral("Voice")};
    if (words.size() > 1 && suffixes.contains(words.last(), Qt::CaseInsensitive)) {
        words.removeLast();
    }
    QString name = words.join(QLatin1Char(' '));
    name[0] = name[0].toUpper();
    return name;
}

} // namespace

QString readableVoiceName(const QString& trackName, const QString& instrumentName, int number,
                          const QString& caption)
{
    const QString name = trackName.trimmed();
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    QString readable = readablePart(colon < 0 ? name : name.mid(colon + 1));
    if (readable.isEmpty() && colon >= 0) {
        readable = readablePart(name.left(colon));
    }
    if (!readable.isEmpty()) {
        return readable;
    }
    const QString instrument = instrumentName.simplified();
    return instrument.isEmpty() ? caption : QStringLiteral("%1 %2").arg(instrument).arg(number);
}

QStringList distinctVoiceNames(const QStringList& names)
{
    QHash<QString, int> occurrences;
    for (const QString& name : names) {
        ++occurrences[name.toLower()];
    }
    QSet<QString> taken;
    for (const QString& name : names) {
        taken.insert(name.toLower());
    }
    QStringList distinct;
    QHash<QString, int> lastNumber;
    for (const QString& name : names) {
        if (occurrences.value(name.toLower()) == 1) {
            distinct.append(name);
            continue;
        }
        int& number = lastNumber[name.toLower()];
        QString numbered;
        do {
            numbered = QStringLiteral("%1 %2").arg(name).arg(++number);
        } while (taken.contains(numbered.toLower()));
        taken.insert(numbered.toLower());
        distinct.append(numbered);
    }
    return distinct;
}

QString songTitle(const TMidiFile& song, const QString& fileName)
{
    if (song.FileFormat() == TFileFormat::multi_synch && song.NumberOfTracks() > 1) {
        const TMidiTrack* first = song.TrackAt(0);
        // Channel 0: the track has no notes (it holds the tempo and the names).
        const QString title = first->Channel() == 0
            ? TTextEncoding::detect(song).decodeLatin1Held(first->TrackName()).simplified()
            : QString();
        if (!title.isEmpty()) {
            return title;
        }
    }
    return QFileInfo(fileName).completeBaseName();
}

} // namespace harmonet
