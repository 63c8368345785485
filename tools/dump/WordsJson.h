#pragma once

#include "tools/dump/TextOutput.h"

namespace harmonet {
class TMidiFile;
}

namespace harmonet::tools {

// Writes how the song's words are understood as one JSON object: the
// encoding found for its texts, every voice (track with a panel, in panel
// order) with the words track chosen for it (-1 for none), and every source
// of words with its kind and its syllables as [tick, text]. Texts are decoded
// and written as UTF-8, karaoke marks removed.
void writeWordsJson(TextOutput& out, const TMidiFile& song);

} // namespace harmonet::tools
