// harmonet-render: plays a MIDI file through the built-in synthesizer without
// any audio device and writes what it produced as an audio file, or as
// practice tracks: one file per voice with that voice emphasised, and the
// full mix.
//   harmonet-render [options] FILE OUT
// Exit status 0 on success; 1 when the file cannot be read, no SoundFont is
// found or an output file cannot be written (the message names the file and
// the reason; no part of it is left); 2 on bad usage.
#include "practice/VoiceModel.h"
#include "practice/ReadableNames.h"
#include "render/PracticeExport.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SongFile.h"
#include "session/PlayingSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <optional>
#include <variant>
#include <unistd.h>

using namespace harmonet;

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

const char* const usageText =
    "usage: harmonet-render [--format wav|flac|ogg|mp3] [--part N | --all-parts]\n"
    "                       [--others-db D] [--pan left|right] [--tempo BPM]\n"
    "                       [--follow-tempo] [--sample-rate N] FILE OUT\n"
    "  Renders the MIDI file FILE to the audio file OUT, or with --all-parts to\n"
    "  one file per voice (\"<song> - <voice>\") and \"<song> - Full mix\" in the folder OUT.\n"
    "  --format       audio format (default: OUT's extension, else wav)\n"
    "  --part N       emphasise voice N (1 = the song's first voice)\n"
    "  --all-parts    one file per voice, each emphasising its voice, and the full mix\n"
    "  --others-db D  the other voices D dB below the part (default 12), or \"silent\"\n"
    "  --pan SIDE     the part on the left or right, the other voices on the other side\n"
    "  --tempo BPM    play at BPM quarter notes a minute (1 to 1000; default the file's)\n"
    "  --follow-tempo follow the file's tempo changes (--tempo then sets the starting tempo)\n"
    "  --sample-rate  samples per second, 8000 to 96000 (default 44100)\n";

int usage(const QString& problem = {})
{
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "harmonet-render: %s\n", problem.toLocal8Bit().constData());
    }
    std::fputs(usageText, stderr);
    return exitUsage;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "harmonet-render: %s\n", message.toLocal8Bit().constData());
    return exitFailure;
}

struct Options {
    std::optional<AudioFormat> format;
    std::optional<int> part;
    bool allParts = false;
    std::optional<int> othersDb;
    std::optional<PanSide> pan;
    int bpm = 0;
    bool followTempo = false;
    int sampleRate = 44100;
    QString input;
    QString output;
};

std::optional<int> intIn(const QString& text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= low && value <= high ? std::optional<int>(value) : std::nullopt;
}

// The others' level: "silent", or D dB below the part, with or without its sign.
std::optional<int> othersLevel(const QString& text)
{
    if (text.compare(QLatin1String("silent"), Qt::CaseInsensitive) == 0) {
        return PracticeChoice::SilentDb;
    }
    bool ok = false;
    const double db = text.toDouble(&ok);
    if (!ok || !std::isfinite(db) || std::abs(db) > -PracticeChoice::SilentDb) {
        return std::nullopt;
    }
    return -int(std::lround(std::abs(db)));
}

// The options, or the reason they are not usable.
std::variant<Options, QString> parse(const QStringList& args)
{
    Options options;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        const QString value = hasValue ? args[i + 1] : QString();
        const auto takeValue = [&] { ++i; };
        if (arg == QLatin1String("--all-parts")) {
            options.allParts = true;
        } else if (arg == QLatin1String("--follow-tempo")) {
            options.followTempo = true;
        } else if (!arg.startsWith(QLatin1String("--"))) {
            positional.append(arg);
        } else if (!hasValue) {
            return QStringLiteral("%1 needs a value").arg(arg);
        } else if (arg == QLatin1String("--format")) {
            options.format = formatFromName(value);
            if (!options.format || value.contains(QLatin1Char('.'))) {
                return QStringLiteral("unknown format \"%1\"").arg(value);
            }
            takeValue();
        } else if (arg == QLatin1String("--part")) {
            options.part = intIn(value, 1, 1000);
            if (!options.part) {
                return QStringLiteral("--part takes a voice number from 1");
            }
            takeValue();
        } else if (arg == QLatin1String("--others-db")) {
            options.othersDb = othersLevel(value);
            if (!options.othersDb) {
                return QStringLiteral("--others-db takes 0 to 96 dB or \"silent\"");
            }
            takeValue();
        } else if (arg == QLatin1String("--pan")) {
            if (value != QLatin1String("left") && value != QLatin1String("right")) {
                return QStringLiteral("--pan takes left or right");
            }
            options.pan = value == QLatin1String("left") ? PanSide::Left : PanSide::Right;
            takeValue();
        } else if (arg == QLatin1String("--tempo")) {
            const std::optional<int> bpm = intIn(value, 1, 1000);
            if (!bpm) {
                return QStringLiteral("--tempo takes 1 to 1000 quarter notes a minute");
            }
            options.bpm = *bpm;
            takeValue();
        } else if (arg == QLatin1String("--sample-rate")) {
            const std::optional<int> rate = intIn(value, 8000, 96000);
            if (!rate) {
                return QStringLiteral("--sample-rate takes 8000 to 96000");
            }
            options.sampleRate = *rate;
            takeValue();
        } else {
            return QStringLiteral("unknown option %1").arg(arg);
        }
    }
    if (positional.size() != 2) {
        return QStringLiteral("FILE and OUT are needed");
    }
    if (options.part && options.allParts) {
        return QStringLiteral("--part and --all-parts exclude each other");
    }
    if ((options.othersDb || options.pan) && !options.part && !options.allParts) {
        return QStringLiteral("--others-db and --pan need --part or --all-parts");
    }
    options.input = positional[0];
    options.output = positional[1];
    return options;
}

