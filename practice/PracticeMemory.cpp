#include "practice/PracticeMemory.h"

#include <QCryptographicHash>
#include <QLocale>

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

} // namespace

TPracticeMemory::TPracticeMemory()
    : m_choices(keyPath(), [](const QString& text) { return choiceFromText(text).has_value(); }),
      m_pickups(pickupKeyPath(), [](const QString& text) { return pickupFromText(text).has_value(); }),
      // "none": the file's loop was cleared.
      m_loops(loopKeyPath(),
              [](const QString& text) { return text == QLatin1String("none") || loopFromText(text).has_value(); })
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

QString TPracticeMemory::loopKeyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticeLoops");
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

} // namespace harmonet
