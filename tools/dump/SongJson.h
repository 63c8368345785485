#pragma once

#include "tools/dump/TextOutput.h"

#include <QString>
#include <optional>

namespace harmonet {
class TMidiFile;
}

namespace harmonet::tools {

// Writes the loaded model of song as one JSON object: the file's facts, the
// message of the failed load (null when it succeeded) and every track with
// its facts and events as [Status, Value1, Value2, DeltaTicks, Ticks,
// NoteTicks, Text]. Texts keep their bytes as Latin-1 characters.
void writeSongJson(TextOutput& out, const TMidiFile& song, const std::optional<QString>& loadError);

} // namespace harmonet::tools
