// Rendered and measured: the count-in's clicks fall on the beat grid of the
// playing tempo and the song starts on the beat after them; a transposed
// song sounds its held note that many cents higher while the drums sound
// as before; "give me my note" sounds my part's next note, transposed.
// Skipped without a SoundFont.
#include "midiout/MidiMessage.h"
#include "midiout/Synthesizer.h"
#include "render/SongRenderer.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"
#include "session/MidiSink.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "tests/practice/AudioMeasure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace harmonet::test {
namespace {

constexpr int SampleRate = 44100;
constexpr int Division = 480;
constexpr int Flute = 73;

long long frameAt(double ms)
{
    return std::llround(ms * SampleRate / 1000.0);
}

double rms(const std::vector<qint16>& stereo, long long from, long long to)
{
    double sum = 0.0;
    long long count = 0;
    for (long long frame = std::max(0LL, from); frame < to && 2 * frame + 1 < (long long)stereo.size(); ++frame) {
        for (int side = 0; side < 2; ++side) {
            const double sample = stereo[std::size_t(2 * frame + side)];
            sum += sample * sample;
            ++count;
        }
    }
    return count > 0 ? std::sqrt(sum / double(count)) : 0.0;
}

// The fundamental between two times, by the autocorrelation of the left
// side: the shortest lag nearly as alike as the best, refined between its
// neighbours.
double pitchHz(const std::vector<qint16>& stereo, int fromMs, int toMs)
{
    std::vector<double> x;
    for (long long frame = frameAt(fromMs); frame < frameAt(toMs); ++frame) {
        x.push_back(stereo[std::size_t(2 * frame)]);
    }
    const int lowest = SampleRate / 2000;
    const int highest = SampleRate / 60;
    const std::size_t n = x.size() - std::size_t(highest);
    std::vector<double> alike(std::size_t(highest + 2), 0.0);
    for (int lag = lowest; lag <= highest + 1; ++lag) {
        double cross = 0.0, a = 0.0, b = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            cross += x[i] * x[i + std::size_t(lag)];
            a += x[i] * x[i];
            b += x[i + std::size_t(lag)] * x[i + std::size_t(lag)];
        }
        alike[std::size_t(lag)] = a > 0 && b > 0 ? cross / std::sqrt(a * b) : 0.0;
    }
    const double best = *std::max_element(alike.begin(), alike.end());
    for (int lag = lowest + 1; lag <= highest; ++lag) {
        const double here = alike[std::size_t(lag)];
        if (here >= 0.9 * best && here >= alike[std::size_t(lag - 1)] && here >= alike[std::size_t(lag + 1)]) {
            const double before = alike[std::size_t(lag - 1)], after = alike[std::size_t(lag + 1)];
            const double shift = 0.5 * (before - after) / (before - 2 * here + after);
            return SampleRate / (lag + shift);
        }
    }
    return 0.0;
}

double centsBetween(double fromHz, double toHz)
{
    return 1200.0 * std::log2(toHz / fromHz);
}

std::vector<qint16> render(const std::shared_ptr<const Song>& song, const SongSettings& settings,
                           std::vector<std::pair<TMyMidiEvent, TDue>>* dueMessages = nullptr)
{
    SongRenderer renderer(SampleRate);
    renderer.setSettings(settings);
    if (dueMessages) {
        renderer.setMessageTap([dueMessages](const TMyMidiEvent& message, const std::optional<TDue>& due) {
            if (due) {
                dueMessages->emplace_back(TMyMidiEvent(message.StatusByte, message.FirstData, message.SecondData), *due);
            }
        });
    }
    std::vector<qint16> all;
    renderer.render(song, [&all](std::span<const qint16> block) { all.insert(all.end(), block.begin(), block.end()); });
    EXPECT_EQ((long long)(all.size() / 2), renderer.frameCount(*song));
    return all;
}

// 4/4 at 120 bpm: a flute's A4 on the first beat, held for a bar.
std::shared_ptr<const Song> oneHeldNote()
{
    SmfWriter writer;
    writer.header(0, 1, Division);
    writer.beginTrack().tempo(0, 500000).timeSignature(0, 4, 2).programChange(0, 0, Flute);
    writer.noteOn(0, 0, 69, 100).noteOff(4 * Division, 0, 69).endOfTrack().endTrack();
    return Song::fromBytes(writer.bytes());
}

