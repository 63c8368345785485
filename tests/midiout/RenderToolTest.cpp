// The render tool as its users run it: a WAV file of the song's length plus
// the two-second tail, and clear failures.
#include "midiout/SoundFontLocator.h"
#include "render/AudioFileWriter.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"
#include "tests/practice/AudioMeasure.h"
#include "tests/practice/PracticeSongs.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/LilyPondScores.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>

using namespace harmonet;

namespace {

struct RunResult {
    int exitCode = -1;
    QString errorOutput;
};

// Runs the tool; with fileSizeLimit it may write no file beyond that many
// bytes, as on a full disk (it reports a write that fails so instead of
// ending on SIGXFSZ).
RunResult runRender(const QStringList& arguments, std::optional<quint64> fileSizeLimit = std::nullopt)
{
    test::ChildProcess::RunOptions options;
    options.fileSizeLimit = fileSizeLimit;
    options.timeoutMs = 110000;
    const test::ChildProcess::Result run =
        test::ChildProcess::run(QStringLiteral(HARMONET_RENDER_TOOL), arguments, options);
    EXPECT_TRUE(run.finished);
    return {run.exitCode.value_or(-1), QString::fromLocal8Bit(run.errors)};
}

struct WavFacts {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    qint64 frames = 0;
};

// Reads the format and data chunks of a canonical PCM WAV file.
WavFacts readWav(const QString& path)
{
    QFile file(path);
    WavFacts facts;
    if (!file.open(QIODevice::ReadOnly)) {
        return facts;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        return facts;
    }
    const auto u16 = [&bytes](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto u32 = [&bytes](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    int blockAlign = 0;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (id == "fmt " && at + 24 <= bytes.size()) {
            facts.channels = u16(at + 10);
            facts.sampleRate = int(u32(at + 12));
            blockAlign = u16(at + 20);
            facts.bitsPerSample = u16(at + 22);
        } else if (id == "data" && blockAlign > 0) {
            facts.frames = size / blockAlign;
        }
        at += 8 + size + (size & 1);
    }
    return facts;
}

TEST(RenderTool, WritesTheSongAndItsTailAsSixteenBitStereo)
{
    if (findSoundFont().isEmpty()) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    const QString song = test::sourceDir() + QStringLiteral("/examples/old-hundredth.mid");
    TMidiFile model;
    model.SetFilename(song);
    model.LoadSong();
    const qint64 expectedMs = model.SongLengthMs() + 2000;

    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("song.wav"));
    const RunResult run = runRender({QStringLiteral("--sample-rate"), QStringLiteral("22050"), song, wav});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errorOutput);
    EXPECT_TRUE(run.errorOutput.isEmpty()) << "no progress line when standard error is not a terminal: "
                                           << qPrintable(run.errorOutput);
    const WavFacts facts = readWav(wav);
    EXPECT_EQ(facts.channels, 2);
    EXPECT_EQ(facts.sampleRate, 22050);
    EXPECT_EQ(facts.bitsPerSample, 16);
    EXPECT_NEAR(double(facts.frames), expectedMs * 22050 / 1000.0, 22050 * 0.011);
}

