#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

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

// The text form of a loop as it is remembered: "12-20", with "x3" after it
// for three passes.
QString loopText(const BarLoop& loop);
// The loop of a text form (bars in order, 0 to a million, passes up to 100),
// or nothing when the text is not one.
std::optional<BarLoop> loopFromText(const QString& text);

} // namespace harmonet
