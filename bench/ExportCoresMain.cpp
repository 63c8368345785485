// harmonet-bench-cores: what rendering on every core gains on a long choir
// score, against the same work done the way it was before and against
// FluidSynth's own file renderer, all in the same run. Each measurement runs
// in a child process of its own, so that its wall time, processor time and
// peak memory are its alone:
//   practice MP3, per file   every voice and the full mix to MP3, each file a
//                            synthesis of the whole song with the emphasis set
//                            by controllers, the files side by side on the cores
//   practice MP3, stems      the same files mixed from one stem per voice
//   practice WAV, stems      the same to WAV
//   full render, one core    the song to one WAV file on one synthesizer
//   full render, split       the same split by voices over the cores, summed
//   fluidsynth -ni -F        FluidSynth's file renderer, same file and SoundFont
// The score is made with lilypond from the Mutopia source of the third-party
// test data, at its own tempo.
//   harmonet-bench-cores [--midi FILE]
#include "bench/BenchSongs.h"
#include "midiout/SoundFontLocator.h"
#include "render/PracticeExport.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "sequencer/MidiFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

using namespace harmonet;

namespace {

// What a child process took.
struct Cost {
    bool ok = false;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long peakKb = 0;
};

Cost runChild(const QStringList& command)
{
    std::vector<QByteArray> bytes;
    for (const QString& arg : command) {
        bytes.push_back(QFile::encodeName(arg));
    }
    std::vector<char*> argv;
    for (QByteArray& arg : bytes) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    Cost cost;
    QElapsedTimer wall;
    wall.start();
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return cost;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        return cost;
    }
    cost.wallSeconds = double(wall.nsecsElapsed()) / 1e9;
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    cost.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    cost.peakKb = usage.ru_maxrss;
    cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return cost;
}

ExportRequest requestFor(const QString& midi, const QString& folder, AudioFormat format)
{
    PlayingSession session;
    session.load(midi);
    ExportRequest request;
    request.song = session.song();
    request.settings = session.settings();
    request.songName = QStringLiteral("miserere");
    request.folder = folder;
    request.format = format;
    return request;
}

// Every practice file rendered whole with the controllers' emphasis, the
// files side by side on the cores: the export before stems.
bool exportPerFile(const ExportRequest& request)
{
    const std::vector<PracticeFile> files = plannedFiles(request);
    std::atomic<int> next{0};
    std::atomic<bool> ok{true};
    const auto work = [&] {
        for (std::size_t i = std::size_t(next++); i < files.size(); i = std::size_t(next++)) {
            try {
                ok = renderPracticeFile(request, files[i], {}) && ok;
            } catch (const std::exception& error) {
                std::fprintf(stderr, "%s\n", error.what());
                ok = false;
            }
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (unsigned t = 1; t < std::max(1u, std::thread::hardware_concurrency()); ++t) {
            helpers.emplace_back(work);
        }
        work();
    }
    return ok;
}

bool runJob(const ExportRequest& request, const std::vector<PracticeFile>& files, int threads)
{
    const std::atomic<bool> cancel{false};
    bool ok = true;
    PracticeRenderJob(request, files).run(
        cancel, {},
        [&](int, FileOutcome outcome, const QString& message) {
            if (outcome != FileOutcome::Written) {
                std::fprintf(stderr, "%s\n", qPrintable(message));
                ok = false;
            }
        },
        threads);
    return ok;
}

// One measurement, in the child process.
int child(const QString& mode, const QString& midi, const QString& out)
{
    if (mode == QLatin1String("per-file-mp3")) {
        return exportPerFile(requestFor(midi, out, AudioFormat::Mp3)) ? 0 : 1;
    }
    if (mode == QLatin1String("stems-mp3") || mode == QLatin1String("stems-wav")) {
        const ExportRequest request =
            requestFor(midi, out, mode.endsWith(QLatin1String("mp3")) ? AudioFormat::Mp3 : AudioFormat::Wav);
        return runJob(request, plannedFiles(request), 0) ? 0 : 1;
    }
    const ExportRequest request = requestFor(midi, out, AudioFormat::Wav);
    const PracticeFile file{QDir(out).filePath(mode + QStringLiteral(".wav")), fullMixName()};
    return runJob(request, {file}, mode == QLatin1String("one-core") ? 1 : 0) ? 0 : 1;
}

// The 16-bit samples of a WAV file this program wrote (its 44-byte header left out).
QByteArray wavSamples(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().mid(44) : QByteArray();
}

// How a render differs from a reference of the same length: the share of
// samples off by more than one step, and the difference's power below the
// reference's.
QString differenceOf(const QByteArray& reference, const QByteArray& render)
{
    if (reference.size() != render.size() || reference.isEmpty()) {
        return QStringLiteral("lengths differ");
    }
    const auto* x = reinterpret_cast<const qint16*>(reference.constData());
    const auto* y = reinterpret_cast<const qint16*>(render.constData());
    const qsizetype count = reference.size() / 2;
    qsizetype beyondRounding = 0;
    double error = 0.0;
    double signal = 0.0;
    for (qsizetype i = 0; i < count; ++i) {
        const double step = double(y[i]) - double(x[i]);
        beyondRounding += std::abs(step) > 1.0;
        error += step * step;
        signal += double(x[i]) * double(x[i]);
    }
    return QStringLiteral("%1% of samples beyond rounding, difference %2 dB below")
        .arg(100.0 * double(beyondRounding) / double(count), 0, 'f', 3)
        .arg(error > 0.0 ? 10.0 * std::log10(signal / error) : 200.0, 0, 'f', 1);
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2)
                                          : QStringLiteral("?");
}

