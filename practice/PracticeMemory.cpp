#include "practice/PracticeMemory.h"

#include "practice/Clicks.h"
#include "practice/Transposition.h"
#include "persist/SettingsStore.h"

#include <QCryptographicHash>
#include <QLocale>
#include <QStringList>

#include <cmath>

namespace harmonet {

namespace {

const QString clicksValueName = QStringLiteral("Clicks");

bool isPickupBeats(double beats)
{
    return std::isfinite(beats) && beats >= 0.0 && beats <= TPracticeMemory::LongestPickupBeats;
}

std::optional<double> pickupFromText(const QString& text)
{
    bool ok = false;
    const double beats = text.toDouble(&ok);
    return ok && isPickupBeats(beats) ? std::optional<double>(beats) : std::nullopt;
}

constexpr int HighestTrack = 65535;

std::optional<int> trackFromText(QStringView text)
{
    bool ok = false;
    const int track = text.toInt(&ok);
    return ok && track >= 0 && track <= HighestTrack ? std::optional<int>(track) : std::nullopt;
}

// "bpm;transpose;countIn", for example "96;-2;1".
QString playingText(const TPlayingValues& values)
{
    return QStringLiteral("%1;%2;%3").arg(values.bpm).arg(values.transpose).arg(values.countInBars);
}

std::optional<TPlayingValues> playingFromText(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char(';'));
    if (fields.size() != 3) {
        return std::nullopt;
    }
    bool ok[3] = {false, false, false};
    const TPlayingValues values{fields[0].toInt(&ok[0]), fields[1].toInt(&ok[1]), fields[2].toInt(&ok[2])};
    if (!ok[0] || !ok[1] || !ok[2] || values.bpm < 0 || values.bpm > TPlayingValues::FastestBpm
        || values.transpose < TTransposition::Lowest || values.transpose > TTransposition::Highest
        || values.countInBars < 0 || values.countInBars > ClickSettings::MostCountInBars) {
        return std::nullopt;
    }
    return values;
}

} // namespace

QString wordsChoiceText(const TWordsChoice& choice)
{
    QStringList pairs;
    for (const TWordsChoice::Pair& pair : choice.chosen) {
        pairs.append(QStringLiteral("%1:%2").arg(pair.voice).arg(pair.words));
    }
    return QString::number(choice.voice) + QLatin1Char(';') + pairs.join(QLatin1Char(','));
}

std::optional<TWordsChoice> wordsChoiceFromText(const QString& text)
{
    const qsizetype semicolon = text.indexOf(QLatin1Char(';'));
    if (semicolon < 0) {
        return std::nullopt;
    }
    TWordsChoice choice;
    const QStringView voice = QStringView(text).left(semicolon);
    if (voice != QLatin1String("-1")) {
        const std::optional<int> track = trackFromText(voice);
        if (!track) {
            return std::nullopt;
        }
        choice.voice = *track;
    }
    const QStringView pairs = QStringView(text).mid(semicolon + 1);
    if (pairs.isEmpty()) {
        return choice;
    }
    for (const QStringView pair : pairs.split(QLatin1Char(','))) {
        const qsizetype colon = pair.indexOf(QLatin1Char(':'));
        const std::optional<int> voiceTrack = colon < 0 ? std::nullopt : trackFromText(pair.left(colon));
        const std::optional<int> wordsTrack = colon < 0 ? std::nullopt : trackFromText(pair.mid(colon + 1));
        if (!voiceTrack || !wordsTrack) {
            return std::nullopt;
        }
        choice.chosen.append({*voiceTrack, *wordsTrack});
    }
    return choice;
}