TEST(PitchClicksRender, CountInClicksFallOnTheBeatGridAtEachTempo)
{
    HARMONET_REQUIRE_SOUNDFONT();
    const std::shared_ptr<const Song> song = oneHeldNote();
    for (const int percent : {60, 100, 150}) {
        SongSettings settings;
        settings.bpm = 120 * percent / 100;
        settings.clicks.countInBars = 1;
        std::vector<std::pair<TMyMidiEvent, TDue>> due;
        const std::vector<qint16> audio = render(song, settings, &due);
        // A quarter lasts a whole number of microseconds.
        const double beatMs = (60000000 / settings.bpm) / 1000.0;
        const double countInMs = 4 * beatMs;

        std::vector<double> clicks;
        double firstNoteMs = -1.0;
        for (const auto& [message, when] : due) {
            if (message.StatusByte == 0x99 && message.SecondData > 0) {
                clicks.push_back(when.exactMs + countInMs);
                EXPECT_EQ(message.FirstData, clicks.size() == 1 ? 76 : 77) << percent << "%: the first beat accented";
            } else if (message.StatusByte == 0x90 && message.SecondData > 0 && firstNoteMs < 0) {
                firstNoteMs = when.exactMs + countInMs;
            }
        }
        ASSERT_EQ(clicks.size(), 4u) << percent << "%";
        EXPECT_NEAR(firstNoteMs, countInMs, 1e-6) << percent << "%: the song on the beat after the count-in";
        for (std::size_t k = 0; k < clicks.size(); ++k) {
            EXPECT_NEAR(clicks[k], double(k) * beatMs, 1e-6) << percent << "% click " << k;
            // Heard from its own place: quiet just before, loud within the
            // synthesizer's next block of 64 frames.
            const long long at = frameAt(double(k) * beatMs);
            const double before = rms(audio, at - frameAt(10), at);
            const double after = rms(audio, at + 64, at + 64 + frameAt(10));
            EXPECT_GT(after, 200.0) << percent << "% click " << k;
            EXPECT_GT(after, 4.0 * before) << percent << "% click " << k;
        }
    }
}

TEST(PitchClicksRender, ASongOnChannelTenLeavesTheClicksAFreeChannelWithADrumKit)
{
    HARMONET_REQUIRE_SOUNDFONT();
    // A flute on channel 1 and a quiet bass drum on channel 10 from the first beat.
    SmfWriter writer;
    writer.header(0, 1, Division);
    writer.beginTrack().tempo(0, 500000).programChange(0, 0, Flute).noteOn(0, 0, 60, 1).noteOn(0, 9, 35, 1);
    writer.noteOff(10, 9, 35).noteOff(4 * Division, 0, 60).endOfTrack().endTrack();
    SongSettings settings;
    settings.clicks.countInBars = 1;
    std::vector<std::pair<TMyMidiEvent, TDue>> due;
    const std::vector<qint16> audio = render(Song::fromBytes(writer.bytes()), settings, &due);
    const auto click = std::find_if(due.begin(), due.end(), [](const auto& sent) { return sent.first.FirstData == 76; });
    ASSERT_NE(click, due.end());
    EXPECT_EQ(click->first.StatusByte, 0x9F) << "channel 16, the last the song leaves free";
    // A wood block, not a sustained instrument: gone within a fifth of a second.
    EXPECT_LT(rms(audio, frameAt(150), frameAt(250)), 0.15 * rms(audio, 0, frameAt(50)));
}