void print(const char* what, const Cost& cost, const QString& remark = {})
{
    std::printf("%-28s %7.2f s wall %7.2f s processor %8ld kB peak  %s%s\n", what, cost.wallSeconds, cost.cpuSeconds,
                cost.peakKb, cost.ok ? "" : "FAILED ", qPrintable(remark));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--child")) {
        return child(args[2], args[3], args[4]);
    }
    QTemporaryDir work;
    QString midi = args.size() == 3 && args[1] == QLatin1String("--midi") ? args[2] : QString();
    if (midi.isEmpty()) {
        const QString source = qEnvironmentVariable("HARMONET_TESTDATA", QStringLiteral(HARMONET_TESTDATA_DEFAULT))
            + QStringLiteral("/third-party/mutopia/miserere-mei-deus.ly");
        const QByteArray piece = bench::lilypondMidi(source);
        if (piece.isEmpty()) {
            std::printf("harmonet-bench-cores skipped: no Mutopia source or no lilypond\n");
            return 0;
        }
        midi = work.filePath(QStringLiteral("miserere.mid"));
        QFile file(midi);
        if (!file.open(QIODevice::WriteOnly) || file.write(piece) != piece.size()) {
            return 1;
        }
    }
    const std::shared_ptr<const Song> song = Song::read(midi);
    std::printf("%s: %.1f s of music, %zu voices; %u cores; load average before %s\n", qPrintable(midi),
                song->file().SongLengthMs() / 1000.0, std::size_t(song->voices().size()),
                std::thread::hardware_concurrency(), qPrintable(loadAverage()));

    const QString self = QCoreApplication::applicationFilePath();
    const auto measure = [&](const QString& mode) {
        const QString out = work.filePath(mode);
        QDir().mkpath(out);
        return runChild({self, QStringLiteral("--child"), mode, midi, out});
    };
    const Cost perFile = measure(QStringLiteral("per-file-mp3"));
    const Cost stemsMp3 = measure(QStringLiteral("stems-mp3"));
    const Cost stemsWav = measure(QStringLiteral("stems-wav"));
    const Cost oneCore = measure(QStringLiteral("one-core"));
    const Cost split = measure(QStringLiteral("split"));
    const QString fluidsynth = QStandardPaths::findExecutable(QStringLiteral("fluidsynth"));
    Cost theirs;
    if (!fluidsynth.isEmpty()) {
        theirs = runChild({fluidsynth, QStringLiteral("-ni"), QStringLiteral("-F"),
                           work.filePath(QStringLiteral("fs.wav")), QStringLiteral("-r"), QStringLiteral("44100"),
                           findSoundFont(), midi});
    }

    print("practice MP3, per file", perFile);
    const auto ratio = [](double part, double whole) { return QString::number(part / whole, 'f', 2); };
    print("practice MP3, stems", stemsMp3,
          QStringLiteral("%1 x per file (goal <= 0.5)").arg(ratio(stemsMp3.wallSeconds, perFile.wallSeconds)));
    print("practice WAV, stems", stemsWav,
          QStringLiteral("%1 x full render split (goal <= 2)").arg(ratio(stemsWav.wallSeconds, split.wallSeconds)));
    print("full render, one core", oneCore);
    const QString difference = differenceOf(wavSamples(work.filePath(QStringLiteral("one-core/one-core.wav"))),
                                            wavSamples(work.filePath(QStringLiteral("split/split.wav"))));
    print("full render, split", split,
          QStringLiteral("%1 x one core; %2").arg(ratio(split.wallSeconds, oneCore.wallSeconds), difference));
    if (fluidsynth.isEmpty()) {
        std::printf("fluidsynth -ni -F: not installed (make bench installs it)\n");
    } else {
        print("fluidsynth -ni -F", theirs,
              QStringLiteral("split render %1 x this (goal <= 0.6)").arg(ratio(split.wallSeconds, theirs.wallSeconds)));
    }
    std::printf("load average after %s\n", qPrintable(loadAverage()));
    const bool ok = perFile.ok && stemsMp3.ok && stemsWav.ok && oneCore.ok && split.ok
        && (fluidsynth.isEmpty() || theirs.ok);
    return ok ? 0 : 1;
}
