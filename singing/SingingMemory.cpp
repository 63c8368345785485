#include "singing/SingingMemory.h"

#include "persist/SettingsStore.h"

#include <QStringList>

#include <cmath>

namespace harmonet {

namespace {

const QLatin1Char FieldSeparator(',');
const QLatin1Char PassSeparator(';');

QString latencyKeyPath()
{
    return QStringLiteral("Software\\Harmonet\\SingAlongLatency");
}

// A device's name as a value name: no key separators in it.
QString latencyValueName(const QString& device)
{
    QString name = device;
    name.replace(QLatin1Char('\\'), QLatin1Char('_')).replace(QLatin1Char('/'), QLatin1Char('_'));
    return name.isEmpty() ? QStringLiteral("_") : name;
}

bool isPassList(const QString& text)
{
    const QStringList passes = text.split(PassSeparator);
    return std::all_of(passes.begin(), passes.end(), [](const QString& pass) { return passFromText(pass).has_value(); });
}

} // namespace

QString passText(const PassRecord& pass)
{
    return QStringList{pass.when.toUTC().toString(Qt::ISODate),
                       QStringLiteral("%1-%2").arg(pass.fromBar).arg(pass.toBar),
                       QString::number(pass.bpm),
                       QString::number(pass.notes),
                       QString::number(pass.withinTolerance),
                       QString::number(pass.late),
                       QString::number(pass.meanAbsCents, 'f', 1)}
        .join(FieldSeparator);
}

std::optional<PassRecord> passFromText(const QString& text)
{
    const QStringList fields = text.split(FieldSeparator);
    if (fields.size() != 7) {
        return std::nullopt;
    }
    PassRecord pass;
    pass.when = QDateTime::fromString(fields[0], Qt::ISODate);
    const QStringList bars = fields[1].split(QLatin1Char('-'));
    bool ok[7] = {};
    if (bars.size() == 2) {
        pass.fromBar = bars[0].toLongLong(&ok[0]);
        pass.toBar = bars[1].toLongLong(&ok[1]);
    }
    pass.bpm = fields[2].toInt(&ok[2]);
    pass.notes = fields[3].toInt(&ok[3]);
    pass.withinTolerance = fields[4].toInt(&ok[4]);
    pass.late = fields[5].toInt(&ok[5]);
    pass.meanAbsCents = fields[6].toDouble(&ok[6]);
    if (!pass.when.isValid() || !std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; })
        || pass.notes < 0 || pass.withinTolerance < 0 || pass.withinTolerance > pass.notes || pass.late < 0
        || pass.late > pass.notes || pass.bpm < 0 || !std::isfinite(pass.meanAbsCents) || pass.meanAbsCents < 0) {
        return std::nullopt;
    }
    return pass;
}

TSingingMemory::TSingingMemory()
    : m_passes(QStringLiteral("Software\\Harmonet\\SingAlong"), isPassList)
{
}

QList<PassRecord> TSingingMemory::passes(const QString& path, const QString& hash) const
{
    QList<PassRecord> passes;
    if (const std::optional<QString> text = m_passes.recall(path, hash)) {
        for (const QString& each : text->split(PassSeparator)) {
            if (const std::optional<PassRecord> pass = passFromText(each)) {
                passes.append(*pass);
            }
        }
    }
    return passes;
}

void TSingingMemory::addPass(const QString& path, const QString& hash, const PassRecord& pass)
{
    QList<PassRecord> all = passes(path, hash);
    all.append(pass);
    QStringList texts;
    for (qsizetype i = std::max<qsizetype>(0, all.size() - MaxPasses); i < all.size(); ++i) {
        texts.append(passText(all[i]));
    }
    m_passes.remember(path, hash, texts.join(PassSeparator));
}

std::optional<int> TSingingMemory::latencyMs(const QString& device) const
{
    try {
        TSettingsStore store(CURRENT_USER);
        if (!store.openKey(latencyKeyPath(), false)) {
            return std::nullopt;
        }
        bool ok = false;
        const int ms = store.readString(latencyValueName(device)).toInt(&ok);
        return ok && ms >= 0 && ms <= LongestLatencyMs ? std::optional<int>(ms) : std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

void TSingingMemory::rememberLatency(const QString& device, int ms)
{
    if (ms < 0 || ms > LongestLatencyMs) {
        return;
    }
    try {
        TSettingsStore store(CURRENT_USER);
        if (store.openKey(latencyKeyPath(), true)) {
            store.writeString(latencyValueName(device), QString::number(ms));
            store.flush();
        }
    } catch (...) {
        // A store that cannot be written keeps what it had.
    }
}

} // namespace harmonet
