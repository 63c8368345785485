// The live synthesizer's timed messages against a scripted audio clock: the
// test plays the audio driver, calling the synthesizer's period callback at
// the times a sound card would, and looks for each note in what it rendered.
#include "midiout/OutputStage.h"
#include "midiout/SoundFontLocator.h"
#include "midiout/Synthesizer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

using namespace harmonet;
using namespace std::chrono;

namespace {

constexpr int sampleRate = 44100;
constexpr int woodblock = 115;
constexpr int organ = 19;
constexpr float audible = 1e-4f;

class ScriptedAudioClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (findSoundFont().isEmpty()) {
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        }
        synth = std::make_unique<Synthesizer>(Synthesizer::Output::Callback, sampleRate, soundFontCandidates(), stage);
    }

    // The moment frame is heard, on the steady clock, in the middle of it.
    Synthesizer::TimePoint timeOfFrame(double frame) const
    {
        return start + nanoseconds(llround((frame + 0.5) * 1e9 / sampleRate));
    }
    // A message due now is heard the scheduling delay later: due this much
    // before the frame it should be heard at.
    Synthesizer::TimePoint dueFor(qint64 frame) const { return timeOfFrame(double(frame)) - Synthesizer::schedulingDelay; }

    void play(Synthesizer::TimePoint due, quint8 status, quint8 data1, quint8 data2 = 0)
    {
        const char bytes[] = {char(status), char(data1), char(data2)};
        synth->play(QByteArray(bytes, 3), due);
    }

    // Calls the period callback as a sound card does, each period at the
    // moment its first frame is due, until frames frames are rendered; returns
    // the left channel.
    std::vector<float> runFor(qint64 frames, int period)
    {
        std::vector<float> left(static_cast<std::size_t>(period));
        std::vector<float> right(left.size());
        std::vector<float> all;
        for (qint64 done = 0; done < frames; done += period) {
            synth->renderPeriod(left, right, start + nanoseconds(llround(double(rendered) * 1e9 / sampleRate)));
            rendered += period;
            all.insert(all.end(), left.begin(), left.end());
        }
        return all;
    }

    static qint64 firstSound(const std::vector<float>& samples, qint64 from = 0)
    {
        for (auto i = std::size_t(from); i < samples.size(); ++i) {
            if (std::abs(samples[i]) > audible) {
                return qint64(i);
            }
        }
        return -1;
    }

    static float peak(const std::vector<float>& samples, qint64 from, qint64 to)
    {
        float largest = 0;
        for (auto i = std::size_t(std::max<qint64>(from, 0)); i < std::size_t(to) && i < samples.size(); ++i) {
            largest = std::max(largest, std::abs(samples[i]));
        }
        return largest;
    }

    SynthOutputStage stage;
    std::unique_ptr<Synthesizer> synth;
    const Synthesizer::TimePoint start = steady_clock::now() + hours(1);
    qint64 rendered = 0;
};

TEST_F(ScriptedAudioClock, ANoteDueAtAFrameSoundsFromTheBlockHoldingItWhateverThePeriod)
{
    struct Case {
        int period;
        qint64 frame;
    };
    const Case cases[] = {{64, 5000}, {64, 5120}, {256, 5000}, {256, 5183}, {1024, 5000}, {1024, 9000}, {1024, 12288}};
    // The woodblock's sample begins with a few near-silent frames: how many
    // is measured on a note that starts the first block.
    const auto onsetOf = [this](qint64 frame, int period) {
        SetUp();
        rendered = 0;
        play(dueFor(0), 0xC0, woodblock);
        play(dueFor(frame), 0x90, 76, 120);
        const std::vector<float> sound = runFor(frame + 4096, period);
        return std::pair{firstSound(sound), peak(sound, 0, frame - frame % 64)};
    };
    const qint64 attack = onsetOf(0, 64).first;
    ASSERT_GE(attack, 0);
    ASSERT_LT(attack, 64);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "period " << c.period << ", due at frame " << c.frame);
        const auto [onset, before] = onsetOf(c.frame, c.period);
        EXPECT_LE(before, audible) << "sound before its block";
        EXPECT_EQ(onset, c.frame - c.frame % 64 + attack);
    }
}

