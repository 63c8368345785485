#pragma once

#include <QChar>
#include <QString>

namespace harmonet {

// Field n (counted from 0) of a line of fields separated by the separator: the
// characters after the n-th separator and before the next one or the end, with
// blanks and control characters (codes 0 to 32) removed at both ends. A field
// past the last separator is empty.
QString ExtractField(const QString& line, int n, QChar separator);

} // namespace harmonet
