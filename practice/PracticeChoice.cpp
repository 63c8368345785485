#include "practice/PracticeChoice.h"

#include <QStringList>

#include <algorithm>

namespace harmonet {

int boundedOthersDb(int db)
{
    return std::clamp(db, PracticeChoice::SilentDb, 0);
}

QString choiceText(const PracticeChoice& choice)
{
    const QString text = QStringLiteral("%1;%2;%3;%4")
                             .arg(choice.part)
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
    bool partOk = false;
    bool levelOk = false;
    PracticeChoice choice;
    choice.part = fields[0].toInt(&partOk);
    choice.othersDb = fields[1].toInt(&levelOk);
    if (!partOk || !levelOk || choice.part < PracticeChoice::NoPart || choice.othersDb > 0
        || (fields[2] != QLatin1String("0") && fields[2] != QLatin1String("1"))
        || (fields[3] != QLatin1String("left") && fields[3] != QLatin1String("right"))) {
        return std::nullopt;
    }
    choice.othersDb = boundedOthersDb(choice.othersDb);
    choice.panned = fields[2] == QLatin1String("1");
    choice.side = fields[3] == QLatin1String("right") ? PanSide::Right : PanSide::Left;
    choice.withoutMyPart = without;
    return choice;
}

} // namespace harmonet
