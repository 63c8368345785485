#pragma once

#include "singing/NoteScoring.h"

#include <QByteArray>

#include <span>

namespace harmonet::tools {

// {"notes":[{"bar","beat","key","cents","octaves","onsetMs","verdict"}],
//  "summary":{"notes","sung","missed","within50Cents","meanAbsCents","lateOver100Ms","worstBars":[{"bar","badness"}]}}
// with cents and onsetMs null where they are unknown, as one line.
QByteArray scoreJson(std::span<const NoteResult> results, const TakeSummary& summary);

} // namespace harmonet::tools
