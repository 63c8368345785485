// harmonet-bench-stage: what the built-in synthesizer's output stage costs
// per second of stereo audio at 44.1 kHz, against what the synthesizer itself
// takes to render a second of the example song. The stage runs with both
// shelves on and a volume below full (its most expensive settings), in blocks
// of the live synthesizer's period; also with only the volume below full (the
// tone controls flat, as they start).
//
//   harmonet-bench-stage
#include "midiout/OutputStage.h"
#include "midiout/SoundFontLocator.h"
#include "render/SongRenderer.h"
#include "session/Song.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace harmonet;

namespace {

using SteadyTime = std::chrono::steady_clock;

double secondsSince(SteadyTime::time_point start)
{
    return std::chrono::duration<double>(SteadyTime::now() - start).count();
}

// CPU seconds the synthesizer needs per second of the example song.
double synthesizerCostPerSecond()
{
    const std::shared_ptr<const Song> song = Song::read(QStringLiteral(HARMONET_EXAMPLE_SONG));
    SongRenderer renderer;
    qint64 frames = 0;
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        frames = 0;
        const auto start = SteadyTime::now();
        renderer.render(song, [&frames](std::span<const qint16> stereo) { frames += qint64(stereo.size() / 2); });
        best = std::min(best, secondsSince(start) / (double(frames) / renderer.sampleRate()));
    }
    return best;
}

// CPU seconds the stage needs per second of audio, with both shelves on or
// with only the volume below full.
double stageCostPerSecond(bool shelves)
{
    constexpr int rate = 44100;
    constexpr int block = 256;
    SynthOutputStage stage;
    if (shelves) {
        stage.setValue(SynthOutputStage::Bass, 0, 50000);
        stage.setValue(SynthOutputStage::Treble, 0, 20000);
    }
    stage.setValue(SynthOutputStage::MasterVolume, 0, 50000);
    stage.setValue(SynthOutputStage::MasterVolume, 1, 48000);
    SynthOutputStage::Processor processor(stage, rate);
    // A fresh block of sound each time, as the synthesizer would hand over.
    std::vector<float> sound(block), left(block), right(block);
    for (int i = 0; i < block; ++i) {
        sound[std::size_t(i)] = float((i % 97) - 48) / 100.0f;
    }
    constexpr int seconds = 20;
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto start = SteadyTime::now();
        for (int done = 0; done < seconds * rate; done += block) {
            std::copy(sound.begin(), sound.end(), left.begin());
            std::copy(sound.begin(), sound.end(), right.begin());
            processor.process(left.data(), right.data(), block);
        }
        best = std::min(best, secondsSince(start) / seconds);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (findSoundFont().isEmpty()) {
        std::printf("skipped: no General MIDI SoundFont installed\n");
        return 0;
    }
    const double synth = synthesizerCostPerSecond();
    const double shelves = stageCostPerSecond(true);
    const double volumeOnly = stageCostPerSecond(false);
    std::printf("synthesizer per second of the example song:        %.3f ms\n", synth * 1000);
    std::printf("stage per second of stereo 44.1 kHz, both shelves: %.3f ms (%.2f %% of the synthesizer)\n",
                shelves * 1000, 100 * shelves / synth);
    std::printf("stage per second of stereo 44.1 kHz, volume only:  %.3f ms (%.2f %% of the synthesizer)\n",
                volumeOnly * 1000, 100 * volumeOnly / synth);
    return 0;
}
