// Practice files mixed from stems: each voice at the level the player's
// emphasis gives it, a render split over cores that adds up to the render on
// one, and a cancel or failure that leaves no file behind. The stems' flow
// between renderers and writers keeps every stem's frames in order.
// Skipped without a SoundFont (all but the flow).
#include "render/PracticeExport.h"
#include "render/SongRenderer.h"
#include "render/StemExchange.h"
#include "render/StemMix.h"
#include "render/StemPlan.h"
#include "session/Song.h"
#include "sequencer/MidiFile.h"
#include "tests/practice/AudioMeasure.h"
#include "tests/practice/PracticeSongs.h"
#include "tests/support/FullDisk.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

namespace harmonet::test {
namespace {

constexpr int TailMs = 2000;
constexpr int WindowedSongMs = 2500;

struct Outcome {
    FileOutcome outcome = FileOutcome::Cancelled;
    QString message;
    int reports = 0;
};

// Runs an export on `threads` cores; cancelled once a file reached cancelAt percent (never at -1).
std::vector<Outcome> exportFiles(const ExportRequest& request, const std::vector<PracticeFile>& files, int threads,
                                 int cancelAt = -1)
{
    std::vector<Outcome> outcomes(files.size());
    std::mutex mutex;
    std::atomic<bool> cancel{false};
    PracticeRenderJob(request, files)
        .run(
            cancel, [&](int, int percent) { cancel = cancel || (cancelAt >= 0 && percent >= cancelAt); },
            [&](int file, FileOutcome outcome, const QString& message) {
                const std::lock_guard lock(mutex);
                Outcome& o = outcomes[std::size_t(file)];
                o = {outcome, message, o.reports + 1};
            },
            threads);
    return outcomes;
}

ExportRequest requestFor(const QByteArray& bytes, const QString& folder)
{
    ExportRequest request;
    request.song = Song::fromBytes(bytes);
    request.songName = QStringLiteral("Song");
    request.folder = folder;
    return request;
}

// The song's voice of that name.
VoiceKey voiceKey(const ExportRequest& request, const QString& name)
{
    for (const TVoice& voice : request.song->voices()) {
        if (voice.name == name) {
            return voice.key();
        }
    }
    return PracticeChoice::NoPart;
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// How far a render is from a reference of the same length: its largest
// difference in 16-bit steps, and the difference's power below the
// reference's, in dB.
struct Difference {
    int largestSteps = 0;
    double belowDb = 0.0;
};

Difference differenceOf(const std::vector<qint16>& reference, const AudioFile& render)
{
    Difference difference;
    double error = 0.0;
    double signal = 0.0;
    for (std::size_t i = 0; i < std::min(reference.size(), render.samples.size()); ++i) {
        const double step = std::lround(double(render.samples[i]) * 32768.0) - reference[i];
        difference.largestSteps = std::max(difference.largestSteps, int(std::abs(step)));
        error += step * step;
        signal += double(reference[i]) * reference[i];
    }
    difference.belowDb = error > 0.0 ? 10.0 * std::log10(signal / error) : 200.0;
    return difference;
}

struct LevelCase {
    const char* name;
    int othersDb;
    bool panned;
    PanSide side;
};

class StemLevels : public testing::TestWithParam<LevelCase> {};

TEST_P(StemLevels, EachVoiceIsWithinHalfADecibelOfTheRenderWithControllers)
{
    HARMONET_REQUIRE_SOUNDFONT();
    const LevelCase& c = GetParam();
    QTemporaryDir folder;
    ExportRequest request = requestFor(windowedSong(true), folder.path());
    request.mix = PracticeChoice{voiceKey(request, QStringLiteral("Soprano")), c.othersDb, c.panned, c.side};
    const PracticeFile stems{folder.filePath(QStringLiteral("stems.wav")), QStringLiteral("Soprano"), request.mix.part};
    const PracticeFile controllers{folder.filePath(QStringLiteral("controllers.wav")), stems.voice, stems.part};
    const PracticeFile unpanned{folder.filePath(QStringLiteral("unpanned.wav")), stems.voice, stems.part};
    ASSERT_EQ(exportFiles(request, {stems}, 2)[0].outcome, FileOutcome::Written);
    ASSERT_TRUE(renderPracticeFile(request, controllers, {}));
    request.mix.panned = false;
    ASSERT_TRUE(renderPracticeFile(request, unpanned, {}));

    const AudioFile mixed = readAudioFile(stems.path);
    const AudioFile reference = readAudioFile(controllers.path);
    const AudioFile levels = readAudioFile(unpanned.path);
    EXPECT_EQ(mixed.frames, (WindowedSongMs + TailMs) * 44100LL / 1000);
    EXPECT_EQ(mixed.frames, reference.frames);
    const std::pair<const char*, int> windows[] = {
        {"soprano", SopranoFromMs}, {"alto", AltoFromMs}, {"piano", PianoFromMs}};
    for (const auto& [voice, fromMs] : windows) {
        SCOPED_TRACE(voice);
        const int toMs = fromMs + VoiceWindowMs;
        const double level = levelDb(mixed, Side::Both, fromMs + 100, toMs);
        EXPECT_NEAR(level, levelDb(levels, Side::Both, fromMs + 100, toMs), 0.5);
        // The pan controller moves the halves of a stereo sample onto one
        // side, where they add up partly in phase: a little louder.
        EXPECT_NEAR(level, levelDb(reference, Side::Both, fromMs + 100, toMs), c.panned ? 1.0 : 0.5);
        if (!c.panned) {
            for (const Side side : {Side::Left, Side::Right}) {
                EXPECT_NEAR(levelDb(mixed, side, fromMs + 100, toMs), levelDb(reference, side, fromMs + 100, toMs),
                            0.5);
            }
        }
    }
    if (c.panned) {
        // A voice's mid signal is placed on one side alone, its stereo sample and all.
        const Side mine = c.side == PanSide::Left ? Side::Left : Side::Right;
        const Side other = c.side == PanSide::Left ? Side::Right : Side::Left;
        const auto separation = [&](int fromMs, Side near, Side far) {
            return levelDb(mixed, near, fromMs + 100, fromMs + VoiceWindowMs)
                - levelDb(mixed, far, fromMs + 100, fromMs + VoiceWindowMs);
        };
        EXPECT_GT(separation(SopranoFromMs, mine, other), 60.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Emphasis, StemLevels,
                         testing::Values(LevelCase{"Others12dbBelow", -12, false, PanSide::Left},
                                         LevelCase{"Others3dbBelow", -3, false, PanSide::Left},
                                         LevelCase{"Others6dbBelowPannedLeft", -6, true, PanSide::Left},
                                         LevelCase{"Others20dbBelowPannedRight", -20, true, PanSide::Right}),
                         [](const testing::TestParamInfo<LevelCase>& info) { return std::string(info.param.name); });

// A closed score's two voices on one track and channel: each a stem of its
// own on the channel the song leaves free, or with every channel taken one
// stem for both, as the player then emphasises the whole channel. Each
// voice's file holds both voices at the levels of the render with controllers.
class SharedChannelStems : public testing::TestWithParam<bool> {};

TEST_P(SharedChannelStems, HoldEachVoiceAtTheLevelOfTheRenderWithControllers)
{
    HARMONET_REQUIRE_SOUNDFONT();
    const bool everyChannelTaken = GetParam();
    QTemporaryDir folder;
    ExportRequest request = requestFor(closedScoreSong(everyChannelTaken), folder.path());
    request.perVoice = true;
    request.fullMix = false;
    std::vector<PracticeFile> files = plannedFiles(request);
    ASSERT_GE(files.size(), 2u);
    files.resize(2);
    ASSERT_EQ(files[0].part.track, files[1].part.track) << "the two voices of the closed score";
    const std::size_t stemsOfTheTrack = everyChannelTaken ? 1 : 2;
    const std::vector<Stem> stems = voiceStems(*request.song);
    EXPECT_EQ(std::count_if(stems.cbegin(), stems.cend(),
                            [&](const Stem& stem) {
                                return !stem.voices.empty() && stem.voices.front().track == files[0].part.track;
                            }),
              qsizetype(stemsOfTheTrack));
    const auto outcomes = exportFiles(request, files, 2);
    for (std::size_t f = 0; f < files.size(); ++f) {
        SCOPED_TRACE(f);
        ASSERT_EQ(outcomes[f].outcome, FileOutcome::Written);
        const AudioFile mixed = readAudioFile(files[f].path);
        PracticeFile reference = files[f];
        reference.path = folder.filePath(QStringLiteral("controllers.wav"));
        ASSERT_TRUE(renderPracticeFile(request, reference, {}));
        const AudioFile controllers = readAudioFile(reference.path);
        for (const quint8 key : {UpperKey, LowerKey}) {
            EXPECT_NEAR(toneLevelDb(mixed, keyHz(key), 100, ClosedScoreChords * 500),
                        toneLevelDb(controllers, keyHz(key), 100, ClosedScoreChords * 500), 0.5);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ClosedScore, SharedChannelStems, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "EveryChannelTaken" : "FreeChannel");
                         });

// Renders of the same song in stems that add up to the song's render on one
// synthesizer. They match within rounding but where a note takes a voice of
// the synthesizer that last played a note of another channel: FluidSynth
// carries some of that voice's state (the start of its amplitude ramp among
// it) into the new note, so that the notes' neighbours on one synthesizer
// shape their first moments. Heard nowhere: the difference stays far below.
struct SumCase {
    const char* name;
    int threads;
    bool perVoice; // the stems of the voices, with nothing emphasised
    bool exact;
};

class StemSums : public testing::TestWithParam<SumCase> {};

TEST_P(StemSums, AddUpToTheRenderOnOneSynthesizer)
{
    HARMONET_REQUIRE_SOUNDFONT();
    const SumCase& c = GetParam();
    QTemporaryDir folder;
    ExportRequest request = requestFor(ensembleSong(), folder.path());
    ASSERT_EQ(voiceStems(*request.song).size(), std::size_t(EnsembleVoices + 2)) << "drums, and the piano";
    std::vector<qint16> whole;
    SongRenderer().render(request.song, [&](std::span<const qint16> block) {
        whole.insert(whole.end(), block.begin(), block.end());
    });

    // At 0 dB my part's emphasis leaves every voice as it is.
    request.mix.othersDb = 0;
    const PracticeFile split{folder.filePath(QStringLiteral("split.wav")), fullMixName(),
                             c.perVoice ? voiceKey(request, QStringLiteral("Alto")) : PracticeChoice::NoPart};
    ASSERT_EQ(exportFiles(request, {split}, c.threads)[0].outcome, FileOutcome::Written);
    const AudioFile summed = readAudioFile(split.path);
    ASSERT_EQ(std::size_t(2 * summed.frames), whole.size());
    const Difference difference = differenceOf(whole, summed);
    if (c.exact) {
        EXPECT_EQ(difference.largestSteps, 0);
    } else {
        EXPECT_GT(difference.belowDb, 40.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Split, StemSums,
                         testing::Values(SumCase{"OneCore", 1, false, true}, SumCase{"TwoCores", 2, false, false},
                                         SumCase{"FiveCores", 5, false, false},
                                         SumCase{"VoicesOnTwoCores", 2, true, false}),
                         [](const testing::TestParamInfo<SumCase>& info) { return std::string(info.param.name); });

TEST(StemPlan, ASplitRenderPlaysEachSoundingChannelOnceOnAtMostTheCoresGiven)
{
    const std::shared_ptr<const Song> song = Song::fromBytes(ensembleSong());
    for (const int cores : {1, 2, 3, 6, 16}) {
        SCOPED_TRACE(cores);
        const std::vector<Stem> stems = balancedStems(song->file(), cores);
        EXPECT_EQ(int(stems.size()), std::min(cores, EnsembleVoices + 2));
        std::bitset<16> all;
        for (const Stem& stem : stems) {
            EXPECT_TRUE(stem.channels.any());
            EXPECT_TRUE((all & stem.channels).none()) << "a channel in two stems";
            all |= stem.channels;
        }
        EXPECT_EQ(all, std::bitset<16>(0b1000011111)) << "channels 1 to 5 and 10";
    }
}

TEST(StemPlan, ClicksAreRenderedOnceAndWithoutMyPartSilencesOnlyMine)
{
    const std::shared_ptr<const Song> song = Song::fromBytes(ensembleSong());
    std::vector<Stem> stems = voiceStems(*song);
    const std::size_t before = stems.size();
    // Channel 10 is the song's drums: its stem plays the clicks too.
    addClickStem(stems, 10);
    EXPECT_EQ(stems.size(), before);
    addClickStem(stems, 16);
    ASSERT_EQ(stems.size(), before + 1);
    EXPECT_EQ(stems.back().channels, std::bitset<16>().set(15));
    EXPECT_TRUE(stems.back().voices.empty());

    PracticeChoice choice;
    choice.part = stems.front().voices.front();
    choice.withoutMyPart = true;
    for (const Stem& stem : stems) {
        const bool mine = &stem == &stems.front();
        EXPECT_EQ(stemPlacement(stem, choice).gain, mine ? 0.0f : 1.0f);
    }
}

// How an export ends early; each leaves no file, not even a temporary one.
enum class Ending { CancelHalfWay, FolderMissing, DiskFull };

std::string endingName(Ending ending)
{
    switch (ending) {
    case Ending::CancelHalfWay:
        return "CancelHalfWay";
    case Ending::FolderMissing:
        return "FolderMissing";
    case Ending::DiskFull:
        break;
    }
    return "DiskFull";
}

class StemEndings : public testing::TestWithParam<Ending> {};

TEST_P(StemEndings, LeaveNoFileAndReportEachFileOnce)
{
    HARMONET_REQUIRE_SOUNDFONT();
    QTemporaryDir folder;
    const QString out = GetParam() == Ending::FolderMissing ? folder.filePath(QStringLiteral("gone")) : folder.path();
    ExportRequest request = requestFor(longSong(3), out);
    request.format = AudioFormat::Flac;
    const std::vector<PracticeFile> files = plannedFiles(request);
    ASSERT_EQ(files.size(), 3u);
    std::vector<Outcome> outcomes;
    if (GetParam() == Ending::DiskFull) {
        const FullDisk full(64 * 1024);
        outcomes = exportFiles(request, files, 2);
    } else {
        outcomes = exportFiles(request, files, 2, GetParam() == Ending::CancelHalfWay ? 50 : -1);
    }
    EXPECT_EQ(entries(folder.path()), QStringList());
    const auto failed = std::count_if(outcomes.cbegin(), outcomes.cend(), [](const Outcome& o) {
        return o.outcome == FileOutcome::Failed;
    });
    // Files written beside one that met a full disk may meet it too before they stop.
    switch (GetParam()) {
    case Ending::CancelHalfWay:
        EXPECT_EQ(failed, 0);
        break;
    case Ending::FolderMissing:
        EXPECT_EQ(failed, 1);
        break;
    case Ending::DiskFull:
        EXPECT_GE(failed, 1);
        break;
    }
    for (const Outcome& o : outcomes) {
        EXPECT_EQ(o.reports, 1);
        EXPECT_NE(o.outcome, FileOutcome::Written);
        if (o.outcome == FileOutcome::Failed) {
            EXPECT_TRUE(o.message.contains(QDir::toNativeSeparators(out) + QStringLiteral("/Song - ")))
                << qPrintable(o.message);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Export, StemEndings,
                         testing::Values(Ending::CancelHalfWay, Ending::FolderMissing, Ending::DiskFull),
                         [](const testing::TestParamInfo<Ending>& info) { return endingName(info.param); });

// A file mixed from stems of different lengths, over several of the mixer's
// blocks: a stem as it is with its gain, a placed stem's mid signal on its
// side only, a silent stem not at all, and nothing of a stem after its end.
TEST(StemMix, EachStemAddsItsGainOrItsPlacedMidAndNothingAfterItsEnd)
{
    constexpr std::size_t frames = 1300;
    constexpr std::size_t shortFrames = 700;
    std::vector<float> whole(2 * frames);
    std::vector<float> shortStereo(2 * shortFrames);
    std::vector<float> shortMid(shortFrames);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        whole[i] = float(i % 17) / 16.0f;
    }
    for (std::size_t i = 0; i < shortFrames; ++i) {
        shortStereo[2 * i] = 5.0f;
        shortStereo[2 * i + 1] = 7.0f;
        shortMid[i] = float(i % 5) + 1.0f;
    }
    const std::vector<std::span<const float>> stems = {whole, shortStereo, whole};
    const std::vector<std::span<const float>> mids = {{}, shortMid, {}};
    const std::vector<StemPlacement> placements = {
        {0.5f, false, PanSide::Left}, {2.0f, true, PanSide::Right}, {0.0f, false, PanSide::Left}};
    std::vector<float> mix(2 * frames, 99.0f);
    mixStems(mix, stems, mids, placements);
    // Within rounding, should the compiler fuse the multiply and the add.
    const auto off = [](float value, float expected) { return std::abs(value - expected) > 1e-5f; };
    int faults = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const float placed = i < shortFrames ? 2.0f * shortMid[i] : 0.0f;
        faults += off(mix[2 * i], 0.5f * whole[2 * i]);
        faults += off(mix[2 * i + 1], 0.5f * whole[2 * i + 1] + placed);
    }
    EXPECT_EQ(faults, 0);
}

// Renderers putting blocks of any size and writers taking chunks: every
// writer gets every stem's frames in order, through many turns of the ring,
// and with mids each frame's mid signal beside it.
TEST(StemExchange, EveryWriterGetsEveryStemsFramesInOrder)
{
    constexpr int stems = 3;
    constexpr int files = 2;
    for (const bool withMids : {false, true}) {
        SCOPED_TRACE(withMids ? "with mids" : "stereo only");
        StemExchange exchange(stems, files, 2, withMids);
        const qint64 lengths[stems] = {5 * StemExchange::chunkFrames * exchange.ringChunks() + 17,
                                       5 * StemExchange::chunkFrames * exchange.ringChunks(), 1000};
        const auto midOf = [](qint64 frame, int stem) { return float(-frame - 1000 * stem); };
        std::vector<std::jthread> threads;
        for (int s = 0; s < stems; ++s) {
            threads.emplace_back([&, s] {
                const StemExchange::Turn turn(exchange);
                std::vector<float> block;
                std::vector<float> mid;
                for (qint64 frame = 0, size = 1; frame < lengths[s]; frame += size, size = size * 7 % 3001 + 1) {
                    size = std::min(size, lengths[s] - frame);
                    block.resize(std::size_t(2 * size));
                    for (qint64 i = 0; i < 2 * size; ++i) {
                        block[std::size_t(i)] = float(2 * frame + i + s);
                    }
                    mid.resize(withMids ? std::size_t(size) : 0);
                    for (std::size_t i = 0; i < mid.size(); ++i) {
                        mid[i] = midOf(frame + qint64(i), s);
                    }
                    ASSERT_TRUE(exchange.put(s, block, mid));
                }
                exchange.finish(s);
            });
        }
        std::vector<std::vector<qint64>> seen(files, std::vector<qint64>(stems, 0));
        std::vector<int> faults(files, 0);
        for (int f = 0; f < files; ++f) {
            threads.emplace_back([&, f] {
                const StemExchange::Turn turn(exchange);
                for (StemExchange::Chunk chunk = exchange.take(f); chunk.frames > 0; chunk = exchange.take(f)) {
                    faults[std::size_t(f)] += chunk.mids.size() != (withMids ? std::size_t(stems) : 0);
                    for (int s = 0; s < stems; ++s) {
                        const std::span<const float> samples = chunk.stems[std::size_t(s)];
                        for (std::size_t i = 0; i < samples.size(); ++i) {
                            faults[std::size_t(f)] += samples[i] != float(2 * chunk.firstFrame + qint64(i) + s);
                        }
                        if (withMids && chunk.mids.size() == std::size_t(stems)) {
                            const std::span<const float> mids = chunk.mids[std::size_t(s)];
                            faults[std::size_t(f)] += mids.size() != samples.size() / 2;
                            for (std::size_t i = 0; i < mids.size(); ++i) {
                                faults[std::size_t(f)] += mids[i] != midOf(chunk.firstFrame + qint64(i), s);
                            }
                        }
                        seen[std::size_t(f)][std::size_t(s)] += qint64(samples.size() / 2);
                    }
                }
            });
        }
        threads.clear();
        for (int f = 0; f < files; ++f) {
            EXPECT_EQ(faults[std::size_t(f)], 0);
            for (int s = 0; s < stems; ++s) {
                EXPECT_EQ(seen[std::size_t(f)][std::size_t(s)], lengths[s]);
            }
        }
    }
}

TEST(StemExchange, StopReleasesRenderersWaitingForRoomAndWritersWaitingForAudio)
{
    StemExchange exchange(2, 1, 1);
    std::atomic<bool> putRefused{false};
    std::atomic<int> frames{-1};
    std::jthread renderer([&] {
        const StemExchange::Turn turn(exchange);
        const std::vector<float> block(std::size_t(2 * StemExchange::chunkFrames), 0.5f);
        // Stem 0 fills the ring; stem 1 never comes, so no chunk is ever whole.
        for (int i = 0; i <= exchange.ringChunks() && !putRefused; ++i) {
            putRefused = !exchange.put(0, block);
        }
    });
    std::jthread writer([&] {
        const StemExchange::Turn turn(exchange);
        frames = exchange.take(0).frames;
    });
    exchange.stop();
    renderer.join();
    writer.join();
    EXPECT_TRUE(putRefused);
    EXPECT_EQ(frames, 0);
}

} // namespace
} // namespace harmonet::test
