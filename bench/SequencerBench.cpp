// Benchmarks of the sequencer: loading speed and memory, the worst case of
// note-off matching, and an advance that finds nothing due.
#include "bench/BenchSongs.h"
#include "sequencer/MidiFile.h"

#include <QCoreApplication>
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

// Loads path over and over; reports events per second and the heap a loaded
// song holds per event beyond the file's own bytes (which the texts refer to).
void loadBenchmark(benchmark::State& state, const QString& path)
{
    qint64 events = 0;
    for (auto _ : state) {
        TMidiFile song;
        song.SetFilename(path);
        song.LoadSong();
        events = eventCount(song);
        benchmark::DoNotOptimize(events);
    }
    state.SetItemsProcessed(state.iterations() * events);

    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    {
        TMidiFile song;
        song.SetFilename(path);
        song.LoadSong();
        const double held = double(mallinfo2().uordblks) - double(before);
        state.counters["events"] = double(eventCount(song));
        state.counters["file_bytes"] = double(fileSize(path));
        state.counters["heap_bytes_per_event_beyond_file"] = (held - double(fileSize(path))) / double(eventCount(song));
    }
}

void BM_LoadChoirSong(benchmark::State& state)
{
    loadBenchmark(state, choirSongPath());
}
BENCHMARK(BM_LoadChoirSong)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LoadUnmatchedNoteOffs(benchmark::State& state)
{
    loadBenchmark(state, unmatchedNoteOffsPath());
}
BENCHMARK(BM_LoadUnmatchedNoteOffs)->Unit(benchmark::kMillisecond)->MinTime(1.0);

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
