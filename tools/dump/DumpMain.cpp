// harmonet-dump: loads a MIDI file with the sequencer and prints what it read.
//   harmonet-dump FILE              the whole model as one JSON object
//   harmonet-dump --count FILE      "tracks=N events=M" (for timing a load)
//   harmonet-dump --trace STEP FILE the events playback dispatches, one line each
//   harmonet-dump --words FILE      how the words are understood, as one JSON object
//   harmonet-dump --voices FILE     the voices a singer can follow, as one JSON object
//   harmonet-dump --bars [--pickup BEATS] FILE
//                                   the bars as one JSON object; BEATS is the upbeat
//                                   taken when the file does not show its own
// With --follow-tempo before FILE, playing times follow the file's tempo
// changes instead of one tempo for the whole song.
// Exit status 0 after a load, also one that failed part way through the file;
// 1 when the output cannot be written; 2 on bad usage; 3 when FILE is no MIDI
// file at all (missing, a folder, empty, or something else), which is said on
// standard error in the player's words.
#include "sequencer/BarMap.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SongFile.h"
#include "tools/dump/BarsJson.h"
#include "tools/dump/EventTrace.h"
#include "tools/dump/SongJson.h"
#include "tools/dump/TextOutput.h"
#include "tools/dump/VoicesJson.h"
#include "tools/dump/WordsJson.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <optional>

using namespace harmonet;
using namespace harmonet::tools;

namespace {

constexpr int kExitOutputFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNotMidi = 3;

int usage()
{
    std::fputs("usage: harmonet-dump [--count | --words | --voices | --trace STEP | --bars [--pickup BEATS]] [--follow-tempo] FILE\n",
               stderr);
    return kExitUsage;
}

// How loading went: the failure's message, if any, and whether the file was
// turned away before reading.
struct LoadOutcome {
    std::optional<QString> error;
    bool notMidi = false;
};

LoadOutcome load(TMidiFile& song, const QString& path)
{
    const SongFileProblem problem = songFileProblem(path);
    if (problem != SongFileProblem::None) {
        const QString message = songFileProblemText(problem, path);
        std::fprintf(stderr, "harmonet-dump: %s\n", message.toLocal8Bit().constData());
        return {message, true};
    }
    song.SetFilename(path);
    try {
        song.LoadSong();
        return {};
    } catch (const Exception& error) {
        return {error.message()};
    } catch (const std::exception& error) {
        return {QString::fromLocal8Bit(error.what())};
    }
}

// The exit status once everything is written: a truncated output must not
// pass for a complete one.
int finishOutput(TextOutput& out, const LoadOutcome& loaded)
{
    if (!out.finish()) {
        std::fputs("harmonet-dump: cannot write the output\n", stderr);
        return kExitOutputFailed;
    }
    return loaded.notMidi ? kExitNotMidi : 0;
}

// Names a failure part way through the file on standard error (one that
// turned the file away has been named already).
void reportLoadError(const LoadOutcome& loaded)
{
    if (loaded.error && !loaded.notMidi)
        std::fprintf(stderr, "harmonet-dump: %s\n", loaded.error->toLocal8Bit().constData());
}

int countEvents(TMidiFile& song, const QString& path)
{
    const LoadOutcome loaded = load(song, path);
    reportLoadError(loaded);
    qint64 events = 0;
    for (int index = 0; index < song.NumberOfTracks(); ++index)
        events += song.TrackAt(index)->EventCount();
    TextOutput out(stdout);
    out.raw("tracks=").integer(song.NumberOfTracks()).raw(" events=").integer(events).raw('\n');
    return finishOutput(out, loaded);
}

int traceEvents(TMidiFile& song, const QString& stepText, const QString& path)
{
    bool ok = false;
    const int step = stepText.toInt(&ok);
    if (!ok || step <= 0)
        return usage();
    const LoadOutcome loaded = load(song, path);
    reportLoadError(loaded);
    TextOutput out(stdout);
    writeEventTrace(out, song, step);
    return finishOutput(out, loaded);
}

int dumpModel(TMidiFile& song, const QString& path)
{
    const LoadOutcome loaded = load(song, path);
    TextOutput out(stdout);
    writeSongJson(out, song, loaded.error);
    return finishOutput(out, loaded);
}

// Loads the file, reporting a failure, and writes what write makes of it.
template <typename Writer>
int dumpLoaded(TMidiFile& song, const QString& path, Writer write)
{
    const LoadOutcome loaded = load(song, path);
    reportLoadError(loaded);
    TextOutput out(stdout);
    write(out, song);
    return finishOutput(out, loaded);
}

int dumpBars(TMidiFile& song, const QString& path, std::optional<double> pickupBeats)
{
    return dumpLoaded(song, path, [pickupBeats](TextOutput& out, const TMidiFile& loaded) {
        writeBarsJson(out, TBarMap::ofSong(loaded, loaded.FollowsTempoChanges(), pickupBeats));
    });
}

} // namespace

int main(int argc, char** argv)
{
    // The playback engine's timers need an application object; no event loop runs.
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    TMidiFile song;
    if (args.size() >= 2 && args[args.size() - 2] == QLatin1String("--follow-tempo")) {
        song.SetFollowTempoChanges(true);
        args.removeAt(args.size() - 2);
    }

    if (args.size() == 1 && !args[0].startsWith(QLatin1String("--")))
        return dumpModel(song, args[0]);
    if (args.size() == 2 && args[0] == QLatin1String("--count"))
        return countEvents(song, args[1]);
    if (args.size() == 2 && args[0] == QLatin1String("--words"))
        return dumpLoaded(song, args[1], writeWordsJson);
    if (args.size() == 2 && args[0] == QLatin1String("--voices"))
        return dumpLoaded(song, args[1], writeVoicesJson);
    if (args.size() == 3 && args[0] == QLatin1String("--trace"))
        return traceEvents(song, args[1], args[2]);
    if (args.size() == 2 && args[0] == QLatin1String("--bars"))
        return dumpBars(song, args[1], std::nullopt);
    if (args.size() == 4 && args[0] == QLatin1String("--bars") && args[1] == QLatin1String("--pickup")) {
        bool ok = false;
        const double beats = args[2].toDouble(&ok);
        return ok ? dumpBars(song, args[3], beats) : usage();
    }
    return usage();
}
