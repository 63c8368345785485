// harmonet-render: plays a MIDI file through the built-in synthesizer without
// any audio device and writes what it produced as an audio file, or as
// practice tracks: one file per voice with that voice emphasised, and the
// full mix.
//   harmonet-render [options] FILE OUT
// Exit status 0 on success; 1 when the file cannot be read, no SoundFont is
// found or an output file cannot be written (the message names the file and
// the reason; no part of it is left); 2 on bad usage.
#include "practice/Clicks.h"
#include "practice/Transposition.h"
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
#include <utility>
#include <variant>
#include <unistd.h>

using namespace harmonet;

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

const char* const usageText =
    "usage: harmonet-render [--format wav|flac|ogg|mp3] [--part N | --all-parts]\n"
    "                       [--others-db D] [--pan left|right] [--minus-one] [--tempo BPM]\n"
    "                       [--follow-tempo] [--transpose N] [--count-in BARS] [--count-in-each-pass]\n"
    "                       [--metronome] [--sample-rate N] [--bars FIRST-LAST] [--repeat N]\n"
    "                       [--pickup BEATS]\n"
    "                       FILE OUT\n"
    "  Renders the MIDI file FILE to the audio file OUT, or with --all-parts to\n"
    "  one file per voice (\"<song> - <voice>\") and \"<song> - Full mix\" in the folder OUT.\n"
    "  --format       audio format (default: OUT's extension, else wav)\n"
    "  --part N       emphasise voice N (1 = the song's first voice)\n"
    "  --all-parts    one file per voice, each emphasising its voice, and the full mix\n"
    "  --others-db D  the other voices D dB below the part (default 12), or \"silent\"\n"
    "  --pan SIDE     the part on the left or right, the other voices on the other side\n"
    "  --minus-one    leave the part out, the other voices at their full level\n"
    "  --tempo BPM    play at BPM quarter notes a minute (1 to 1000; default the file's)\n"
    "  --follow-tempo follow the file's tempo changes (--tempo then sets the starting tempo)\n"
    "  --transpose N  move the song N semitones up (down when negative), -12 to 12; drums stay\n"
    "  --count-in BARS  count in 0, 1 or 2 bars of clicks before the song\n"
    "  --count-in-each-pass  with --repeat, count in before every pass, not only the first\n"
    "  --metronome    a click on every beat of the song\n"
    "  --sample-rate  samples per second, 8000 to 96000 (default 44100)\n"
    "  --bars A-B     only bars A to B as the score numbers them (\"12\" alone: bar 12)\n"
    "  --repeat N     play them (or the whole song) N times over, 1 to 100\n"
    "  --pickup BEATS the upbeat before bar 1 in beats, where the file does not show it\n";

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
    bool minusOne = false;
    int bpm = 0;
    int transpose = 0;
    int countInBars = 0;
    bool countInEachPass = false;
    bool metronome = false;
    bool followTempo = false;
    int sampleRate = 44100;
    std::optional<std::pair<qint64, qint64>> bars;
    int repeats = 1;
    std::optional<double> pickupBeats;
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

// "12-20" or "12": the first and last bar.
std::optional<std::pair<qint64, qint64>> barRange(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('-'));
    if (parts.size() > 2) {
        return std::nullopt;
    }
    bool firstOk = false;
    bool lastOk = false;
    const qint64 first = parts.front().toLongLong(&firstOk);
    const qint64 last = parts.back().toLongLong(&lastOk);
    if (!firstOk || !lastOk || first < 0 || last < first) {
        return std::nullopt;
    }
    return std::pair<qint64, qint64>(first, last);
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
        } else if (arg == QLatin1String("--minus-one")) {
            options.minusOne = true;
        } else if (arg == QLatin1String("--metronome")) {
            options.metronome = true;
        } else if (arg == QLatin1String("--count-in-each-pass")) {
            options.countInEachPass = true;
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
        } else if (arg == QLatin1String("--bars")) {
            options.bars = barRange(value);
            if (!options.bars) {
                return QStringLiteral("--bars takes the first and last bar, as in 12-20");
            }
            takeValue();
        } else if (arg == QLatin1String("--repeat")) {
            const std::optional<int> repeats = intIn(value, 1, 100);
            if (!repeats) {
                return QStringLiteral("--repeat takes 1 to 100");
            }
            options.repeats = *repeats;
            takeValue();
        } else if (arg == QLatin1String("--pickup")) {
            bool ok = false;
            const double beats = value.toDouble(&ok);
            if (!ok || !std::isfinite(beats) || beats < 0.0 || beats > 255.0) {
                return QStringLiteral("--pickup takes 0 to 255 beats");
            }
            options.pickupBeats = beats;
            takeValue();
        } else if (arg == QLatin1String("--transpose")) {
            const std::optional<int> semitones = intIn(value, TTransposition::Lowest, TTransposition::Highest);
            if (!semitones) {
                return QStringLiteral("--transpose takes -12 to 12 semitones");
            }
            options.transpose = *semitones;
            takeValue();
        } else if (arg == QLatin1String("--count-in")) {
            const std::optional<int> bars = intIn(value, 0, ClickSettings::MostCountInBars);
            if (!bars) {
                return QStringLiteral("--count-in takes 0, 1 or 2 bars");
            }
            options.countInBars = *bars;
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
    if ((options.othersDb || options.pan || options.minusOne) && !options.part && !options.allParts) {
        return QStringLiteral("--others-db, --pan and --minus-one need --part or --all-parts");
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
        session.setTranspose(options.transpose);
        ClickSettings clicks;
        clicks.countInBars = options.countInBars;
        clicks.beforeEachPass = options.countInEachPass;
        clicks.metronome = options.metronome;
        session.setClicks(clicks);
    } catch (const std::exception& error) {
        return fail(QStringLiteral("cannot read %1: %2").arg(options.input, QString::fromUtf8(error.what())));
    }
    if (options.pickupBeats) {
        session.setPickupBeats(options.pickupBeats);
    }
    if (options.bars || options.repeats > 1) {
        const TBarMap& bars = session.bars();
        const auto [first, last] = options.bars.value_or(std::pair<qint64, qint64>(bars.FirstBar(), bars.LastBar()));
        if (bars.IsEmpty() || first < bars.FirstBar() || last > bars.LastBar()) {
            return usage(QStringLiteral("the song has bars %1 to %2").arg(bars.FirstBar()).arg(bars.LastBar()));
        }
        session.setLoop(first, last, options.repeats);
    }
    request.song = session.song();
    request.settings = session.settings();
    request.sampleRate = options.sampleRate;
    request.mix.othersDb = options.othersDb.value_or(PracticeChoice::DefaultOthersDb);
    request.mix.panned = options.pan.has_value();
    request.mix.side = options.pan.value_or(PanSide::Left);
    request.mix.withoutMyPart = options.minusOne;
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
