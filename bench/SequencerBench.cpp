// Benchmarks of the sequencer: loading speed and memory, the worst case of
// note-off matching, and an advance that finds nothing due.
#include "bench/BenchSongs.h"
#include "sequencer/MidiFile.h"

#include <QCoreApplication>
#include <QFile>
#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace harmonet;
using namespace harmonet::bench;

namespace {

constexpr int kNoteTracks = 16;
constexpr int kEventsPerTrack = 250000;
constexpr int kUnmatchedNoteOffs = 200000;

SongFolder& folder()
{
    static SongFolder songs;
    return songs;
}

const QString& choirSongPath()
{
    static const QString path = folder().save(QStringLiteral("choir.mid"), choirSong(kNoteTracks, kEventsPerTrack));
    return path;
}

const QString& unmatchedNoteOffsPath()
{
    static const QString path = folder().save(QStringLiteral("note-offs.mid"), unmatchedNoteOffs(kUnmatchedNoteOffs));
    return path;
}

qint64 eventCount(const TMidiFile& song)
{
    qint64 events = 0;
    for (int index = 0; index < song.NumberOfTracks(); ++index)
        events += song.TrackAt(index)->EventCount();
    return events;
}

qint64 fileSize(const QString& path)
{
    return QFile(path).size();
}

// Resident anonymous memory of the process (heap and private mappings).
qint64 residentAnonymousBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

// Loads path over and over; reports events per second of wall-clock time. Before that, one load
// measures the memory a loaded song holds per event beyond the file's own
// bytes (which its texts refer to): the growth of resident anonymous memory,
// so that blocks mapped outside the heap count too.
void loadBenchmark(benchmark::State& state, const QString& path)
{
    malloc_trim(0);
    const qint64 before = residentAnonymousBytes();
    {
        TMidiFile song;
        song.SetFilename(path);
        song.LoadSong();
        const double held = double(residentAnonymousBytes() - before);
        const double events = double(eventCount(song));
        state.counters["events"] = events;
        state.counters["file_bytes"] = double(fileSize(path));
        state.counters["bytes_per_event_beyond_file"] = (held - double(fileSize(path))) / events;
    }

    qint64 events = 0;
    for (auto _ : state) {
        TMidiFile song;
        song.SetFilename(path);
        song.LoadSong();
        events = eventCount(song);
        benchmark::DoNotOptimize(events);
    }
    state.SetItemsProcessed(state.iterations() * events);
}

void BM_LoadChoirSong(benchmark::State& state)
{
    loadBenchmark(state, choirSongPath());
}
BENCHMARK(BM_LoadChoirSong)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_LoadUnmatchedNoteOffs(benchmark::State& state)
{
    loadBenchmark(state, unmatchedNoteOffsPath());
}
BENCHMARK(BM_LoadUnmatchedNoteOffs)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

// AdvanceTo on 16 tracks that rest for a long time: every track compares its
// next event and finds it not yet due.
void BM_AdvanceToNothingDue(benchmark::State& state)
{
    SongFolder songs;
    TMidiFile song;
    song.SetFilename(songs.save(QStringLiteral("rest.mid"), songWithLongRest(kNoteTracks, 0x0FFFFFFF)));
    song.LoadSong();
    qint64 dispatched = 0;
    song.SetOnMidiEvent([&](PMidiEvent) { ++dispatched; });
    ManualClock clock(0);
    song.SetClock(&clock);
    song.PlayFromStart();
    song.HaltPlay();
    // The tempo track's events at tick 0 are delivered by the first advance.
    song.AdvanceTo(1);
    dispatched = 0;
    int ms = 1;
    for (auto _ : state) {
        song.AdvanceTo(++ms);
    }
    if (dispatched != 0)
        state.SkipWithError("an event fell due during the rest");
    state.counters["tracks"] = song.NumberOfTracks();
}
BENCHMARK(BM_AdvanceToNothingDue);

} // namespace

int main(int argc, char** argv)
{
    // The engine's timers need an application object; no event loop runs.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
