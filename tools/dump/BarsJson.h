#pragma once

#include "tools/dump/TextOutput.h"

#include <QtGlobal>

namespace harmonet {
class TBarMap;
}

namespace harmonet::tools {

// The most bars listed; a hostile file may hold billions of one tick each.
inline constexpr qint64 MostBarsListed = 100000;

// Writes a bar map as one JSON object: the upbeat found (its beats and where
// they come from: "file", "hand" or "none"), the first and last bar, and
// every bar with its number, tick, milliseconds, metre and length in beats,
// then how many bars were left out beyond MostBarsListed.
void writeBarsJson(TextOutput& out, const TBarMap& bars);

} // namespace harmonet::tools
