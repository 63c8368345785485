#include "singing/MyPart.h"

#include "practice/PracticeMix.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SongWords.h"

namespace harmonet {

namespace {

QList<TVoice> voicesOf(const TMidiFile& song)
{
    TSongWords words;
    words.build(song);
    return findVoices(song, words);
}

} // namespace

std::optional<TVoice> voiceOfTrack(const TMidiFile& song, int track)
{
    for (const TVoice& voice : voicesOf(song)) {
        if (voice.track == track) {
            return voice;
        }
    }
    return std::nullopt;
}

std::optional<TVoice> voiceNamed(const TMidiFile& song, const QString& nameOrNumber)
{
    const std::vector<SongVoice> numbered = songVoices(song);
    bool isNumber = false;
    const int number = nameOrNumber.toInt(&isNumber);
    if (isNumber) {
        return number >= 1 && number <= int(numbered.size()) ? voiceOfTrack(song, numbered[std::size_t(number - 1)].track)
                                                               : std::nullopt;
    }
    const QString wanted = nameOrNumber.trimmed();
    const QList<TVoice> voices = voicesOf(song);
    for (const TVoice& voice : voices) {
        if (voice.name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return voice;
        }
    }
    for (const SongVoice& voice : numbered) {
        if (voice.name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return voiceOfTrack(song, voice.track);
        }
    }
    return std::nullopt;
}

} // namespace harmonet