TEST(RenderTool, FollowTempoPlaysEachBarAtItsOwnTempo)
{
    if (findSoundFont().isEmpty()) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    // Two bars of one whole note each: the first at 120 bpm (2000 ms), the
    // second at 60 bpm (4000 ms); at one tempo both play at the last, 60 bpm.
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack()
        .tempo(0, 500000)
        .noteOn(0, 0, 60, 100)
        .noteOff(1920, 0, 60)
        .tempo(0, 1000000)
        .noteOn(0, 0, 62, 100)
        .noteOff(1920, 0, 62)
        .endOfTrack()
        .endTrack();
    QTemporaryDir dir;
    const QString song = dir.filePath(QStringLiteral("two-tempi.mid"));
    QFile file(song);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writer.bytes());
    file.close();

    struct Case {
        QStringList options;
        double songMs;
    };
    // A range of bars and repeats play that passage so many times over,
    // bar numbers following an upbeat given by hand.
    for (const Case& c : {Case{{}, 8000.0}, Case{{QStringLiteral("--follow-tempo")}, 6000.0},
                          Case{{QStringLiteral("--follow-tempo"), QStringLiteral("--tempo"), QStringLiteral("240")},
                               3000.0},
                          Case{{QStringLiteral("--bars"), QStringLiteral("2")}, 4000.0},
                          Case{{QStringLiteral("--bars"), QStringLiteral("2"), QStringLiteral("--repeat"), QStringLiteral("3")},
                               12000.0},
                          Case{{QStringLiteral("--follow-tempo"), QStringLiteral("--bars"), QStringLiteral("1-2"),
                                QStringLiteral("--repeat"), QStringLiteral("2")},
                               12000.0},
                          Case{{QStringLiteral("--repeat"), QStringLiteral("2")}, 16000.0},
                          Case{{QStringLiteral("--pickup"), QStringLiteral("2"), QStringLiteral("--bars"), QStringLiteral("0")},
                               2000.0}}) {
        const QString wav = dir.filePath(QStringLiteral("out.wav"));
        const RunResult run = runRender(c.options + QStringList{QStringLiteral("--sample-rate"),
                                                                QStringLiteral("8000"), song, wav});
        ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errorOutput);
        EXPECT_NEAR(double(readWav(wav).frames), (c.songMs + 2000) * 8, 8 * 11) << qPrintable(c.options.join(' '));
    }
}

TEST(RenderTool, UnreadableFileFailsWithAMessage)
{
    QTemporaryDir dir;
    QFile notMidi(dir.filePath(QStringLiteral("notes.mid")));
    ASSERT_TRUE(notMidi.open(QIODevice::WriteOnly));
    notMidi.write("this is not a MIDI file");
    notMidi.close();
    const QString wav = dir.filePath(QStringLiteral("out.wav"));

    RunResult run = runRender({notMidi.fileName(), wav});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errorOutput.contains(QStringLiteral("“notes.mid” is not a MIDI file."))) << qPrintable(run.errorOutput);
    EXPECT_FALSE(QFile::exists(wav));

    run = runRender({dir.filePath(QStringLiteral("missing.mid")), wav});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errorOutput.contains(QStringLiteral("“missing.mid” was not found."))) << qPrintable(run.errorOutput);
}

TEST(RenderTool, BadUsageExitsWithTwo)
{
    EXPECT_EQ(runRender({}).exitCode, 2);
    EXPECT_EQ(runRender({QStringLiteral("only-one-argument.mid")}).exitCode, 2);
    EXPECT_EQ(runRender({QStringLiteral("--sample-rate"), QStringLiteral("100"), QStringLiteral("a.mid"),
                         QStringLiteral("b.wav")})
                  .exitCode,
              2);
}

