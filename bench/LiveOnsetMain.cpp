// harmonet-bench-onsets: how evenly the built-in synthesizer's notes sound
// when played live, against the offline render of the same song. A song of
// 64 woodblock eighths at 120 bpm (a 250 ms grid) plays through the
// playback engine and the output device into a private PulseAudio server
// with a null sink, whose monitor is recorded; the onsets found in the
// recording are fitted to a straight grid. The same is done with the window's
// thread stalled for 5 and 10 ms every 97 ms, and for the offline render.
// Prints sd, p1-p99 spread and worst deviation in ms. Skipped where no
// PulseAudio server can be started.
//
//   harmonet-bench-onsets
#include "bench/RecordedOnsets.h"
#include "midiout/MidiOut.h"
#include "midiout/SoundFontLocator.h"
#include "midiout/SynthBackend.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"
#include "tests/support/PrivateSoundServer.h"
#include "render/SongRenderer.h"
#include "session/Song.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

using namespace harmonet;

namespace {

constexpr int sampleRate = 44100;
constexpr int noteCount = 64;
constexpr double gridMs = 250.0;

QByteArray woodblockEighths()
{
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack().tempo(0, 500000).programChange(0, 0, 115);
    for (int i = 0; i < noteCount; ++i) {
        writer.noteOn(i == 0 ? 480 : 200, 0, 76, 110).noteOff(40, 0, 76);
    }
    writer.endOfTrack(480).endTrack();
    return writer.bytes();
}

struct Spread {
    std::size_t notes = 0;
    double sd = 0, p1p99 = 0, worst = 0;
};

// Deviations from the straight line fitted through onset i against i.
Spread spreadOf(const std::vector<double>& frames)
{
    Spread result;
    result.notes = frames.size();
    const std::vector<double> deviations = bench::gridDeviationsMs(frames, sampleRate);
    if (deviations.empty()) {
        return result;
    }
    double squares = 0;
    for (const double d : deviations) {
        squares += d * d;
        result.worst = std::max(result.worst, std::abs(d));
    }
    result.sd = std::sqrt(squares / double(deviations.size()));
    result.p1p99 = bench::p1p99Spread(deviations);
    return result;
}

void print(const char* name, const Spread& s)
{
    std::printf("%-26s notes %3zu/%d  sd %.2f ms  p1-p99 spread %.2f ms  worst %.2f ms\n", name, s.notes, noteCount,
                s.sd, s.p1p99, s.worst);
}

Spread playLive(test::PrivateSoundServer& pulse, const QByteArray& songBytes, int stallMs)
{
    auto backend = std::make_shared<SynthBackend>(SynthBackend::Mode::Live);
    TMidiOutput output(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{backend}));
    output.setDeviceID(0);
    if (!output.OpenDevice()) {
        std::printf("the synthesizer did not open: %s\n", qPrintable(output.LastOpenFailure()));
        return {};
    }
    TMidiFile song;
    song.LoadSongFromBytes(songBytes);
    // Channel messages go out as the main window routes them, with the
    // moment each fell due.
    song.SetOnMidiEvent([&](PMidiEvent event) {
        if (event->Status >= 0x80 && event->Status < 0xF0) {
            output.SendEvent(TMyMidiEvent(event->Status, event->Value1, event->Value2), song.DueTimeOf(*event));
        }
    });
    QTimer stall;
    QObject::connect(&stall, &QTimer::timeout, [stallMs] {
        QElapsedTimer busy;
        busy.start();
        while (busy.elapsed() < stallMs) {
        }
    });
    // The device opens long before Play in the program; a new stream takes
    // about two seconds to settle.
    bench::waitMs(3000);
    pulse.startRecording();
    bench::waitMs(300);
    if (stallMs > 0) {
        stall.start(97);
    }
    song.PlayFromStart();
    bench::waitMs(song.SongLengthMs() + 700);
    song.HaltPlay();
    stall.stop();
    const std::vector<qint16> recorded = pulse.stopRecording();
    output.CloseDevice();
    return spreadOf(bench::onsetFrames(recorded, sampleRate));
}

Spread renderOffline(const QByteArray& songBytes)
{
    const std::shared_ptr<const Song> song = Song::fromBytes(songBytes);
    SongRenderer renderer(sampleRate);
    std::vector<qint16> left;
    renderer.render(song, [&left](std::span<const qint16> stereo) {
        for (std::size_t i = 0; i + 1 < stereo.size(); i += 2) {
            left.push_back(stereo[i]);
        }
    });
    return spreadOf(bench::onsetFrames(left, sampleRate));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (findSoundFont().isEmpty()) {
        std::printf("skipped: no General MIDI SoundFont installed\n");
        return 0;
    }
    const QByteArray song = woodblockEighths();
    print("offline render", renderOffline(song));
    test::PrivateSoundServer pulse;
    if (!pulse.start()) {
        std::printf("live: skipped (%s)\n", qPrintable(pulse.why()));
        return 0;
    }
    print("live", playLive(pulse, song, 0));
    print("live, 5 ms stalls", playLive(pulse, song, 5));
    print("live, 10 ms stalls", playLive(pulse, song, 10));
    return 0;
}
