// harmonet-bench-dispatch: how late the engine hands notes to the handler in
// real-time playback. A 16-track song of steady eighth notes at 120 bpm plays
// on the real clock; for every dispatched note-on the lateness is the dispatch
// time on a steady clock minus the note's ideal time (start + Ticks x tick
// duration). Prints mean, 99th percentile and maximum in milliseconds.
//
//   harmonet-bench-dispatch [--seconds N] [--ticks-per-quarter N] [--mode engine|plain|both]
//
// "engine" plays with the engine's own timers; "plain" drives AdvanceTo from a
// bare 10 ms periodic timer for comparison.
#include "bench/BenchSongs.h"
#include "sequencer/MidiFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <vector>

using namespace harmonet;
using namespace harmonet::bench;

namespace {

using SteadyTime = std::chrono::steady_clock;

struct Lateness {
    double meanMs = 0;
    double p99Ms = 0;
    double maxMs = 0;
    double minMs = 0;
    size_t notes = 0;
    size_t expected = 0;
};

// What one playing recorded: the lateness of every dispatched note-on, and
// how many note-ons the song holds up to the end of the playing time.
struct Playing {
    std::vector<double> latenessMs;
    size_t expectedNotes = 0;
};

Lateness summarise(Playing playing)
{
    std::vector<double>& latenessMs = playing.latenessMs;
    Lateness result;
    result.expected = playing.expectedNotes;
    result.notes = latenessMs.size();
    if (latenessMs.empty())
        return result;
    std::sort(latenessMs.begin(), latenessMs.end());
    double sum = 0;
    for (const double ms : latenessMs)
        sum += ms;
    result.meanMs = sum / double(latenessMs.size());
    const size_t p99Index = size_t(std::ceil(0.99 * double(latenessMs.size()))) - 1;
    result.p99Ms = latenessMs[std::min(p99Index, latenessMs.size() - 1)];
    result.maxMs = latenessMs.back();
    result.minMs = latenessMs.front();
    return result;
}

bool isNoteOn(const TMidiEvent& event)
{
    return (event.Status & 0xF0) == 0x90 && event.Value2 != 0;
}

// Names on stderr the note-ons due within the playing time that were never
// dispatched (a fault of the engine, not a matter of timing).
void reportMissing(const TMidiFile& song, std::vector<PMidiEvent> expected, std::vector<PMidiEvent> received)
{
    std::sort(expected.begin(), expected.end());
    std::sort(received.begin(), received.end());
    std::vector<PMidiEvent> missing;
    std::set_difference(expected.begin(), expected.end(), received.begin(), received.end(),
                        std::back_inserter(missing));
    for (const PMidiEvent event : missing) {
        for (int index = 0; index < song.NumberOfTracks(); ++index) {
            const auto events = song.TrackAt(index)->Events();
            if (event >= events.data() && event < events.data() + events.size())
                std::fprintf(stderr, "not dispatched: track %d event %td at tick %d\n", index,
                             event - events.data(), event->Ticks);
        }
    }
}

// Plays the song at path for seconds and records the lateness of every note-on.
Playing play(const QString& path, int seconds, bool engineTimers)
{
    TMidiFile song;
    song.SetFilename(path);
    song.LoadSong();
    const double tickNs = song.MicrosecondsPerTick() * 1000.0;

    Playing playing;
    std::vector<PMidiEvent> expected;
    for (int index = 0; index < song.NumberOfTracks(); ++index) {
        for (const TMidiEvent& event : song.TrackAt(index)->Events()) {
            if (isNoteOn(event) && double(event.Ticks) * tickNs < seconds * 1e9)
                expected.push_back(&event);
        }
    }
    playing.expectedNotes = expected.size();
    std::vector<PMidiEvent> received;
    received.reserve(expected.size());
    std::vector<double>& latenessMs = playing.latenessMs;
    latenessMs.reserve(size_t(seconds) * 4 * size_t(song.NumberOfTracks()) + 64);
    SteadyTime::time_point start;
    song.SetOnMidiEvent([&](PMidiEvent event) {
        const auto now = SteadyTime::now();
        if (!isNoteOn(*event))
            return;
        received.push_back(event);
        const double idealNs = double(event->Ticks) * tickNs;
        const double actualNs = double(std::chrono::duration_cast<std::chrono::nanoseconds>(now - start).count());
        latenessMs.push_back((actualNs - idealNs) / 1e6);
    });

    QTimer plainTick;
    qint64 plainStartMs = 0;
    if (engineTimers) {
        start = SteadyTime::now();
        song.PlayFromStart();
    } else {
        plainTick.setTimerType(Qt::PreciseTimer);
        plainTick.setInterval(TMidiFile::TimerPeriodMs);
        QObject::connect(&plainTick, &QTimer::timeout, [&] {
            song.AdvanceTo(int(SteadyClock::instance().nowMs() - plainStartMs));
        });
        song.SeekTo(0);
        start = SteadyTime::now();
        plainStartMs = SteadyClock::instance().nowMs();
        plainTick.start();
    }
    // A precise timer: a coarse one (Qt's choice for long intervals) may end
    // the playing up to 5 % early, before the last notes.
    QTimer::singleShot(seconds * 1000 + 300, Qt::PreciseTimer, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    plainTick.stop();
    song.HaltPlay();
    reportMissing(song, expected, received);
    return playing;
}

void report(const char* mode, const Lateness& l)
{
    std::printf("%-7s %7zu %9zu %9.3f %9.3f %9.3f %9.3f\n", mode, l.notes, l.expected, l.meanMs, l.p99Ms, l.maxMs,
                l.minMs);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lateness of dispatched notes in real-time playback."));
    parser.addHelpOption();
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("Playing time per mode."),
                                           QStringLiteral("N"), QStringLiteral("20"));
    const QCommandLineOption ticksOption(QStringLiteral("ticks-per-quarter"), QStringLiteral("Division of the song."),
                                         QStringLiteral("N"), QStringLiteral("480"));
    const QCommandLineOption modeOption(QStringLiteral("mode"), QStringLiteral("engine, plain or both."),
                                        QStringLiteral("MODE"), QStringLiteral("both"));
    parser.addOptions({secondsOption, ticksOption, modeOption});
    parser.process(app);

    bool secondsOk = false;
    bool ticksOk = false;
    const int seconds = parser.value(secondsOption).toInt(&secondsOk);
    const int ticksPerQuarter = parser.value(ticksOption).toInt(&ticksOk);
    const QString mode = parser.value(modeOption);
    const bool knownMode = mode == QLatin1String("engine") || mode == QLatin1String("plain") || mode == QLatin1String("both");
    if (!secondsOk || seconds <= 0 || !ticksOk || ticksPerQuarter < 2 || ticksPerQuarter > 0x7FFF || !knownMode) {
        std::fputs("usage: harmonet-bench-dispatch [--seconds N] [--ticks-per-quarter N] [--mode engine|plain|both]\n", stderr);
        return 2;
    }

    SongFolder folder;
    const QString path = folder.save(QStringLiteral("eighths.mid"), steadyEighths(16, seconds, quint16(ticksPerQuarter)));
    std::printf("16 tracks of eighth notes at 120 bpm, %d ticks per quarter, %d s per mode\n", ticksPerQuarter, seconds);
    std::printf("%-7s %7s %9s %9s %9s %9s %9s\n", "mode", "notes", "expected", "mean_ms", "p99_ms", "max_ms", "min_ms");
    if (mode != QLatin1String("plain"))
        report("engine", summarise(play(path, seconds, true)));
    if (mode != QLatin1String("engine"))
        report("plain", summarise(play(path, seconds, false)));
    return 0;
}