// Writes the windowed song (soprano, then alto, then a piano) into dir.
QString windowedSongIn(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("windows.mid"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(test::windowedSong(true));
    return path;
}

TEST(RenderTool, PracticeOptionsThatCannotBeUsedExitWithTwo)
{
    QTemporaryDir dir;
    const QString song = windowedSongIn(dir);
    const QString out = dir.filePath(QStringLiteral("out.wav"));
    const QStringList bad[] = {
        {"--format", "aiff", song, out},
        {"--format", song, out},
        {"--part", "0", song, out},
        {"--part", "two", song, out},
        {"--part", "1", "--all-parts", song, dir.path()},
        {"--pan", "up", "--part", "1", song, out},
        {"--others-db", "120", "--part", "1", song, out},
        {"--others-db", "12", song, out},
        {"--pan", "left", song, out},
        {"--tempo", "0", song, out},
        {"--transpose", "13", song, out},
        {"--count-in", "3", song, out},
        {"--minus-one", song, out},
        {"--loud", song, out},
        {"--part", "4", song, out}, // the song has two voices and a piano
        {"--bars", "2-1", song, out},
        {"--bars", "40", song, out}, // the song has two bars
        {"--bars", "x", song, out},
        {"--repeat", "0", song, out},
        {"--pickup", "-1", song, out},
        {song, out, "extra"},
    };
    for (const QStringList& arguments : bad) {
        const RunResult run = runRender(arguments);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(run.errorOutput.contains(QStringLiteral("usage:"))) << qPrintable(run.errorOutput);
    }
    EXPECT_EQ(runRender({"--help"}).exitCode, 0);
    EXPECT_TRUE(runRender({"--part", "4", song, out}).errorOutput.contains(QStringLiteral("  3 Piano")))
        << "a part that is not there lists the song's voices";
    EXPECT_FALSE(QFile::exists(out));
}

TEST(RenderTool, AllPartsWritesEachVoiceAndTheFullMixIntoTheFolder)
{
    HARMONET_REQUIRE_SOUNDFONT();
    QTemporaryDir dir;
    const QString song = windowedSongIn(dir);
    const QString folder = dir.filePath(QStringLiteral("new folder/tracks"));
    const RunResult run =
        runRender({"--all-parts", "--format", "mp3", "--others-db", "-18", "--tempo", "60", song, folder});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errorOutput);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList({"Windows - Alto.mp3", "Windows - Full mix.mp3", "Windows - Soprano.mp3"}));
    const test::AudioFile alto = test::readAudioFile(folder + QStringLiteral("/Windows - Alto.mp3"));
    const test::AudioFile full = test::readAudioFile(folder + QStringLiteral("/Windows - Full mix.mp3"));
    EXPECT_NEAR(double(alto.frames), (2 * 2500 + 2000) * 44.1, 2304) << "at half the file's tempo";
    const auto balance = [](const test::AudioFile& file) {
        return test::levelDb(file, test::Side::Both, 2 * test::AltoFromMs + 200, 2 * test::AltoFromMs + 1000)
            - test::levelDb(file, test::Side::Both, 2 * test::SopranoFromMs + 200, 2 * test::SopranoFromMs + 1000);
    };
    EXPECT_NEAR(balance(alto) - balance(full), 18.0, 2.0);
}

TEST(RenderTool, OnePartPannedAndTheOthersSilent)
{
    HARMONET_REQUIRE_SOUNDFONT();
    QTemporaryDir dir;
    const QString song = windowedSongIn(dir);
    const QString out = dir.filePath(QStringLiteral("alto.flac"));
    const RunResult run = runRender({"--part", "2", "--others-db", "silent", "--pan", "right", song, out});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errorOutput);
    const test::AudioFile alto = test::readAudioFile(out);
    EXPECT_EQ(alto.format & 0xFF0000, test::majorFormatOf(QStringLiteral("flac"))) << "the format of OUT's extension";
    EXPECT_EQ(alto.title, "Windows \u2013 Alto");
    EXPECT_EQ(alto.trackNumber, "2") << "numbered as in --all-parts";
    const auto level = [&alto](int from, test::Side side) { return test::levelDb(alto, side, from + 100, from + 500); };
    EXPECT_LT(level(test::SopranoFromMs, test::Side::Both), level(test::AltoFromMs, test::Side::Both) - 40.0);
    EXPECT_GT(level(test::AltoFromMs, test::Side::Right), level(test::AltoFromMs, test::Side::Left) + 4.5);
    EXPECT_NEAR(level(test::PianoFromMs, test::Side::Left), level(test::PianoFromMs, test::Side::Right), 3.0);
}

TEST(RenderTool, CountedInTransposedAndWithoutThePart)
{
    HARMONET_REQUIRE_SOUNDFONT();
    QTemporaryDir dir;
    const QString song = windowedSongIn(dir);
    const QString out = dir.filePath(QStringLiteral("without alto.wav"));
    const RunResult run = runRender({"--part", "2", "--minus-one", "--count-in", "1", "--transpose", "-2", song, out});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errorOutput);
    const test::AudioFile file = test::readAudioFile(out);
    // A bar of 4/4 at 120 bpm comes first: every window two seconds later.
    constexpr int countInMs = 2000;
    EXPECT_NEAR(double(file.frames), (countInMs + 2500 + 2000) * 44.1, 64);
    const auto level = [&file](int from) { return test::levelDb(file, test::Side::Both, from + 100, from + 400); };
    EXPECT_GT(test::levelDb(file, test::Side::Both, 0, 80), -50.0) << "the first click, a short wood block";
    EXPECT_GT(level(countInMs + test::SopranoFromMs), -40.0);
    EXPECT_LT(level(countInMs + test::AltoFromMs), level(countInMs + test::SopranoFromMs) - 40.0) << "the alto left out";
}