TPracticeMemory::TPracticeMemory()
    : m_choices(keyPath(), [](const QString& text) { return choiceFromText(text).has_value(); }),
      m_pickups(pickupKeyPath(), [](const QString& text) { return pickupFromText(text).has_value(); }),
      // "none": the file's loop was cleared.
      m_loops(loopKeyPath(),
              [](const QString& text) { return text == QLatin1String("none") || loopFromText(text).has_value(); }),
      m_words(wordsKeyPath(), [](const QString& text) { return wordsChoiceFromText(text).has_value(); }),
      m_playing(playingKeyPath(), [](const QString& text) { return playingFromText(text).has_value(); })
{
}

QString TPracticeMemory::wordsKeyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticeWords");
}

std::optional<TWordsChoice> TPracticeMemory::recallWords(const QString& path, const QString& hash) const
{
    const std::optional<QString> text = m_words.recall(path, hash);
    return text ? wordsChoiceFromText(*text) : std::nullopt;
}

void TPracticeMemory::rememberWords(const QString& path, const QString& hash, const TWordsChoice& choice)
{
    m_words.remember(path, hash, wordsChoiceText(choice));
}

QString TPracticeMemory::keyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticeParts");
}

QString TPracticeMemory::pickupKeyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticePickups");
}

QString TPracticeMemory::loopKeyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticeLoops");
}

QString TPracticeMemory::playingKeyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticePlaying");
}

QString TPracticeMemory::clicksKeyPath()
{
    return QStringLiteral("Software\\Harmonet\\Clicks");
}

std::optional<ClickSettings> TPracticeMemory::recallClicks() const
{
    try {
        TSettingsStore store(CURRENT_USER);
        if (store.openKey(clicksKeyPath(), false) && store.valueExists(clicksValueName)) {
            return clicksFromText(store.readString(clicksValueName));
        }
    } catch (...) {
        // Without a readable store the clicks are as they start.
    }
    return std::nullopt;
}

void TPracticeMemory::rememberClicks(const ClickSettings& clicks)
{
    try {
        TSettingsStore store(CURRENT_USER);
        if (store.openKey(clicksKeyPath(), true)) {
            store.writeString(clicksValueName, clicksText(clicks));
            store.flush();
        }
    } catch (...) {
        // The store keeps what it had.
    }
}

QString TPracticeMemory::contentHash(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

std::optional<PracticeChoice> TPracticeMemory::recall(const QString& path, const QString& hash) const
{
    const std::optional<QString> text = m_choices.recall(path, hash);
    return text ? choiceFromText(*text) : std::nullopt;
}

void TPracticeMemory::remember(const QString& path, const QString& hash, const PracticeChoice& choice)
{
    m_choices.remember(path, hash, choiceText(choice));
}

std::optional<double> TPracticeMemory::recallPickupBeats(const QString& path, const QString& hash) const
{
    const std::optional<QString> text = m_pickups.recall(path, hash);
    return text ? pickupFromText(*text) : std::nullopt;
}

void TPracticeMemory::rememberPickupBeats(const QString& path, const QString& hash, double beats)
{
    if (isPickupBeats(beats)) {
        m_pickups.remember(path, hash, QString::number(beats, 'g', QLocale::FloatingPointShortest));
    }
}

std::optional<BarLoop> TPracticeMemory::recallLoop(const QString& path, const QString& hash) const
{
    const std::optional<QString> text = m_loops.recall(path, hash);
    return text ? loopFromText(*text) : std::nullopt;
}

void TPracticeMemory::rememberLoop(const QString& path, const QString& hash, const std::optional<BarLoop>& loop)
{
    m_loops.remember(path, hash, loop ? loopText(*loop) : QStringLiteral("none"));
}

std::optional<TPlayingValues> TPracticeMemory::recallPlaying(const QString& path, const QString& hash) const
{
    const std::optional<QString> text = m_playing.recall(path, hash);
    return text ? playingFromText(*text) : std::nullopt;
}

void TPracticeMemory::rememberPlaying(const QString& path, const QString& hash, const TPlayingValues& values)
{
    if (playingFromText(playingText(values))) {
        m_playing.remember(path, hash, playingText(values));
    }
}

} // namespace harmonet
