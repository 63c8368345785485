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
//     held across its end and a rest at its start: a wrap leaves the note
//     sounding when the recording 100 to 200 ms after the wrap is within
//     20 dB of the note's level before it.
// Skipped where no SoundFont or no PulseAudio server is there.
//
//   harmonet-bench-loop
#include "midiout/MidiOut.h"
#include "midiout/SoundFontLocator.h"
#include "midiout/SynthBackend.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "tests/support/PrivateSoundServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

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
// second beat of each bar to the first beat of the next, nothing else.
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

// Frames at which a click begins: the signal rises above a tenth of the
// recording's peak after at least 150 ms below it.
std::vector<double> onsets(const std::vector<qint16>& samples)
{
    int peak = 0;
    for (const qint16 s : samples) {
        peak = std::max(peak, std::abs(int(s)));
    }
    const int threshold = peak / 10;
    const auto quiet = std::size_t(0.15 * sampleRate);
    std::vector<double> found;
    std::size_t lastLoud = 0;
    bool any = false;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) > threshold) {
            if (!any || i - lastLoud > quiet) {
                found.push_back(double(i));
            }
            any = true;
            lastLoud = i;
        }
    }
    return found;
}

// Deviations (ms) of each onset from the straight line fitted through onset i against i.
std::vector<double> deviations(const std::vector<double>& frames)
{
    std::vector<double> result;
    if (frames.size() < 3) {
        return result;
    }
    const double n = double(frames.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const double x = double(i), y = frames[i] * 1000.0 / sampleRate;
        sx += x, sy += y, sxx += x * x, sxy += x * y;
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double offset = (sy - slope * sx) / n;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        result.push_back(frames[i] * 1000.0 / sampleRate - (offset + slope * double(i)));
    }
    return result;
}

double p1p99(std::vector<double> values)
{
    if (values.size() < 2) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto at = [&values](double q) { return values[std::size_t(std::lround(q * double(values.size() - 1)))]; };
    return at(0.99) - at(0.01);
}

void waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
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
    waitMs(3000);
    pulse.startRecording();
    waitMs(300);
    session.sendInstruments();
    session.startAt(0);
    waitMs(playMs);
    session.sequencer().HaltPlay();
    session.gateway().release();
    waitMs(300);
    std::vector<qint16> recorded = pulse.stopRecording();
    session.closeOutput();
    return recorded;
}

double rmsDb(const std::vector<qint16>& samples, double fromMs, double toMs)
{
    const auto from = std::size_t(std::max(0.0, fromMs) * sampleRate / 1000.0);
    const auto to = std::min(samples.size(), std::size_t(toMs * sampleRate / 1000.0));
    double squares = 0;
    for (std::size_t i = from; i < to; ++i) {
        squares += double(samples[i]) * samples[i];
    }
    const double rms = to > from ? std::sqrt(squares / double(to - from)) : 0.0;
    return rms > 0 ? 20.0 * std::log10(rms / 32768.0) : -200.0;
}

void loopedClicks(test::PrivateSoundServer& pulse)
{
    // Bars 2 and 3 twenty times: bar 1 first, then 20 passes of 4 s.
    const std::vector<qint16> looped = playLive(pulse, clickBars(4), BarLoop{2, 3, loopPasses},
                                                2000 + loopPasses * 4000 + 500);
    const std::vector<double> found = onsets(looped);
    const std::vector<double> off = deviations(found);
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
                worst / blockMs, p1p99(off));
    const std::vector<qint16> straight = playLive(pulse, clickBars(10), std::nullopt, 10 * 2000 + 500);
    const std::vector<double> straightOnsets = onsets(straight);
    std::printf("straight: %zu clicks found of 80; p1-p99 spread %.2f ms\n", straightOnsets.size(),
                p1p99(deviations(straightOnsets)));
}

void heldAcrossWraps(test::PrivateSoundServer& pulse)
{
    int soundingAtWraps = 0;
    // Bar 2 over and over: each wrap comes while the note begun on its second beat is held.
    const int barMs = 500;
    const std::vector<qint16> recorded =
        playLive(pulse, heldAcrossBars(), BarLoop{2, 2, heldWraps + 1}, barMs + (heldWraps + 1) * barMs, &soundingAtWraps);
    const std::vector<double> found = onsets(recorded);
    if (found.empty()) {
        std::printf("held: nothing recorded\n");
        return;
    }
    // The note begins on the second beat of bar 1 (250 ms); wraps follow at 1000 ms, then every bar.
    const double startMs = found.front() * 1000.0 / sampleRate - 250.0;
    int leftSounding = 0;
    for (int wrap = 0; wrap < heldWraps; ++wrap) {
        const double at = startMs + 2 * barMs + wrap * barMs;
        const double held = rmsDb(recorded, at - 150, at - 50);
        const double after = rmsDb(recorded, at + 100, at + 200);
        leftSounding += after > held - 20.0 ? 1 : 0;
    }
    std::printf("held: %d of %d wraps left the held note sounding (recording); %d notes the gateway had not ended "
                "after the wraps' release\n",
                leftSounding, heldWraps, soundingAtWraps);
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
