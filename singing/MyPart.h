#pragma once

#include "practice/VoiceModel.h"

#include <QList>
#include <QString>

#include <optional>

namespace harmonet {

// The voice named on a command line among the song's voices: its number
// (from 1, as the render tool numbers them) or its name, regardless of
// case; nothing when the song has no such voice.
std::optional<TVoice> voiceNamed(const QList<TVoice>& voices, const QString& nameOrNumber);

} // namespace harmonet
