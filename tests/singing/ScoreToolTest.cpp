#include "render/AudioFileWriter.h"
#include "tests/singing/SungAlto.h"
#include "tests/support/ChildProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

constexpr int Rate = 44100;

struct ScoreRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ScoreRun runScore(const QStringList& arguments)
{
    test::ChildProcess::RunOptions options;
    options.timeoutMs = 120000;
    const test::ChildProcess::Result run =
        test::ChildProcess::run(QStringLiteral(HARMONET_SCORE_PATH), arguments, options);
    if (!run.finished || !run.exitCode) {
        ADD_FAILURE() << "harmonet-score did not finish";
        return {};
    }
    return {*run.exitCode, run.output, run.errors};
}

// The alto sung with the faults, written as a stereo WAV file.
QString writeTake(const QTemporaryDir& dir, const QString& name, const AltoFaults& faults)
{
    const std::vector<TargetNote> targets = altoTargets(*exampleSong());
    const std::vector<qint16> mono =
        toPcm16(singNotes(sungAlto(targets, faults), Rate, takeLengthMs(targets) + faults.delayMs));
    std::vector<qint16> stereo;
    for (const qint16 sample : mono) {
        stereo.insert(stereo.end(), {sample, sample});
    }
    const QString path = dir.filePath(name);
    AudioFileWriter writer(path, AudioFormat::Wav, Rate);
    writer.write(stereo);
    writer.commit();
    return path;
}

TEST(ScoreTool, PrintsEveryNoteWithTheFaultsNamed)
{
    QTemporaryDir dir;
    struct Case {
        const char* what;
        AltoFaults faults;
        QStringList options;
        std::map<int, QString> wrong;
    };
    const std::map<int, QString> three{
        {ThreeFaults.flatNote, QStringLiteral("flat")},
        {ThreeFaults.lateNote, QStringLiteral("late")},
        {ThreeFaults.leftOut, QStringLiteral("missed")},
    };
    const Case cases[] = {
        {"three faults, voice by name", ThreeFaults, {QStringLiteral("--part"), QStringLiteral("alto")}, three},
        {"an octave down, voice by number", {-1, -1, -1, -1, 0.0}, {QStringLiteral("--part"), QStringLiteral("2")}, {}},
        {"recorded 250 ms late", {-1, -1, -1, 0, 250.0},
         {QStringLiteral("--part"), QStringLiteral("Alto"), QStringLiteral("--offset"), QStringLiteral("250")}, {}},
    };
    const int altoNotes = int(altoTargets(*exampleSong()).size());
    for (const Case& c : cases) {
        const QString take = writeTake(dir, QStringLiteral("take.wav"), c.faults);
        const ScoreRun run = runScore(QStringList{exampleSongPath()} + c.options + QStringList{take});
        ASSERT_EQ(run.exitCode, 0) << c.what << ": " << run.err.toStdString();
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        const QJsonArray notes = json.value(QStringLiteral("notes")).toArray();
        ASSERT_EQ(notes.size(), altoNotes) << c.what;
        for (int i = 0; i < notes.size(); ++i) {
            const QJsonObject note = notes[i].toObject();
            const auto wrong = c.wrong.find(i);
            EXPECT_EQ(note.value(QStringLiteral("verdict")).toString(),
                      wrong == c.wrong.end() ? QStringLiteral("good") : wrong->second)
                << c.what << " note " << i;
            EXPECT_EQ(note.value(QStringLiteral("cents")).isNull(), wrong != c.wrong.end() && wrong->second == "missed")
                << c.what << " note " << i;
            EXPECT_EQ(note.value(QStringLiteral("octaves")).toInt(), i == c.faults.leftOut ? 0 : c.faults.octaves);
        }
        EXPECT_EQ(notes[0].toObject().value(QStringLiteral("bar")).toInt(), 1) << c.what;
        EXPECT_EQ(notes[1].toObject().value(QStringLiteral("beat")).toDouble(), 3.0) << c.what;
        const QJsonObject summary = json.value(QStringLiteral("summary")).toObject();
        EXPECT_EQ(summary.value(QStringLiteral("notes")).toInt(), altoNotes) << c.what;
        EXPECT_EQ(summary.value(QStringLiteral("missed")).toInt(), c.faults.leftOut >= 0 ? 1 : 0) << c.what;
        EXPECT_EQ(summary.value(QStringLiteral("lateOver100Ms")).toInt(), c.faults.lateNote >= 0 ? 1 : 0) << c.what;
        EXPECT_EQ(summary.value(QStringLiteral("worstBars")).toArray().size(), int(c.wrong.size())) << c.what;
    }
}

TEST(ScoreTool, RefusesWhatItCannotScore)
{
    QTemporaryDir dir;
    const QString take = writeTake(dir, QStringLiteral("take.wav"), {});
    QFile notAudio(dir.filePath(QStringLiteral("words.wav")));
    ASSERT_TRUE(notAudio.open(QIODevice::WriteOnly));
    notAudio.write("RIFF but no audio at all");
    notAudio.close();
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* says;
    };
    const QString song = exampleSongPath();
    const QString part = QStringLiteral("--part");
    const Case cases[] = {
        {{song, part, QStringLiteral("Descant"), take}, 2, "its voices are:\n  1 Soprano"},
        {{song, part, QStringLiteral("9"), take}, 2, "no voice \"9\""},
        {{song, take}, 2, "--part VOICE"},
        {{song, part, QStringLiteral("1"), take, QStringLiteral("--offset"), QStringLiteral("soon")}, 2, "--offset"},
        {{song, part, QStringLiteral("1"), dir.filePath(QStringLiteral("gone.wav"))}, 1, "gone.wav"},
        {{song, part, QStringLiteral("1"), notAudio.fileName()}, 1, "words.wav"},
        {{dir.filePath(QStringLiteral("gone.mid")), part, QStringLiteral("1"), take}, 1, "gone.mid"},
    };
    for (const Case& c : cases) {
        const ScoreRun run = runScore(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

} // namespace
} // namespace harmonet::test
