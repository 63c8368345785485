// harmonet-bench-singing: how well and how cheaply the singer's pitch is
// heard.
//  - accuracy: generated singing (a fundamental with harmonics, vibrato of
//    +-30 cents at 5.5 Hz, breath noise 30 dB below the voice) on 36 notes
//    from 80 to 1050 Hz; the error of every voiced frame against the true
//    pitch at the frame's time: median absolute error, share of gross errors
//    (> 50 cents), and the share of the frames inside the notes heard as voiced;
//  - CPU: the analysis of 60 s of that singing, as a share of one core;
//  - calibration: the latency found in a generated recording of the clicks
//    (delays 140 to 330 ms, room noise), its largest error;
//  - latency from a sound at the microphone to its pitch on the GUI thread:
//    onsets of a sung note written into a private PulseAudio server's pipe
//    source, timestamped when written and when their first voiced frame
//    arrives (skipped where no server can be started).
//
//   harmonet-bench-singing
#include "singing/LatencyCalibration.h"
#include "singing/PitchTracker.h"
#include "singing/SingAlongPass.h"
#include "tests/singing/PipeMicrophone.h"
#include "tests/support/PrivateSoundServer.h"
#include "tests/support/SungVoice.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numbers>
#include <random>
#include <vector>

using namespace harmonet;
using namespace harmonet::test;

namespace {

constexpr int Rate = 44100;
constexpr double NoteMs = 1500.0;
constexpr double VibratoCents = 30.0;
constexpr double VibratoHz = 5.5;

double percentile(std::vector<double> values, double share)
{
    if (values.empty()) {
        return NAN;
    }
    const auto at = std::size_t(std::min(double(values.size() - 1), share * double(values.size())));
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(at), values.end());
    return values[at];
}

void accuracy()
{
    const VoiceTone tone{0.3, 6, VibratoCents, VibratoHz, -30.0, 11};
    std::vector<double> errors;
    int inside = 0;
    int voiced = 0;
    for (int n = 0; n < 36; ++n) {
        const double hz = 80.0 * std::pow(1050.0 / 80.0, n / 35.0);
        const SungNote note{200.0, 200.0 + NoteMs, midiOfHz(hz)};
        const std::vector<float> samples = singNotes({&note, 1}, Rate, NoteMs + 400.0, tone);
        PitchTracker tracker(Rate);
        std::vector<PitchFrame> frames;
        tracker.push(samples, frames);
        for (const PitchFrame& frame : frames) {
            // Frames whose whole window lies in the note.
            if (frame.ms < note.startMs + 50.0 || frame.ms > note.endMs - 50.0) {
                continue;
            }
            ++inside;
            if (!frame.voiced) {
                continue;
            }
            ++voiced;
            const double t = (frame.ms - note.startMs) / 1000.0;
            const double truth = note.midi + VibratoCents / 100.0 * std::sin(2.0 * std::numbers::pi * VibratoHz * t);
            errors.push_back(std::abs(frame.midi - truth) * 100.0);
        }
    }
    const double gross = double(std::count_if(errors.begin(), errors.end(), [](double e) { return e > 50.0; }));
    std::printf("accuracy, 80-1050 Hz, vibrato +-30 cents at 5.5 Hz, breath -30 dB:\n"
                "  median abs error %.1f cents (p95 %.1f), gross errors %.2f %% of %zu voiced frames, "
                "voiced %.1f %% of frames inside the notes\n",
                percentile(errors, 0.5), percentile(errors, 0.95), 100.0 * gross / double(errors.size()),
                errors.size(), 100.0 * voiced / std::max(1, inside));
}

