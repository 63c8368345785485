// A loop rendered to a file: bars 2 and 3 of a click song, three times over,
// also with a bar counted in before each pass. Every click sounds at the
// sample where its place in its pass puts it, the wraps included; a note held
// across the loop's end is over before the loop's start plays again; nothing
// sounds after the last pass.
#include "render/SongRenderer.h"
#include "sequencer/SmfWriter.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "session/SoundingNotes.h"
#include "tests/practice/AudioMeasure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace harmonet::test {
namespace {

constexpr int SampleRate = 44100;
constexpr int BarMs = 4000; // 4/4 at 60 bpm
constexpr int ClickKey = 84;
constexpr int HeldKey = 48;

// Four bars at 60 bpm, 480 ticks a quarter: a piano click on the first and
// third beat of every bar (channel 1), and an organ note on channel 2 from
// the last beat of bar 3 to the second beat of bar 4.
QByteArray clickSong()
{
    SmfWriter writer;
    writer.header(1, 3, 480);
    writer.beginTrack().tempo(0, 1000000).timeSignature(0, 4, 2).endOfTrack().endTrack();
    writer.beginTrack().meta(0, 0x03, "Clicks").programChange(0, 0, 0);
    for (int click = 0; click < 8; ++click) {
        writer.noteOn(click == 0 ? 0 : 840, 0, ClickKey, 127).noteOff(120, 0, ClickKey);
    }
    writer.endOfTrack().endTrack();
    writer.beginTrack().meta(0, 0x03, "Organ").programChange(0, 1, 19).noteOn(5280, 1, HeldKey, 100)
        .noteOff(1440, 1, HeldKey).endOfTrack().endTrack();
    return writer.bytes();
}

// The first frame from `from` on that rises well above what sounded just
// before it (the tail of the click before), or -1.
long long onsetFrom(const std::vector<qint16>& stereo, long long from)
{
    const long long frames = (long long)(stereo.size() / 2);
    const auto level = [&stereo](long long frame) {
        return std::max(std::abs(int(stereo[std::size_t(2 * frame)])), std::abs(int(stereo[std::size_t(2 * frame + 1)])));
    };
    int background = 0;
    for (long long frame = std::max(0LL, from - 441); frame < from && frame < frames; ++frame) {
        background = std::max(background, level(frame));
    }
    for (long long frame = std::max(0LL, from); frame < frames; ++frame) {
        if (level(frame) > std::max(30, background + 300)) {
            return frame;
        }
    }
    return -1;
}

TEST(LoopRender, ClicksFallOnTheirSamplesThroughEveryWrapAndNothingIsHeldAcross)
{
    HARMONET_REQUIRE_SOUNDFONT();
    const std::shared_ptr<const Song> song = Song::fromBytes(clickSong());
    const struct {
        const char* what;
        int countInBars;
        bool beforeEachPass;
    } cases[] = {
        {"without a count-in", 0, false},
        {"a bar counted in before each pass", 1, true},
    };
    for (const auto& c : cases) {
        PlayingSession session;
        session.setSong(song);
        session.setLoop(2, 3, 3);
        // The organ kept soft, so the clicks stand out of it where it is released.
        SongSettings settings = session.settings();
        settings.trackMixerInForce = true;
        settings.tracks[2].volume = 20;
        settings.clicks.countInBars = c.countInBars;
        settings.clicks.beforeEachPass = c.beforeEachPass;
        SongRenderer renderer(SampleRate);
        renderer.setSettings(settings);
        const int countInMs = c.countInBars * BarMs;
        // Each pass of two bars after its count-in.
        const auto passStartMs = [&](int pass) { return (c.beforeEachPass ? pass + 1 : 1) * countInMs + pass * 2 * BarMs; };

        SoundingNotes sounding;
        int clicks = 0;
        int countInClicks = 0;
        int heldAtAClick = 0;
        int heldNotes = 0;
        renderer.setMessageTap([&](const TMyMidiEvent& message, const std::optional<TDue>&) {
            if (message.StatusByte == 0x90 && message.FirstData == ClickKey && message.SecondData > 0) {
                ++clicks;
                sounding.forEach([&](int channel, int) { heldAtAClick += channel == 2 ? 1 : 0; });
            }
            if (message.StatusByte == 0x91 && message.FirstData == HeldKey && message.SecondData > 0) {
                ++heldNotes;
            }
            if (message.StatusByte == 0x99 && message.SecondData > 0) {
                ++countInClicks;
            }
            sounding.take(message);
        });
        std::vector<qint16> audio;
        renderer.render(song,
                        [&audio](std::span<const qint16> block) { audio.insert(audio.end(), block.begin(), block.end()); });

        EXPECT_EQ((long long)(audio.size() / 2), renderer.frameCount(*song)) << c.what;
        EXPECT_EQ((long long)(audio.size() / 2), (passStartMs(2) + 2LL * BarMs + SongRenderer::tailMs) * SampleRate / 1000)
            << c.what;
        EXPECT_EQ(clicks, 3 * 4) << c.what << ": two bars of two clicks, three times";
        EXPECT_EQ(countInClicks, (c.beforeEachPass ? 3 : 1) * 4 * c.countInBars) << c.what;
        EXPECT_EQ(heldNotes, 3) << c.what;
        EXPECT_EQ(heldAtAClick, 0) << c.what << ": the organ note held across the loop's end is released at the wrap";
        EXPECT_EQ(sounding.count(), 0) << c.what << ": nothing is left sounding after the last pass";

        for (int pass = 0; pass < 3; ++pass) {
            for (int click = 0; click < 4; ++click) {
                const long long due = (long long)(passStartMs(pass) + click * BarMs / 2) * SampleRate / 1000;
                const long long onset = onsetFrom(audio, due - 300);
                // The synthesizer starts a voice at its next block of 64 frames.
                EXPECT_GE(onset, due) << c.what << ", pass " << pass + 1 << ", click " << click + 1;
                EXPECT_LE(onset, due + 64 + 64) << c.what << ", pass " << pass + 1 << ", click " << click + 1;
            }
        }
        const long long end = (passStartMs(2) + 2LL * BarMs) * SampleRate / 1000;
        const long long after = onsetFrom(audio, end - 300);
        EXPECT_TRUE(after < 0 || after > end + SampleRate) << c.what << ": bar 4 is not played: " << after;
    }
}

} // namespace
} // namespace harmonet::test
