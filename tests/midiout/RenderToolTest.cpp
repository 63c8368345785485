// The render tool as its users run it: a WAV file of the song's length plus
// the two-second tail, and clear failures.
#include "midiout/SoundFontLocator.h"
#include "sequencer/MidiFile.h"
#include "tests/support/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace harmonet;

namespace {

struct RunResult {
    int exitCode = -1;
    QString errorOutput;
};

RunResult runRender(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(HARMONET_RENDER_TOOL), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
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
    EXPECT_TRUE(run.errorOutput.contains(QStringLiteral("cannot read"))) << qPrintable(run.errorOutput);
    EXPECT_FALSE(QFile::exists(wav));

    run = runRender({dir.filePath(QStringLiteral("missing.mid")), wav});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errorOutput.contains(QStringLiteral("missing.mid"))) << qPrintable(run.errorOutput);
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

} // namespace
