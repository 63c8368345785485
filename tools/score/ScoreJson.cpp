#include "tools/score/ScoreJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace harmonet::tools {

namespace {

// Tenths are as fine as a singer's ear (or a microphone) can tell.
double tenths(double value)
{
    return std::round(value * 10.0) / 10.0;
}

QJsonValue optionalValue(const std::optional<double>& value, double (*round)(double))
{
    return value ? QJsonValue(round(*value)) : QJsonValue(QJsonValue::Null);
}

double wholeMs(double value)
{
    return std::round(value);
}

} // namespace

QByteArray scoreJson(std::span<const NoteResult> results, const TakeSummary& summary)
{
    QJsonArray notes;
    for (const NoteResult& result : results) {
        notes.append(QJsonObject{
            {QStringLiteral("bar"), qint64(result.note.bar)},
            {QStringLiteral("beat"), tenths(result.note.beat)},
            {QStringLiteral("key"), result.note.key},
            {QStringLiteral("cents"), optionalValue(result.cents, tenths)},
            {QStringLiteral("octaves"), result.octaves},
            {QStringLiteral("onsetMs"), optionalValue(result.onsetMs, wholeMs)},
            {QStringLiteral("verdict"), verdictName(result.verdict)},
        });
    }
    QJsonArray worstBars;
    for (const BarScore& bar : summary.worstBars) {
        worstBars.append(QJsonObject{{QStringLiteral("bar"), qint64(bar.bar)},
                                     {QStringLiteral("badness"), tenths(bar.badness)}});
    }
    const QJsonObject summaryObject{
        {QStringLiteral("notes"), summary.notes},
        {QStringLiteral("sung"), summary.sung},
        {QStringLiteral("missed"), summary.missed},
        {QStringLiteral("within50Cents"), summary.withinTolerance},
        {QStringLiteral("meanAbsCents"), tenths(summary.meanAbsCents)},
        {QStringLiteral("lateOver100Ms"), summary.late},
        {QStringLiteral("worstBars"), worstBars},
    };
    return QJsonDocument(QJsonObject{{QStringLiteral("notes"), notes}, {QStringLiteral("summary"), summaryObject}})
               .toJson(QJsonDocument::Compact)
           + '\n';
}

} // namespace harmonet::tools
