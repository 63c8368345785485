// harmonet-dump: loads a MIDI file with the sequencer and prints what it read.
//   harmonet-dump FILE              the whole model as one JSON object
//   harmonet-dump --count FILE      "tracks=N events=M" (for timing a load)
//   harmonet-dump --trace STEP FILE the events playback dispatches, one line each
//   harmonet-dump --words FILE      how the words are understood, as one JSON object
//   harmonet-dump --bars [--pickup BEATS] FILE
//                                   the bars as one JSON object; BEATS is the upbeat
//                                   taken when the file does not show its own
// With --follow-tempo before FILE, playing times follow the file's tempo
// changes instead of one tempo for the whole song.
// Exit status 0 after any load, also a failed one; 1 when the output cannot
// be written; 2 on bad usage.
#include "sequencer/BarMap.h"
#include "sequencer/MidiFile.h"
#include "tools/dump/BarsJson.h"
#include "tools/dump/EventTrace.h"
#include "tools/dump/SongJson.h"
#include "tools/dump/TextOutput.h"
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

int usage()
{
    std::fputs("usage: harmonet-dump [--count | --words | --trace STEP | --bars [--pickup BEATS]] [--follow-tempo] FILE\n",
               stderr);
    return kExitUsage;
}

// Loads the file; returns the failure's message, or nothing when it loaded.
std::optional<QString> load(TMidiFile& song, const QString& path)
{
    song.SetFilename(path);
    try {
        song.LoadSong();
        return std::nullopt;
    } catch (const Exception& error) {
        return error.message();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
}

// The exit status once everything is written: a truncated output must not
// pass for a complete one.
int finishOutput(TextOutput& out)
{
    if (out.finish())
        return 0;
    std::fputs("harmonet-dump: cannot write the output\n", stderr);
    return kExitOutputFailed;
}

void reportLoadError(const std::optional<QString>& error)
{
    if (error)
        std::fprintf(stderr, "harmonet-dump: %s\n", error->toLocal8Bit().constData());
}

int countEvents(TMidiFile& song, const QString& path)
{
    reportLoadError(load(song, path));
    qint64 events = 0;
    for (int index = 0; index < song.NumberOfTracks(); ++index)
        events += song.TrackAt(index)->EventCount();
    TextOutput out(stdout);
    out.raw("tracks=").integer(song.NumberOfTracks()).raw(" events=").integer(events).raw('\n');
    return finishOutput(out);
}

int traceEvents(TMidiFile& song, const QString& stepText, const QString& path)
{
    bool ok = false;
    const int step = stepText.toInt(&ok);
    if (!ok || step <= 0)
        return usage();
    reportLoadError(load(song, path));
    TextOutput out(stdout);
    writeEventTrace(out, song, step);
    return finishOutput(out);
}

int dumpModel(TMidiFile& song, const QString& path)
{
    const std::optional<QString> error = load(song, path);
    TextOutput out(stdout);
    writeSongJson(out, song, error);
    return finishOutput(out);
}

int dumpWords(TMidiFile& song, const QString& path)
{
    reportLoadError(load(song, path));
    TextOutput out(stdout);
    writeWordsJson(out, song);
    return finishOutput(out);
}

int dumpBars(TMidiFile& song, const QString& path, std::optional<double> pickupBeats)
{
    reportLoadError(load(song, path));
    TextOutput out(stdout);
    writeBarsJson(out, TBarMap::ofSong(song, song.FollowsTempoChanges(), pickupBeats));
    return finishOutput(out);
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
        return dumpWords(song, args[1]);
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
