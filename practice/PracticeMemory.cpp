#include "practice/PracticeMemory.h"

#include "practice/Clicks.h"
#include "practice/Transposition.h"

#include <QCryptographicHash>
#include <QLocale>
#include <QStringList>

#include <cmath>

namespace harmonet {

namespace {

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

TPracticeMemory::TPracticeMemory()
    : m_choices(keyPath(), [](const QString& text) { return choiceFromText(text).has_value(); }),
      m_pickups(pickupKeyPath(), [](const QString& text) { return pickupFromText(text).has_value(); }),
      m_playing(playingKeyPath(), [](const QString& text) { return playingFromText(text).has_value(); })
{
}

QString TPracticeMemory::keyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticeParts");
}

QString TPracticeMemory::pickupKeyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticePickups");
}

QString TPracticeMemory::playingKeyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticePlaying");
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
