// harmonet-score: scores a sung take against one voice of a MIDI file, note
// by note, and prints the results as JSON.
//   harmonet-score FILE --part VOICE TAKE [--offset MS]
// Exit status 0 on success; 1 when the song or the take cannot be read; 2 on
// bad usage (also for a voice the song does not have, whose voices are listed).
#include "sequencer/MidiFile.h"
#include "sequencer/SongFile.h"
#include "session/Song.h"
#include "singing/MyPart.h"
#include "singing/NoteScoring.h"
#include "singing/TakeAnalyzer.h"
#include "singing/TakeFile.h"
#include "tools/score/ScoreJson.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <limits>

using namespace harmonet;

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;
// The most a take may lie off the song either way.
constexpr double LongestOffsetMs = 60.0 * 60.0 * 1000.0;

const char* const usageText =
    "usage: harmonet-score FILE --part VOICE TAKE [--offset MS]\n"
    "  Scores the sung take TAKE (an audio file) against the voice VOICE of the\n"
    "  MIDI file FILE and prints each note's result and a summary as JSON.\n"
    "  --part VOICE  the voice's number (1 = the song's first voice) or its name\n"
    "  --offset MS   how much later than the song the take runs (the recording's\n"
    "                delay), subtracted from its times; may be negative (default 0)\n";

int usage(const QString& problem)
{
    std::fprintf(stderr, "harmonet-score: %s\n", problem.toLocal8Bit().constData());
    std::fputs(usageText, stderr);
    return exitUsage;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "harmonet-score: %s\n", message.toLocal8Bit().constData());
    return exitFailure;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(usageText, stdout);
        return 0;
    }
    QStringList positional;
    QString part;
    double offsetMs = 0.0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            positional.append(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            return usage(QStringLiteral("%1 needs a value").arg(arg));
        }
        const QString value = args[++i];
        if (arg == QLatin1String("--part")) {
            part = value;
        } else if (arg == QLatin1String("--offset")) {
            bool ok = false;
            offsetMs = value.toDouble(&ok);
            if (!ok || !std::isfinite(offsetMs) || std::abs(offsetMs) > LongestOffsetMs) {
                return usage(QStringLiteral("--offset takes milliseconds, at most an hour either way"));
            }
        } else {
            return usage(QStringLiteral("unknown option %1").arg(arg));
        }
    }
    if (positional.size() != 2 || part.isEmpty()) {
        return usage(QStringLiteral("FILE, --part VOICE and TAKE are needed"));
    }
    const QString& songPath = positional[0];
    const QString& takePath = positional[1];

    if (const SongFileProblem problem = songFileProblem(songPath); problem != SongFileProblem::None) {
        return fail(songFileProblemText(problem, songPath));
    }
    std::shared_ptr<const Song> song;
    try {
        song = Song::read(songPath);
    } catch (const std::exception& error) {
        return fail(QStringLiteral("cannot read %1: %2").arg(songPath, QString::fromUtf8(error.what())));
    }
    const std::optional<TVoice> voice = voiceNamed(song->voices(), part);
    if (!voice) {
        QStringList names;
        int number = 0;
        for (const TVoice& each : song->voices()) {
            names.append(QStringLiteral("  %1 %2").arg(++number).arg(each.name));
        }
        return usage(QStringLiteral("the song has no voice \"%1\"; its voices are:\n%2").arg(part, names.join('\n')));
    }

    TakeAudio take;
    try {
        take = readTake(takePath);
    } catch (const std::exception& error) {
        return fail(QString::fromUtf8(error.what()));
    }
    TakeAnalyzer analyzer(take.sampleRate, -offsetMs);
    analyzer.push(take.samples);

    const std::vector<TargetNote> targets = partTargets(song->file(), *voice);
    const std::vector<NoteResult> results =
        scoreNotes(targets, analyzer.frames(), -std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::infinity());
    const QByteArray json = tools::scoreJson(results, summarize(results));
    std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
    return 0;
}
