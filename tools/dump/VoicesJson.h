#pragma once

#include "tools/dump/TextOutput.h"

namespace harmonet {
class TMidiFile;
}

namespace harmonet::tools {

// Writes the voices a singer can follow as one JSON object: for each voice
// its name, the track's own name, the track and channel (1..16) it comes
// from, whether it shares that channel with other voices, the words track
// paired with it (-1 for none) and its notes as [tick, key, length].
void writeVoicesJson(TextOutput& out, const TMidiFile& song);

} // namespace harmonet::tools
