// harmonet-bench-practice: how long an export of practice tracks takes and
// how much memory it needs. Renders every voice and the full mix of a song
// to MP3, the files side by side as the export dialog does, and prints the
// wall time in all, the speed per file in times real time, and the peak
// resident memory so far (which stays flat when the audio is streamed).
//   1. the example song (examples/old-hundredth.mid);
//   2. a long choral piece made with lilypond from a Mutopia source of the
//      third-party test data (skipped when the data or lilypond is absent),
//      played at the tempo that makes it last 10 minutes.
//
//   harmonet-bench-practice [--format wav|flac|ogg|mp3]
#include "bench/BenchSongs.h"
#include "render/PracticeExport.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "practice/PracticeMix.h"
#include "sequencer/MidiFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>

using namespace harmonet;

namespace {

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Processor time of all the program's threads so far, in seconds.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Renders every voice and the full mix of the song; prints the figures.
bool exportSong(const QString& label, const QByteArray& bytes, AudioFormat format, int lengthMs)
{
    QTemporaryDir out;
    PlayingSession session;
    session.setSong(Song::fromBytes(bytes));
    TMidiFile& song = session.sequencer();
    if (lengthMs > 0 && song.SongLengthMs() > 0) {
        song.SetBpm(std::max(1, int(std::lround(song.Bpm() * double(song.SongLengthMs()) / lengthMs))));
    }
    ExportRequest request;
    request.song = session.song();
    request.songName = label;
    request.settings = session.settings();
    request.folder = out.path();
    request.format = format;
    const std::vector<PracticeFile> files = plannedFiles(request);

    const std::atomic<bool> cancel{false};
    int failures = 0;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    PracticeRenderJob(request, files).run(cancel, {}, [&](int, FileOutcome outcome, const QString& message) {
        if (outcome != FileOutcome::Written) {
            ++failures;
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
    const double seconds = wall.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    const double audioSeconds = (song.SongLengthMs() + 2000) / 1000.0;
    std::printf("%-16s %zu files (%d voices + full mix) of %.1f s %s: %.2f s wall in all (%.2f s processor), "
                "%.0f x real time per file, peak RSS %ld kB\n",
                qPrintable(label), files.size(), int(files.size()) - 1, audioSeconds,
                qPrintable(formatExtension(format)), seconds, cpu, audioSeconds * double(files.size()) / seconds,
                peakRssKb());
    return failures == 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype formatAt = args.indexOf(QStringLiteral("--format"));
    const AudioFormat format = formatAt > 0 ? formatFromName(args.value(formatAt + 1)).value_or(AudioFormat::Mp3)
                                            : AudioFormat::Mp3;

    QFile example(QStringLiteral(HARMONET_EXAMPLE_SONG));
    if (!example.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the example song\n");
        return 1;
    }
    bool ok = exportSong(QStringLiteral("old-hundredth"), example.readAll(), format, 0);

    const QString source = qEnvironmentVariable("HARMONET_TESTDATA", QStringLiteral(HARMONET_TESTDATA_DEFAULT))
        + QStringLiteral("/third-party/mutopia/miserere-mei-deus.ly");
    const QByteArray piece = bench::lilypondMidi(source);
    if (piece.isEmpty()) {
        std::printf("miserere-mei-deus skipped: no Mutopia source or no lilypond\n");
    } else {
        ok = exportSong(QStringLiteral("miserere-10min"), piece, format, 10 * 60 * 1000) && ok;
    }
    return ok ? 0 : 1;
}
