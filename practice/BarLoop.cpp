#include "practice/BarLoop.h"

#include <QRegularExpression>

namespace harmonet {

namespace {
constexpr qint64 HighestBar = 1000000;
constexpr int MostPasses = 100;
} // namespace

QString loopText(const BarLoop& loop)
{
    QString text = QStringLiteral("%1-%2").arg(loop.firstBar).arg(loop.lastBar);
    if (loop.passes > 0) {
        text += QStringLiteral("x%1").arg(loop.passes);
    }
    return text;
}

std::optional<BarLoop> loopFromText(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,7})-(\\d{1,7})(?:x(\\d{1,3}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const BarLoop loop{match.captured(1).toLongLong(), match.captured(2).toLongLong(),
                       match.hasCaptured(3) ? match.captured(3).toInt() : 0};
    if (loop.lastBar < loop.firstBar || loop.lastBar > HighestBar || loop.passes > MostPasses) {
        return std::nullopt;
    }
    return loop;
}

} // namespace harmonet
