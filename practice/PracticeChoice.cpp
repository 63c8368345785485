#include "practice/PracticeChoice.h"

#include <QStringList>

#include <algorithm>

namespace harmonet {

namespace {

QString partText(const VoiceKey& part)
{
    if (!part.isVoice()) {
        return QStringLiteral("-1");
    }
    if (part.channel == 0) {
        return QString::number(part.track);
    }
    return QStringLiteral("%1.%2.%3").arg(part.track).arg(part.channel).arg(part.part);
}

// "-1", a track alone, or "track.channel.place".
std::optional<VoiceKey> partFromText(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char('.'));
    if (fields.size() != 1 && fields.size() != 3) {
        return std::nullopt;
    }
    int values[3] = {0, 0, 0};
    for (qsizetype i = 0; i < fields.size(); ++i) {
        bool ok = false;
        values[i] = fields[i].toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    if (fields.size() == 1) {
        return values[0] == -1 ? std::optional<VoiceKey>(PracticeChoice::NoPart)
               : values[0] >= 0 ? std::optional<VoiceKey>(VoiceKey{values[0], 0, 0})
                                : std::nullopt;
    }
    if (values[0] < 0 || values[1] < 1 || values[1] > 16 || values[2] < 0) {
        return std::nullopt;
    }
    return VoiceKey{values[0], values[1], values[2]};
}

} // namespace

int boundedOthersDb(int db)
{
    return std::clamp(db, PracticeChoice::SilentDb, 0);
}

QString choiceText(const PracticeChoice& choice)
{
    const QString text = QStringLiteral("%1;%2;%3;%4")
                             .arg(partText(choice.part))
                             .arg(choice.othersDb)
                             .arg(choice.panned ? 1 : 0)
                             .arg(choice.side == PanSide::Right ? QStringLiteral("right") : QStringLiteral("left"));
    return choice.withoutMyPart ? text + QLatin1String(";without") : text;
}

std::optional<PracticeChoice> choiceFromText(const QString& text)
{
    QStringList fields = text.split(QLatin1Char(';'));
    const bool without = fields.size() == 5 && fields[4] == QLatin1String("without");
    if (without) {
        fields.removeLast();
    }
    if (fields.size() != 4) {
        return std::nullopt;
    }
    bool levelOk = false;
    const std::optional<VoiceKey> part = partFromText(fields[0]);
    PracticeChoice choice;
    choice.othersDb = fields[1].toInt(&levelOk);
    if (!part || !levelOk || choice.othersDb > 0
        || (fields[2] != QLatin1String("0") && fields[2] != QLatin1String("1"))
        || (fields[3] != QLatin1String("left") && fields[3] != QLatin1String("right"))) {
        return std::nullopt;
    }
    choice.part = *part;
    choice.othersDb = boundedOthersDb(choice.othersDb);
    choice.panned = fields[2] == QLatin1String("1");
    choice.side = fields[3] == QLatin1String("right") ? PanSide::Right : PanSide::Left;
    choice.withoutMyPart = without;
    return choice;
}

} // namespace harmonet
