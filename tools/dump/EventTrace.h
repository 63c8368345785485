#pragma once

#include "tools/dump/TextOutput.h"

namespace harmonet {
class TMidiFile;
}

namespace harmonet::tools {

// Plays song on a hand-driven clock: starts it at time 0, then advances it to
// stepMs, 2 x stepMs, ... up to two steps past its length, and writes one line
// "<ms> <track index> <event index>" for every event the engine dispatches.
// Leaves the song halted with no handler and its usual clock.
void writeEventTrace(TextOutput& out, TMidiFile& song, int stepMs);

} // namespace harmonet::tools