TEST(PitchClicksRender, ATransposedSongSoundsThatManyCentsAwayWithTheDrumsAsBefore)
{
    HARMONET_REQUIRE_SOUNDFONT();
    // Drums alone for the first second, then the flute's A4 held for two.
    SmfWriter writer;
    writer.header(0, 1, Division);
    writer.beginTrack().tempo(0, 500000).programChange(0, 0, Flute);
    writer.noteOn(0, 9, 38, 110).noteOff(240, 9, 38).noteOn(0, 9, 42, 110).noteOff(240, 9, 42);
    writer.noteOn(480, 0, 69, 100).noteOff(4 * Division, 0, 69).endOfTrack().endTrack();
    const std::shared_ptr<const Song> song = Song::fromBytes(writer.bytes());

    const std::vector<qint16> asWritten = render(song, SongSettings{});
    const double writtenHz = pitchHz(asWritten, 1500, 2500);
    ASSERT_NEAR(writtenHz, 440.0, 440.0 * 0.01) << "the measure itself";
    for (const int semitones : {2, -3, 12}) {
        SongSettings settings;
        settings.transpose = semitones;
        const std::vector<qint16> moved = render(song, settings);
        EXPECT_NEAR(centsBetween(writtenHz, pitchHz(moved, 1500, 2500)), 100.0 * semitones, 5.0) << semitones;
        double largest = 0.0;
        for (long long i = 0; i < 2 * frameAt(900); ++i) {
            largest = std::max(largest, std::abs(double(moved[std::size_t(i)]) - asWritten[std::size_t(i)]));
        }
        EXPECT_LE(largest, 2.0) << semitones << ": the drums sound as written";
        EXPECT_GT(rms(moved, 0, frameAt(500)), 100.0) << "and they do sound";
    }
}

// The synthesizer playing each message as it comes, as the live one does.
class SynthNow final : public MidiSink {
public:
    SynthNow() : synth(Synthesizer::Output::Offline, SampleRate) {}
    bool isOpen() const override { return true; }
    bool isBuiltInSynthesizer() const override { return true; }
    void send(const TMyMidiEvent& message, const std::optional<TDue>&) override
    {
        if (message.SysexData) {
            synth.playSysex(QByteArray(reinterpret_cast<const char*>(message.SysexData.get()), message.SysexSize));
        } else {
            synth.play(shortMessageBytes(message.StatusByte, message.FirstData, message.SecondData));
        }
    }
    std::vector<qint16> listen(int ms)
    {
        std::vector<qint16> audio(std::size_t(2 * frameAt(ms)));
        synth.render(std::span<qint16>(audio));
        return audio;
    }
    Synthesizer synth;
};

TEST(PitchClicksRender, MyNoteIsMyPartsNextNoteTransposed)
{
    HARMONET_REQUIRE_SOUNDFONT();
    // The soprano (track 1) sings C5 then E5 from the second beat; the alto
    // (track 2) holds A3 throughout.
    SmfWriter writer;
    writer.header(1, 3, Division);
    writer.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    writer.beginTrack().programChange(0, 0, Flute).noteOn(0, 0, 72, 100).noteOff(Division, 0, 72);
    writer.noteOn(0, 0, 76, 100).noteOff(Division, 0, 76).endOfTrack().endTrack();
    writer.beginTrack().programChange(0, 1, Flute).noteOn(0, 1, 57, 100).noteOff(2 * Division, 1, 57).endOfTrack().endTrack();
    const struct {
        int atMs;
        int semitones;
        double hz;
    } cases[] = {
        {0, 0, 523.25},     // C5 where it sounds
        {250, 0, 523.25},   // still sounding halfway
        {600, 0, 659.26},   // E5 next
        {600, -2, 587.33},  // E5 two semitones down: D5
    };
    for (const auto& c : cases) {
        PlayingSession session;
        session.setSong(Song::fromBytes(writer.bytes()));
        SynthNow output;
        session.setSink(&output);
        PracticeChoice mine;
        mine.part = VoiceKey{1, 0, 0};
        mine.withoutMyPart = true;
        session.setPracticeChoice(mine);
        session.setTranspose(c.semitones);
        ASSERT_TRUE(session.giveMyNote(c.atMs)) << c.atMs;
        const std::vector<qint16> heard = output.listen(600);
        EXPECT_NEAR(centsBetween(c.hz, pitchHz(heard, 150, 550)), 0.0, 10.0) << c.atMs << " " << c.semitones;
    }
    PlayingSession noPart;
    noPart.setSong(Song::fromBytes(writer.bytes()));
    SynthNow output;
    noPart.setSink(&output);
    EXPECT_FALSE(noPart.giveMyNote(0)) << "without a part there is no note to give";
}

} // namespace
} // namespace harmonet::test
