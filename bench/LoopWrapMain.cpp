// harmonet-bench-loop: how exactly a loop of bars wraps when played live.
// Woodblock eighths at 120 bpm (a 250 ms grid) in 4/4 play through a playing
// session, its gateway and the built-in synthesizer into a private
// PulseAudio server with a null sink, whose monitor is recorded.
//  1. Bars 2 and 3 looped 20 times: the clicks, wraps included, lie on one
//     straight grid; each wrap's click at the loop's start is measured
//     against its place on the grid fitted through all clicks (lateness, ms
//     and 64-frame blocks), and the p1-p99 spread of all clicks is given.
//  2. The same clicks without a loop (a straight song of 80 clicks): the
//     p1-p99 spread to compare with.
//  3. A one-bar loop in 2/4 at 240 bpm wrapped 100 times with an organ note
//     held across its end and a rest at its start: how far the sound falls
//     from before each wrap to 100-200 ms after it, against the same notes
//     ended by their own note-offs (the peer: the organ's release and the
//     reverb sound after both). A wrap whose fall is 10 dB short of the
//     peer's median left the note sounding.
// Skipped where no SoundFont or no PulseAudio server is there.
//
//   harmonet-bench-loop
#include "bench/RecordedOnsets.h"
#include "midiout/MidiOut.h"
#include "midiout/SoundFontLocator.h"
#include "midiout/SynthBackend.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "tests/support/PrivateSoundServer.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace harmonet;

namespace {

constexpr int sampleRate = 44100;
constexpr double blockMs = 64.0 * 1000.0 / sampleRate;
constexpr int loopPasses = 20;
constexpr int clicksPerPass = 16;
constexpr int heldWraps = 100;
// A bar of 2/4 at 240 bpm.
constexpr int barMs = 500;

// Woodblock eighths in 4/4 at 120 bpm, 8 a bar, for `bars` bars.
QByteArray clickBars(int bars)
{
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack().tempo(0, 500000).timeSignature(0, 4, 2).programChange(0, 0, 115);
    for (int i = 0; i < bars * 8; ++i) {
        writer.noteOn(i == 0 ? 0 : 200, 0, 76, 110).noteOff(40, 0, 76);
    }
    writer.endOfTrack(240).endTrack();
    return writer.bytes();
}

// 2/4 at 240 bpm (a bar of 500 ms), three bars: an organ note from the
// second beat of each bar to the second beat of the next, nothing else.
QByteArray heldAcrossBars()
{
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack().tempo(0, 250000).timeSignature(0, 2, 2).programChange(0, 0, 19);
    for (int bar = 0; bar < 3; ++bar) {
        writer.noteOn(bar == 0 ? 480 : 0, 0, 60, 110).noteOff(960, 0, 60);
    }
    writer.endOfTrack(480).endTrack();
    return writer.bytes();
}

// The same metre and tempo, bars bars: an organ note on the second beat of
// each bar, ended by its note-off at the bar line.
QByteArray endedAtBars(int bars)
{
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack().tempo(0, 250000).timeSignature(0, 2, 2).programChange(0, 0, 19);
    for (int bar = 0; bar < bars; ++bar) {
        writer.noteOn(480, 0, 60, 110).noteOff(480, 0, 60);
    }
    writer.endOfTrack(480).endTrack();
    return writer.bytes();
}

// Plays the song live into the server with the loop (none: straight
// through) for playMs and returns the recording; soundingAtWraps adds up the
// notes the gateway had not ended when each wrap's release had gone out.
std::vector<qint16> playLive(test::PrivateSoundServer& pulse, const QByteArray& songBytes,
                             const std::optional<BarLoop>& loop, int playMs, int* soundingAtWraps = nullptr)
{
    auto backend = std::make_shared<SynthBackend>(SynthBackend::Mode::Live);
    TMidiOutput output(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{backend}));
    PlayingSession session;
    session.setOutput(&output);
    if (!session.openOutput(SynthBackend::deviceName())) {
        std::printf("the synthesizer did not open: %s\n", qPrintable(output.LastOpenFailure()));
        return {};
    }
    session.setSong(Song::fromBytes(songBytes));
    if (loop) {
        session.setLoop(loop->firstBar, loop->lastBar, loop->passes);
    }
    if (soundingAtWraps) {
        QObject::connect(&session, &PlayingSession::wrapped, [&session, soundingAtWraps](int, const TDue&) {
            *soundingAtWraps += session.gateway().soundingNoteCount();
        });
    }
    // A new stream takes about two seconds to settle.
    bench::waitMs(3000);
    pulse.startRecording();
    bench::waitMs(300);
    session.sendInstruments();
    session.startAt(0);
    bench::waitMs(playMs);
    session.sequencer().HaltPlay();
    session.gateway().release();
    bench::waitMs(300);
    std::vector<qint16> recorded = pulse.stopRecording();
    session.closeOutput();
    return recorded;
}

