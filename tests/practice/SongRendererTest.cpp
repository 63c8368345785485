// The offline renderer: events sound from their own sample (not from a
// timer's step), the tracks' mutes apply as in the player, and the song
// plus its tail is rendered to the frame. Skipped without a SoundFont.
#include "render/SongRenderer.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "sequencer/SmfWriter.h"
#include "tests/practice/AudioMeasure.h"
#include "tests/practice/PracticeSongs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace harmonet::test {
namespace {

constexpr int SampleRate = 44100;

std::vector<qint16> renderAll(SongRenderer& renderer, const std::shared_ptr<const Song>& song)
{
    std::vector<qint16> all;
    renderer.render(song, [&all](std::span<const qint16> block) { all.insert(all.end(), block.begin(), block.end()); });
    return all;
}

long long firstSoundingFrame(const std::vector<qint16>& stereo, long long from)
{
    for (long long frame = std::max(0LL, from); frame < (long long)(stereo.size() / 2); ++frame) {
        if (std::abs(stereo[std::size_t(2 * frame)]) > 30 || std::abs(stereo[std::size_t(2 * frame + 1)]) > 30) {
            return frame;
        }
    }
    return -1;
}

TEST(SongRenderer, NotesSoundFromTheirOwnSampleNotFromATimerStep)
{
    HARMONET_REQUIRE_SOUNDFONT();
    // Piano notes far apart at 7, 1003 and 2306 ticks: 480 ticks a quarter at
    // 500000 us, so times that fall between any milliseconds' steps.
    const int ticks[] = {7, 1003, 2306};
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack().tempo(0, 500000).programChange(0, 0, 0);
    int now = 0;
    for (int at : ticks) {
        writer.noteOn(quint64(at - now), 0, 72, 120).noteOff(100, 0, 72);
        now = at + 100;
    }
    writer.endOfTrack().endTrack();
    const std::shared_ptr<const Song> played = Song::fromBytes(writer.bytes());
    const TMidiFile& song = played->file();

    SongRenderer renderer(SampleRate);
    const std::vector<qint16> audio = renderAll(renderer, played);
    EXPECT_EQ((long long)(audio.size() / 2), renderer.frameCount(*played));
    EXPECT_EQ(renderer.frameCount(*played), (song.SongLengthMs() + SongRenderer::tailMs) * SampleRate / 1000);
    for (int at : ticks) {
        const double due = at * song.MicrosecondsPerTick() * SampleRate / 1e6;
        const long long onset = firstSoundingFrame(audio, (long long)due - 500);
        // The synthesizer starts a voice at its next block of 64 frames, and
        // the piano's attack takes a few more to be heard.
        EXPECT_GE(onset, (long long)due) << at;
        EXPECT_LE(onset, (long long)due + 64 + 64) << at;
    }
}

TEST(SongRenderer, AMutedTrackIsSilentAndAStopLeavesTheRestUnrendered)
{
    HARMONET_REQUIRE_SOUNDFONT();
    const std::shared_ptr<const Song> song = Song::fromBytes(windowedSong());
    PlayingSession session;
    session.setSong(song);
    session.setMuted(2, true);
    SongRenderer renderer(SampleRate);
    renderer.setSettings(session.settings());
    const std::vector<qint16> audio = renderAll(renderer, song);
    const auto peak = [&audio](int fromMs, int toMs) {
        int loudest = 0;
        for (std::size_t i = std::size_t(fromMs) * SampleRate / 500; i < std::size_t(toMs) * SampleRate / 500; ++i) {
            loudest = std::max(loudest, std::abs(int(audio[i])));
        }
        return loudest;
    };
    const int soprano = peak(SopranoFromMs, SopranoFromMs + VoiceWindowMs);
    EXPECT_GT(soprano, 1000);
    // What is left there is the soprano's reverberation.
    EXPECT_LT(peak(AltoFromMs + 100, AltoFromMs + VoiceWindowMs), soprano / 50) << "the alto is muted";

    qint64 rendered = 0;
    SongRenderer stopping(SampleRate);
    const bool complete = stopping.render(
        song, [&](std::span<const qint16> block) { rendered += qint64(block.size() / 2); },
        [](qint64 done, qint64) { return done < 10000; });
    EXPECT_FALSE(complete);
    EXPECT_LT(rendered, 10000 + SongRenderer::blockFrames);
}

} // namespace
} // namespace harmonet::test
