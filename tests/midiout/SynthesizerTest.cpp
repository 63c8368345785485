// The built-in synthesizer end to end, offline: the example song rendered
// through the playback engine sounds when its notes are due and falls silent
// after All Notes Off. Skipped where no SoundFont is installed.
#include "midiout/MidiOut.h"
#include "midiout/SoundFontLocator.h"
#include "midiout/SynthBackend.h"
#include "render/SongRenderer.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"
#include "tests/support/TestPaths.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace harmonet;

namespace {

#define REQUIRE_SOUNDFONT()                                                   \
    do {                                                                      \
        if (findSoundFont().isEmpty())                                        \
            GTEST_SKIP() << "no General MIDI SoundFont installed";            \
    } while (false)

constexpr int sampleRate = 44100;

// Level of interleaved 16-bit stereo in windows of 1 ms: the largest absolute
// sample of either channel.
std::vector<int> levelPerMs(const std::vector<qint16>& stereo)
{
    const std::size_t frameCount = stereo.size() / 2;
    const std::size_t framesPerMs = sampleRate / 1000;
    std::vector<int> level(frameCount / framesPerMs, 0);
    for (std::size_t frame = 0; frame < level.size() * framesPerMs; ++frame) {
        const int peak = std::max(std::abs(int(stereo[2 * frame])), std::abs(int(stereo[2 * frame + 1])));
        level[frame / framesPerMs] = std::max(level[frame / framesPerMs], peak);
    }
    return level;
}

// The song with every track muted whose channel is not one of soundingChannels.
std::vector<qint16> renderSong(const std::shared_ptr<const Song>& song, const std::vector<int>& soundingChannels)
{
    PlayingSession session;
    session.setSong(song);
    for (int track = 0; track < session.trackCount(); ++track) {
        const int channel = song->file().TrackAt(track)->Channel();
        session.setMuted(track, std::find(soundingChannels.begin(), soundingChannels.end(), channel) ==
                                    soundingChannels.end());
    }
    SongRenderer renderer(sampleRate);
    renderer.setSettings(session.settings());
    std::vector<qint16> all;
    renderer.render(song, [&all](std::span<const qint16> block) { all.insert(all.end(), block.begin(), block.end()); });
    return all;
}

// Times in ms at which the notes of channel (1..16) are due.
std::vector<double> noteOnTimes(const TMidiFile& song, int channel)
{
    std::vector<double> times;
    for (int t = 0; t < song.NumberOfTracks(); ++t) {
        for (const TMidiEvent& event : song.TrackAt(t)->Events()) {
            if (event.Status == 0x90 + channel - 1 && event.Value2 > 0) {
                times.push_back(event.Ticks * song.MicrosecondsPerTick() / 1000.0);
            }
        }
    }
    std::sort(times.begin(), times.end());
    return times;
}

// First millisecond at or after from whose level exceeds threshold, or -1.
int firstSoundAfter(const std::vector<int>& level, int from, int threshold)
{
    for (int ms = std::max(0, from); ms < int(level.size()); ++ms) {
        if (level[std::size_t(ms)] > threshold) {
            return ms;
        }
    }
    return -1;
}

int loudestIn(const std::vector<int>& level, int from, int to)
{
    int loudest = 0;
    for (int ms = std::max(0, from); ms < to && ms < int(level.size()); ++ms) {
        loudest = std::max(loudest, level[std::size_t(ms)]);
    }
    return loudest;
}

constexpr int silence = 4;          // dither stays within a step or two
constexpr int onsetToleranceMs = 15;

TEST(SynthesizerEndToEnd, EachVoiceOfTheExampleSongBeginsWhenItsFirstNoteIsDue)
{
    REQUIRE_SOUNDFONT();
    const std::shared_ptr<const Song> played = Song::read(test::sourceDir() + QStringLiteral("/examples/old-hundredth.mid"));
    const TMidiFile& song = played->file();
    for (int channel = 1; channel <= 4; ++channel) {
        SCOPED_TRACE(channel);
        const std::vector<double> due = noteOnTimes(song, channel);
        ASSERT_FALSE(due.empty());
        const auto level = levelPerMs(renderSong(played, {channel}));
        const int expected = int(due.front());
        const int onset = firstSoundAfter(level, 0, silence);
        EXPECT_GE(onset, expected);
        EXPECT_LE(onset, expected + onsetToleranceMs);
    }
}

TEST(SynthesizerEndToEnd, SpacedNotesEachSoundWithinFifteenMilliseconds)
{
    REQUIRE_SOUNDFONT();
    // Piano notes far apart at times that fall between the 10 ms steps:
    // 480 ticks a quarter at 500000 us, so a tick is 1.0417 ms.
    const std::vector<int> noteTicks{192, 1637, 3200, 4813};
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack().tempo(0, 500000).programChange(0, 0, 0);
    int now = 0;
    for (const int tick : noteTicks) {
        writer.noteOn(quint64(tick - now), 0, 60, 110).noteOff(96, 0, 60);
        now = tick + 96;
    }
    writer.endOfTrack().endTrack();
    const auto level = levelPerMs(renderSong(Song::fromBytes(writer.bytes()), {1}));
    for (const int tick : noteTicks) {
        const int expected = int(tick * 500000.0 / 480 / 1000);
        SCOPED_TRACE(expected);
        EXPECT_LE(loudestIn(level, expected - 40, expected), silence) << "sound before the note is due";
        const int onset = firstSoundAfter(level, expected - 40, silence);
        EXPECT_GE(onset, expected);
        EXPECT_LE(onset, expected + onsetToleranceMs);
    }
}

// An offline synthesizer behind a TMidiOutput, and what it renders.
class OfflineSynth : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (findSoundFont().isEmpty()) {
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        }
        ASSERT_TRUE(output.OpenDevice()) << qPrintable(output.LastOpenFailure());
        synth = backend->synthesizer();
        ASSERT_NE(synth, nullptr);
    }

    std::vector<int> renderMs(int ms)
    {
        std::vector<qint16> stereo(std::size_t(2 * ms * sampleRate / 1000));
        synth->render(std::span<qint16>(stereo));
        return levelPerMs(stereo);
    }

    std::shared_ptr<SynthBackend> backend = std::make_shared<SynthBackend>(SynthBackend::Mode::Offline, sampleRate);
    TMidiOutput output{std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{backend})};
    std::shared_ptr<Synthesizer> synth;
};