void loopedClicks(test::PrivateSoundServer& pulse)
{
    // Bars 2 and 3 twenty times: bar 1 first, then 20 passes of 4 s.
    const std::vector<qint16> looped = playLive(pulse, clickBars(4), BarLoop{2, 3, loopPasses},
                                                2000 + loopPasses * 4000 + 500);
    const std::vector<double> found = bench::onsetFrames(looped, sampleRate);
    const std::vector<double> off = bench::gridDeviationsMs(found, sampleRate);
    std::printf("looped: %zu clicks found of %d\n", found.size(), 8 + loopPasses * clicksPerPass + 8);
    double worst = 0;
    for (int pass = 1; pass < loopPasses; ++pass) {
        const std::size_t wrapClick = std::size_t(8 + pass * clicksPerPass);
        if (wrapClick < off.size()) {
            std::printf("  wrap %2d: lateness %+.2f ms (%+.2f blocks)\n", pass, off[wrapClick], off[wrapClick] / blockMs);
            worst = std::max(worst, std::abs(off[wrapClick]));
        }
    }
    std::printf("looped: worst wrap %.2f ms (%.2f blocks of 64 frames); p1-p99 spread of all clicks %.2f ms\n", worst,
                worst / blockMs, bench::p1p99Spread(off));
    const std::vector<qint16> straight = playLive(pulse, clickBars(10), std::nullopt, 10 * 2000 + 500);
    const std::vector<double> straightOnsets = bench::onsetFrames(straight, sampleRate);
    std::printf("straight: %zu clicks found of 80; p1-p99 spread %.2f ms\n", straightOnsets.size(),
                bench::p1p99Spread(bench::gridDeviationsMs(straightOnsets, sampleRate)));
}

// How far the sound falls (dB) from 150-50 ms before each of count bar lines
// to 100-200 ms after it; the first bar line at firstMs.
std::vector<double> fallsAtBarLines(const std::vector<qint16>& recorded, double firstMs, int count)
{
    std::vector<double> falls;
    for (int line = 0; line < count; ++line) {
        const double at = firstMs + line * barMs;
        falls.push_back(bench::rmsDb(recorded, sampleRate, at - 150, at - 50)
                        - bench::rmsDb(recorded, sampleRate, at + 100, at + 200));
    }
    return falls;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void heldAcrossWraps(test::PrivateSoundServer& pulse)
{
    int soundingAtWraps = 0;
    // Bar 2 over and over: each wrap comes while the note begun on its second beat is held.
    const std::vector<qint16> looped = playLive(pulse, heldAcrossBars(), BarLoop{2, 2, heldWraps + 1},
                                                barMs + (heldWraps + 1) * barMs, &soundingAtWraps);
    // The peer: the same notes, each ended by its own note-off at the bar line.
    const std::vector<qint16> ended = playLive(pulse, endedAtBars(heldWraps + 1), std::nullopt,
                                               (heldWraps + 2) * barMs);
    const std::vector<double> loopedOnsets = bench::onsetFrames(looped, sampleRate);
    const std::vector<double> endedOnsets = bench::onsetFrames(ended, sampleRate);
    if (loopedOnsets.empty() || endedOnsets.empty()) {
        std::printf("held: nothing recorded\n");
        return;
    }
    // Both begin their first note on the second beat of bar 1; the looped
    // song wraps at the end of bar 2, then every bar, the peer's notes end
    // at the end of every bar.
    const double loopedFirstLine = loopedOnsets.front() * 1000.0 / sampleRate + 250.0 + barMs;
    const double endedFirstLine = endedOnsets.front() * 1000.0 / sampleRate + 250.0;
    const std::vector<double> wraps = fallsAtBarLines(looped, loopedFirstLine, heldWraps);
    const std::vector<double> noteOffs = fallsAtBarLines(ended, endedFirstLine, heldWraps);
    // A wrap leaves the note sounding when the sound falls less than 10 dB
    // of what the note's own end makes it fall (its release and the reverb
    // are heard after both).
    const double peer = median(noteOffs);
    const auto sounding = std::count_if(wraps.begin(), wraps.end(), [peer](double fall) { return fall < peer - 10.0; });
    std::printf("held: fall 100-200 ms after the wrap: median %.1f dB, least %.1f dB; after the note's own end "
                "(peer): median %.1f dB, least %.1f dB\n",
                median(wraps), *std::min_element(wraps.begin(), wraps.end()), peer,
                *std::min_element(noteOffs.begin(), noteOffs.end()));
    std::printf("held: %ld of %d wraps left the note sounding (recording); %d notes the gateway had not ended after "
                "the wraps' release\n",
                long(sounding), heldWraps, soundingAtWraps);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (findSoundFont().isEmpty()) {
        std::printf("skipped: no General MIDI SoundFont installed\n");
        return 0;
    }
    test::PrivateSoundServer pulse;
    if (!pulse.start()) {
        std::printf("skipped: %s\n", qPrintable(pulse.why()));
        return 0;
    }
    loopedClicks(pulse);
    heldAcrossWraps(pulse);
    return 0;
}