TEST_F(ScriptedAudioClock, LateMessagesArePlayedAtOnceAndInTheOrderSent)
{
    play(dueFor(0), 0xC0, organ);
    runFor(sampleRate / 2, 256);
    const qint64 now = rendered;
    // Both long overdue, the note-off even more so: played in order, the
    // note starts and ends at once; reordered by due time it would hang.
    play(dueFor(now - 8000), 0x90, 60, 120);
    play(dueFor(now - 9000), 0x80, 60, 0);
    const std::vector<float> sound = runFor(sampleRate, 256); // from frame now on
    EXPECT_GE(firstSound(sound), 0);
    EXPECT_LT(firstSound(sound), 192) << "late messages wait for nothing (an organ speaks within 2 blocks)";
    EXPECT_LE(peak(sound, sampleRate / 2, sampleRate), audible) << "the note-off came first";
}

TEST_F(ScriptedAudioClock, AllNotesOffSilencesWithinThreeHundredMilliseconds)
{
    play(dueFor(0), 0xC0, organ);
    play(dueFor(0), 0x90, 60, 120);
    play(dueFor(0), 0x90, 67, 120);
    const qint64 off = sampleRate;
    play(dueFor(off), 0xB0, 123, 0);
    const std::vector<float> sound = runFor(2 * sampleRate, 512);
    const float held = peak(sound, off - sampleRate / 4, off);
    EXPECT_GT(held, 0.05f);
    EXPECT_LT(peak(sound, off + sampleRate * 3 / 10, off + sampleRate * 4 / 10) * 20, held);
    EXPECT_LE(peak(sound, off + sampleRate, 2 * sampleRate), audible);
}

TEST_F(ScriptedAudioClock, SystemExclusiveMessagesArePlayedAtTheirTimeToo)
{
    play(dueFor(0), 0xC0, organ);
    play(dueFor(0), 0x90, 60, 120);
    const qint64 reset = sampleRate / 2;
    // General MIDI System On turns every sounding note off; several of them,
    // so several copies of the bytes travel back to be freed.
    for (int i = 0; i < 3; ++i) {
        synth->playSysex(QByteArray::fromHex("F07E7F0901F7"), dueFor(reset + i));
    }
    const std::vector<float> sound = runFor(2 * sampleRate, 256);
    EXPECT_GT(peak(sound, reset - sampleRate / 10, reset), 0.02f) << "held until the reset";
    EXPECT_LE(peak(sound, reset + sampleRate, 2 * sampleRate), audible) << "silent after it";
}

TEST_F(ScriptedAudioClock, NothingIsLostWhenMessagesComeFasterThanTheRingHolds)
{
    play(dueFor(0), 0xC0, organ);
    for (int i = 0; i < 20000; ++i) {
        play(dueFor(0), 0x90, quint8(30 + i % 20), 100);
        play(dueFor(0), 0x80, quint8(30 + i % 20), 0);
    }
    play(dueFor(0), 0x90, 72, 120); // the last of them holds a note
    // The overflow is passed on in the background while periods are rendered:
    // at least 40 periods, and on until the last message sounds however long a
    // busy machine takes to hand it over (the deadline only ends a test that
    // would never pass).
    std::vector<float> sound;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const auto lastSounds = [&sound] { return peak(sound, qint64(sound.size()) - 4096, qint64(sound.size())) > 0.02f; };
    for (int round = 0; round < 40 || (!lastSounds() && std::chrono::steady_clock::now() < deadline); ++round) {
        const std::vector<float> part = runFor(2048, 256);
        sound.insert(sound.end(), part.begin(), part.end());
        std::this_thread::sleep_for(milliseconds(5));
    }
    EXPECT_GT(peak(sound, qint64(sound.size()) - 4096, qint64(sound.size())), 0.02f) << "the last message arrived";
}

} // namespace
