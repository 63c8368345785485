#include "singing/MyPart.h"

namespace harmonet {

std::optional<TVoice> voiceNamed(const QList<TVoice>& voices, const QString& nameOrNumber)
{
    bool isNumber = false;
    const int number = nameOrNumber.toInt(&isNumber);
    if (isNumber) {
        return number >= 1 && number <= voices.size() ? std::optional<TVoice>(voices[number - 1]) : std::nullopt;
    }
    const QString wanted = nameOrNumber.trimmed();
    for (const TVoice& voice : voices) {
        if (voice.name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return voice;
        }
    }
    return std::nullopt;
}

} // namespace harmonet
