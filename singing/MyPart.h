#pragma once

#include "practice/VoiceModel.h"

#include <QString>

#include <optional>

namespace harmonet {

class TMidiFile;

// The voice a singer sings from the song: the voice on the track of her
// practice choice (the top one where voices share the track's channel).
std::optional<TVoice> voiceOfTrack(const TMidiFile& song, int track);

// The voice named on a command line: its number among the song's voices
// (from 1, as the render tool numbers them) or its name, regardless of
// case; nothing when the song has no such voice.
std::optional<TVoice> voiceNamed(const TMidiFile& song, const QString& nameOrNumber);

} // namespace harmonet
