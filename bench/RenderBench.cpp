// How much faster than real time the built-in synthesizer renders the example
// song offline (the render tool's and a future practice-track export's speed).
#include "midiout/MidiOutError.h"
#include "render/SongRenderer.h"
#include "session/Song.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

using namespace harmonet;

namespace {

void BM_RenderExampleSong(benchmark::State& state)
{
    const std::shared_ptr<const Song> song = Song::read(QStringLiteral(HARMONET_EXAMPLE_SONG));
    SongRenderer renderer;
    qint64 frames = 0;
    for (auto _ : state) {
        renderer.render(song, [&frames](std::span<const qint16> stereo) { frames += qint64(stereo.size() / 2); });
    }
    const double audioSeconds = double(frames) / renderer.sampleRate();
    // Seconds of audio per second of wall-clock time, and per second of CPU time.
    state.counters["x_real_time"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
    state.counters["audio_s"] = benchmark::Counter(audioSeconds / double(state.iterations()));
}
BENCHMARK(BM_RenderExampleSong)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
