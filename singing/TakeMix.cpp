#include "singing/TakeMix.h"

#include "render/SongRenderer.h"
#include "session/Song.h"

#include <algorithm>
#include <cmath>

namespace harmonet {

SongSettings settingsBesideTake(const TakeWithSong& take)
{
    SongSettings settings = take.settings;
    // Silent by its track's mute (a voice sharing my part's track falls silent with it).
    const int part = take.choice.part.track;
    if (take.part == PartBesideTake::Muted && part >= 0 && part < int(settings.tracks.size())) {
        settings.tracks[std::size_t(part)].muted = true;
    }
    return settings;
}

PracticeChoice choiceBesideTake(const TakeWithSong& take)
{
    return take.part == PartBesideTake::Emphasised ? take.choice : PracticeChoice{};
}

bool exportTake(const TakeWithSong& take, const QString& path, AudioFormat format, const AudioTags& tags,
                const std::function<bool(int percent)>& progress)
{
    SongRenderer renderer(take.sampleRate);
    renderer.setSettings(settingsBesideTake(take));
    renderer.setPracticeChoice(choiceBesideTake(take));
    AudioFileWriter writer(path, format, take.sampleRate, tags);
    // The take's sample that sounds with the song's frame f is f - firstFrame.
    const qint64 firstFrame = std::llround(take.takeStartMs * take.sampleRate / 1000.0);
    qint64 frame = 0;
    std::vector<qint16> mixed;
    const bool complete = renderer.render(
        take.song,
        [&](std::span<const qint16> stereo) {
            mixed.assign(stereo.begin(), stereo.end());
            for (std::size_t i = 0; i + 1 < mixed.size(); i += 2, ++frame) {
                const qint64 index = frame - firstFrame;
                if (index < 0 || index >= qint64(take.take.size())) {
                    continue;
                }
                const float voice = take.take[std::size_t(index)];
                const float sample = std::isfinite(voice) ? std::clamp(voice, -1.0f, 1.0f) * 32767.0f : 0.0f;
                for (std::size_t c = i; c < i + 2; ++c) {
                    mixed[c] = qint16(std::clamp(std::lround(mixed[c] + sample), -32768L, 32767L));
                }
            }
            writer.write(mixed);
        },
        SongRenderer::inPercent(progress));
    if (!complete) {
        return false;
    }
    writer.commit();
    return true;
}

} // namespace harmonet
