#include "persist/ExtractField.h"

namespace harmonet {

namespace {

bool isBlank(QChar c) { return c.unicode() <= 32; }

} // namespace

QString ExtractField(const QString& line, int n, QChar separator)
{
    if (n < 0)
        return {};
    qsizetype start = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype next = line.indexOf(separator, start);
        if (next < 0)
            return {};
        start = next + 1;
    }
    qsizetype end = line.indexOf(separator, start);
    if (end < 0)
        end = line.size();
    while (start < end && isBlank(line.at(start)))
        ++start;
    while (end > start && isBlank(line.at(end - 1)))
        --end;
    return line.mid(start, end - start);
}

} // namespace harmonet
