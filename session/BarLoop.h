#pragma once

#include <QtGlobal>

namespace harmonet {

// A passage of bars played over and over: from the start of firstBar to the
// end of lastBar (bar numbers as printed), passes times in all, then on
// (0: until it is cleared).
struct BarLoop {
    qint64 firstBar = 1;
    qint64 lastBar = 1;
    int passes = 0;
    bool operator==(const BarLoop&) const = default;
};

} // namespace harmonet
