#pragma once

#include "practice/PracticeChoice.h"
#include "render/AudioFileWriter.h"
#include "session/SongSettings.h"

#include <functional>
#include <memory>
#include <vector>

namespace harmonet {

class Song;

// How my part sounds beside my take: silent (the take sings it) or emphasised.
enum class PartBesideTake { Muted, Emphasised };

// A take and the song it was sung with.
struct TakeWithSong {
    std::shared_ptr<const Song> song;
    SongSettings settings;
    // My part and the mix the singer practises with.
    PracticeChoice choice;
    PartBesideTake part = PartBesideTake::Muted;
    // Mono samples, and where the first of them lies on the song's timeline.
    std::vector<float> take;
    int sampleRate = 44100;
    double takeStartMs = 0.0;
};

// The settings and choice the song renders with beside the take.
SongSettings settingsBesideTake(const TakeWithSong& take);
PracticeChoice choiceBesideTake(const TakeWithSong& take);

// Writes the song with the take mixed in at its place on the song's timeline,
// through the writer and formats of the practice tracks. progress (0..100)
// may stop it by returning false; the file is then not left behind. Raises
// EAudioFileError when the file cannot be written and EmidioutputError when
// the synthesizer cannot be opened.
bool exportTake(const TakeWithSong& take, const QString& path, AudioFormat format, const AudioTags& tags,
                const std::function<bool(int percent)>& progress = {});

} // namespace harmonet