// Whether sound that was at heldLevel has died away after a release: within
// about 300 ms it is a quiet tail (below 1/20 of what it was, -26 dB), and
// within a second it is gone.
void expectDiesAway(int heldLevel, const std::vector<int>& after)
{
    ASSERT_GE(after.size(), 1000u);
    EXPECT_LT(loudestIn(after, 300, 400) * 20, heldLevel) << "still loud 300 ms after the release";
    EXPECT_LE(loudestIn(after, 900, 1000), silence) << "still sounding a second after the release";
}

TEST_F(OfflineSynth, AllNotesOffEndsTheSoundOfItsChannelOnly)
{
    // Organs sustain for as long as a key is held.
    output.SendShort(0xC0, 19, 0);
    output.SendShort(0xC1, 19, 0);
    output.SendShort(0x90, 60, 120);
    output.SendShort(0x90, 64, 120);
    const int held = loudestIn(renderMs(500), 400, 500);
    EXPECT_GT(held, 100);
    output.SendShort(0xB0, 123, 0);
    expectDiesAway(held, renderMs(1000));

    output.SendShort(0x91, 67, 120);
    renderMs(300);
    output.SendShort(0xB0, 123, 0); // another channel's All Notes Off leaves it sounding
    const int other = loudestIn(renderMs(500), 400, 500);
    EXPECT_GT(other, 100);
    output.SendShort(0xB1, 123, 0);
    expectDiesAway(other, renderMs(1000));
}

// A held organ chord, eight seconds of nothing, the chord again with its
// tail: the levels per ms of the second chord and its tail.
std::vector<int> chordSilenceChord(Synthesizer& synth)
{
    const auto render = [&synth](int ms) {
        std::vector<qint16> stereo(std::size_t(2 * ms * sampleRate / 1000));
        synth.render(std::span<qint16>(stereo));
        return levelPerMs(stereo);
    };
    const auto chord = [&synth](int velocity) {
        for (const char key : {60, 64, 67}) {
            synth.play(QByteArray::fromRawData("\x90", 1) + char(key) + char(velocity));
        }
    };
    synth.play(QByteArrayLiteral("\xC0\x13"));
    synth.play(QByteArrayLiteral("\xB0\x5B\x7F")); // all the reverb the channel sends
    chord(110);
    render(1000);
    chord(0);
    render(8000);
    chord(110);
    std::vector<int> second = render(1000);
    chord(0);
    const std::vector<int> tail = render(2000);
    second.insert(second.end(), tail.begin(), tail.end());
    return second;
}

TEST_F(OfflineSynth, ReverbRestsInSilenceAndTheNextNotesSoundAsWithout)
{
    Synthesizer plain(Synthesizer::Output::Offline, sampleRate);
    Synthesizer resting(Synthesizer::Output::Offline, sampleRate);
    resting.setReverbMayRest(true);
    const std::vector<int> expected = chordSilenceChord(plain);
    const std::vector<int> got = chordSilenceChord(resting);
    EXPECT_EQ(plain.reverbRestedFrames(), 0);
    // The reverb dies away within a few seconds of the eight.
    EXPECT_GT(resting.reverbRestedFrames(), 3 * sampleRate);
    ASSERT_EQ(got.size(), expected.size());
    // The chord, and its reverb after the release, as loud as without rest.
    for (const auto& [from, to] : {std::pair{100, 1000}, std::pair{1050, 1300}, std::pair{1300, 1800}}) {
        const double ratio = double(loudestIn(got, from, to)) / std::max(1, loudestIn(expected, from, to));
        EXPECT_NEAR(20 * std::log10(ratio), 0.0, 0.5) << from << " to " << to << " ms";
    }
}