TEST(RenderTool, AnUnwritableOutputFailsWithOneNamingTheFile)
{
    HARMONET_REQUIRE_SOUNDFONT();
    QTemporaryDir dir;
    const QString song = windowedSongIn(dir);
    // Inside a file, where no one may write.
    const QString out = song + QStringLiteral("/out.ogg");
    RunResult run = runRender({"--part", "1", song, out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errorOutput.contains(QStringLiteral("Cannot create \"%1\"").arg(out))) << qPrintable(run.errorOutput);
    run = runRender({"--all-parts", song, song + QStringLiteral("/tracks")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"windows.mid"}));
}

TEST(RenderTool, AFullDiskFailsWithOneNamingTheFileAndReasonAndLeavesNoFile)
{
    HARMONET_REQUIRE_SOUNDFONT();
    QTemporaryDir dir;
    const QString song = windowedSongIn(dir);
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    constexpr quint64 Room = 4096; // less than any format needs for the song
    for (AudioFormat format : AllAudioFormats) {
        const QString out = dir.filePath(QStringLiteral("alto.") + formatExtension(format));
        const RunResult run = runRender({"--part", "2", song, out}, Room);
        EXPECT_EQ(run.exitCode, 1) << qPrintable(run.errorOutput);
        EXPECT_TRUE(run.errorOutput.contains(QStringLiteral("\"%1\": %2").arg(out, reason))) << qPrintable(run.errorOutput);
    }
    const QString folder = dir.filePath(QStringLiteral("tracks"));
    const RunResult all = runRender({"--all-parts", "--format", "mp3", song, folder}, Room);
    EXPECT_EQ(all.exitCode, 1);
    EXPECT_TRUE(all.errorOutput.contains(QStringLiteral("\"%1/Windows - ").arg(folder))) << qPrintable(all.errorOutput);
    EXPECT_TRUE(all.errorOutput.contains(QStringLiteral("0 of 3 files written"))) << qPrintable(all.errorOutput);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"windows.mid"}));
}

TEST(RenderTool, AChoirScoresTracksAreNamedAndTaggedByTheSongsTitleAndReadableVoices)
{
    HARMONET_REQUIRE_SOUNDFONT();
    HARMONET_REQUIRE_LILYPOND_SCORE(score, QStringLiteral("Oyseaux-Endfassung"));
    QTemporaryDir dir;
    // Fast and small: the tags are what counts here.
    const RunResult run = runRender({"--all-parts", "--format", "mp3", "--tempo", "1000", "--sample-rate", "8000",
                                     score + QStringLiteral("/Oyseaux-Endfassung.midi"), dir.path()});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errorOutput);
    const QString song = QStringLiteral("Le Chant des Oyseaux");
    const QStringList voices{"Discantus", "Altus", "Tenor", "Bassus", "Full mix"};
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), voices.size());
    for (qsizetype i = 0; i < voices.size(); ++i) {
        const QString path = dir.filePath(song + " - " + voices[i] + ".mp3");
        const test::AudioFile file = test::readAudioFile(path);
        EXPECT_EQ(file.title, song + " - " + voices[i]);
        EXPECT_EQ(file.album, song);
        EXPECT_EQ(file.artist, "Harmonet");
        EXPECT_EQ(file.trackNumber, QStringLiteral("%1/5").arg(i + 1));
        QFile bytes(path);
        ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
        EXPECT_EQ(bytes.read(3), "ID3") << qPrintable(path) << " starts with an ID3v2 tag";
    }
}

} // namespace