void cpu()
{
    constexpr double Seconds = 60.0;
    std::vector<SungNote> notes;
    for (int i = 0; i < 60; ++i) {
        notes.push_back({i * 1000.0, i * 1000.0 + 900.0, 55.0 + (i * 7) % 17});
    }
    const std::vector<float> samples =
        singNotes(notes, Rate, Seconds * 1000.0, {0.3, 6, VibratoCents, VibratoHz, -30.0, 5});
    PitchTracker tracker(Rate);
    std::vector<PitchFrame> frames;
    const std::clock_t start = std::clock();
    // In fragments of 10 ms, as the microphone delivers them.
    for (std::size_t at = 0; at < samples.size(); at += Rate / 100) {
        tracker.push(std::span<const float>(samples).subspan(at, std::min<std::size_t>(Rate / 100, samples.size() - at)),
                     frames);
    }
    const double cpuSeconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    std::printf("analysis CPU: %.3f s for %.0f s of singing = %.2f %% of one core (%zu frames)\n", cpuSeconds,
                Seconds, 100.0 * cpuSeconds / Seconds, frames.size());
}

void calibration()
{
    double worst = 0.0;
    std::mt19937 random(9);
    for (const double delay : {140.0, 187.0, 233.0, 281.0, 330.0}) {
        std::normal_distribution<double> noise(0.0, 0.01);
        std::vector<float> heard(std::size_t(CalibrationPlan::lengthMs() * Rate / 1000.0));
        for (float& sample : heard) {
            sample = float(noise(random));
        }
        for (const double played : CalibrationPlan::clickTimes()) {
            const auto start = std::size_t((played + delay) * Rate / 1000.0);
            for (std::size_t i = 0; i < std::size_t(Rate / 5); ++i) {
                const double t = double(i) / Rate;
                // A knock with a 2 ms rise, as a speaker and a room soften it.
                const double rise = std::min(1.0, t / 0.002);
                heard[start + i] +=
                    float(0.3 * rise * std::exp(-t / 0.04) * std::sin(2.0 * std::numbers::pi * 1200.0 * t));
            }
        }
        const std::optional<double> found = measuredLatencyMs(heard, Rate, CalibrationPlan::clickTimes());
        worst = std::max(worst, found ? std::abs(*found - delay) : 1e9);
    }
    std::printf("calibration: largest error %.1f ms over delays 140-330 ms (room noise -40 dB)\n", worst);
}

void liveLatency()
{
    PrivateSoundServer server;
    if (!server.start()) {
        std::printf("mic-to-pitch latency: skipped (%s)\n", server.why().toLocal8Bit().constData());
        return;
    }
    PipeMicrophone microphone(server);
    if (!microphone.plugIn()) {
        std::printf("mic-to-pitch latency: skipped (no pipe source)\n");
        return;
    }
    // Ten notes of 300 ms, 700 ms apart, after half a second of silence.
    constexpr int Notes = 10;
    std::vector<SungNote> notes;
    for (int i = 0; i < Notes; ++i) {
        notes.push_back({500.0 + i * 700.0, 800.0 + i * 700.0, 62.0});
    }
    const double lengthMs = 500.0 + Notes * 700.0;
    const auto start = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    SingAlongPass pass;
    std::vector<double> delays;
    int nextNote = 0;
    QObject::connect(&pass, &SingAlongPass::framesHeard, [&](const std::vector<PitchFrame>& frames) {
        const auto now = std::chrono::steady_clock::now();
        for (const PitchFrame& frame : frames) {
            if (nextNote < Notes && frame.voiced && frame.ms > notes[std::size_t(nextNote)].startMs - 50.0) {
                // The note's first sound was written at its start.
                const double written = std::chrono::duration<double, std::milli>(now - start).count();
                delays.push_back(written - notes[std::size_t(nextNote)].startMs);
                ++nextNote;
            }
        }
    });
    if (!pass.start(0.0, start, 0.0)) {
        std::printf("mic-to-pitch latency: skipped (%s)\n", pass.notice().toLocal8Bit().constData());
        return;
    }
    microphone.sing(singNotes(notes, Rate, lengthMs), start);
    const QDeadlineTimer deadline(int(lengthMs) + 5000);
    while (nextNote < Notes && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    pass.stop();
    std::printf("mic-to-pitch latency (pipe source, 10 ms fragments): median %.1f ms, max %.1f ms over %zu onsets\n",
                percentile(delays, 0.5), delays.empty() ? NAN : *std::max_element(delays.begin(), delays.end()),
                delays.size());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    accuracy();
    cpu();
    calibration();
    liveLatency();
    return 0;
}