TEST_F(OfflineSynth, SystemExclusiveResetIsAccepted)
{
    output.SendShort(0xC0, 19, 0);
    output.SendShort(0x90, 60, 120);
    const int held = loudestIn(renderMs(500), 400, 500);
    // A General MIDI System On message turns every sounding note off.
    const quint8 gmOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    output.SendLong(gmOn, sizeof gmOn);
    expectDiesAway(held, renderMs(1000));
}

TEST_F(OfflineSynth, EveryStatusByteAndDataValueIsAccepted)
{
    const quint8 values[] = {0x00, 0x40, 0x7F, 0x80, 0xFF};
    for (int status = 0x80; status <= 0xFF; ++status) {
        for (const quint8 first : values) {
            for (const quint8 second : values) {
                ASSERT_NO_THROW(output.SendShort(quint8(status), first, second)) << status;
            }
        }
    }
    ASSERT_NO_THROW(renderMs(50));
}

TEST(SynthesizerSetup, WithoutASoundFontOpeningFailsWithAdvice)
{
    QTemporaryDir dir;
    const QString notASoundFont = dir.filePath(QStringLiteral("broken.sf2"));
    QFile file(notASoundFont);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a SoundFont");
    file.close();

    auto backend = std::make_shared<SynthBackend>(SynthBackend::Mode::Offline, sampleRate,
                                                  QStringList{dir.filePath(QStringLiteral("missing.sf2")),
                                                              notASoundFont});
    TMidiOutput output(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{backend}));
    EXPECT_FALSE(output.OpenDevice());
    EXPECT_EQ(output.LastError(), MidiNoSoundFont);
    EXPECT_TRUE(output.LastOpenFailure().contains(QStringLiteral("apt-get install")));
    EXPECT_TRUE(output.LastOpenFailure().contains(QStringLiteral("HARMONET_SOUNDFONT")));
    EXPECT_TRUE(output.LastOpenFailure().contains(notASoundFont));
    EXPECT_EQ(backend->synthesizer(), nullptr);
}

TEST(SynthesizerSetup, SoundFontNamedByTheEnvironmentComesFirst)
{
    // The test main names the SoundFont the tests were measured with.
    const QByteArray named = qgetenv("HARMONET_SOUNDFONT");
    qputenv("HARMONET_SOUNDFONT", "/somewhere/chosen.sf2");
    const QStringList candidates = soundFontCandidates();
    qunsetenv("HARMONET_SOUNDFONT");
    const QStringList unnamed = soundFontCandidates();
    if (!named.isEmpty()) {
        qputenv("HARMONET_SOUNDFONT", named);
    }
    ASSERT_GE(candidates.size(), 2);
    EXPECT_EQ(candidates.front(), "/somewhere/chosen.sf2");
    EXPECT_EQ(candidates[1], "/usr/share/sounds/sf2/default-GM.sf2");
    EXPECT_EQ(unnamed.front(), "/usr/share/sounds/sf2/default-GM.sf2");
}

TEST(SynthesizerSetup, LiveSynthesizerOpensAndPlaysWithOrWithoutAudioOutput)
{
    REQUIRE_SOUNDFONT();
    auto backend = std::make_shared<SynthBackend>(SynthBackend::Mode::Live);
    TMidiOutput output(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{backend}));
    ASSERT_TRUE(output.OpenDevice()) << qPrintable(output.LastOpenFailure());
    const auto synth = backend->synthesizer();
    ASSERT_NE(synth, nullptr);
    EXPECT_EQ(output.DeviceNotice().isEmpty(), synth->hasAudioOutput());
    // More notes than the synthesizer has voices: every one is accepted.
    for (int i = 0; i < 1000; ++i) {
        output.SendShort(0x90, quint8(40 + i % 40), 100);
        output.SendShort(0x80, quint8(40 + i % 40), 0);
    }
    std::vector<qint16> buffer(64);
    EXPECT_THROW(synth->render(std::span<qint16>(buffer)), EmidioutputError) << "the audio side renders";
    EXPECT_TRUE(output.CloseDevice());
}

TEST(SynthesizerSetup, DefaultDevicesStartWithTheBuiltInSynthesizer)
{
    TMidiOutput output;
    ASSERT_GE(output.DeviceCount(), 1);
    output.setDeviceID(0);
    EXPECT_EQ(output.ProductName(), "Harmonet Synthesizer");
    output.setProductName("MIDI Mapper");
    EXPECT_EQ(output.DeviceID(), -1);
}

} // namespace