QString voiceList(const QList<TVoice>& voices)
{
    QStringList lines;
    for (qsizetype i = 0; i < voices.size(); ++i) {
        lines.append(QStringLiteral("  %1 %2").arg(i + 1).arg(voices[i].name));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

int main(int argc, char** argv)
{
    // A file-size limit reached (ulimit -f) fails the write, which is then
    // reported like a full disk, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usageText, stdout);
        return 0;
    }
    const auto parsed = parse(arguments);
    if (const QString* problem = std::get_if<QString>(&parsed)) {
        return usage(*problem);
    }
    const Options& options = std::get<Options>(parsed);

    if (const SongFileProblem problem = songFileProblem(options.input); problem != SongFileProblem::None) {
        return fail(songFileProblemText(problem, options.input));
    }
    PlayingSession session;
    ExportRequest request;
    try {
        session.load(options.input);
        session.sequencer().SetFollowTempoChanges(options.followTempo);
        if (options.bpm > 0) {
            session.sequencer().SetBpm(options.bpm);
        }
    } catch (const std::exception& error) {
        return fail(QStringLiteral("cannot read %1: %2").arg(options.input, QString::fromUtf8(error.what())));
    }
    request.song = session.song();
    request.settings = session.settings();
    request.sampleRate = options.sampleRate;
    request.mix.othersDb = options.othersDb.value_or(PracticeChoice::DefaultOthersDb);
    request.mix.panned = options.pan.has_value();
    request.mix.side = options.pan.value_or(PanSide::Left);
    const TMidiFile& song = session.sequencer();
    request.songName = songTitle(song, options.input);

    std::vector<PracticeFile> files;
    if (options.allParts) {
        request.format = options.format.value_or(AudioFormat::Wav);
        request.folder = options.output;
        if (!QDir().mkpath(options.output)) {
            return fail(QStringLiteral("cannot create the folder %1").arg(options.output));
        }
        files = plannedFiles(request);
    } else {
        request.format = options.format.value_or(formatFromName(options.output).value_or(AudioFormat::Wav));
        PracticeFile file{options.output, fullMixName(), PracticeChoice::NoPart};
        if (options.part) {
            const QList<TVoice>& voices = session.voices();
            if (*options.part > int(voices.size())) {
                return usage(QStringLiteral("the song has no voice %1; its voices are:\n%2")
                                 .arg(*options.part)
                                 .arg(voiceList(voices)));
            }
            const TVoice& voice = voices[*options.part - 1];
            file.voice = voice.name;
            file.part = voice.key();
        }
        // Tagged as the same file of --all-parts is (an accompaniment, which
        // has none there, goes without a track number).
        for (const PracticeFile& planned : plannedFiles(request)) {
            if (planned.part == file.part) {
                file.trackNumber = planned.trackNumber;
                file.trackCount = planned.trackCount;
            }
        }
        files.push_back(file);
    }
    if (!formatAvailable(request.format)) {
        return fail(QStringLiteral("%1 files cannot be written on this system").arg(formatCaption(request.format)));
    }

    // The files are rendered side by side; each reports when it is done.
    int failures = 0;
    int written = 0;
    const std::atomic<bool> cancel{false};
    PracticeRenderJob job(request, files);
    job.run(cancel, {}, [&](int index, FileOutcome outcome, const QString& message) {
        static std::mutex reporting;
        const std::lock_guard lock(reporting);
        // Files rendered beside a failed one may fail for the same reason: the first says it.
        if (outcome == FileOutcome::Failed && failures++ == 0) {
            fail(message);
        } else if (outcome == FileOutcome::Written) {
            ++written;
            if (isatty(STDERR_FILENO)) {
                std::fprintf(stderr, "wrote %s\n",
                             QDir::toNativeSeparators(files[std::size_t(index)].path).toLocal8Bit().constData());
            }
        }
    });
    if (failures > 0) {
        if (options.allParts) {
            fail(QStringLiteral("%1 of %2 files written").arg(written).arg(files.size()));
        }
        return exitFailure;
    }
    return 0;
}
