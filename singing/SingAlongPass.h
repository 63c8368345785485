#pragma once

#include "singing/MicrophoneCapture.h"
#include "singing/NoteScoring.h"
#include "singing/TakeAnalyzer.h"

#include <QObject>

#include <chrono>
#include <mutex>
#include <optional>
#include <vector>

namespace harmonet {

// One pass of singing along: listens to the microphone while the song plays,
// keeps what was sung (the take), finds its pitch as it comes, and places
// it on the song's timeline: the moment each sample arrived, less the
// delay from the speakers through the singer to the microphone (the
// calibrated latency). The pitch is analysed on the capture's own thread;
// the frames reach the pass's thread through framesHeard. Nothing here
// waits on the capture.
class SingAlongPass : public QObject {
    Q_OBJECT

public:
    static constexpr int SampleRate = 44100;
    using Clock = std::chrono::steady_clock;

    explicit SingAlongPass(QObject* parent = nullptr);
    ~SingAlongPass() override;

    // Starts listening: songMs of playing time was reached at steadyTime, and
    // playing time runs on with the steady clock. False, with problem() and
    // notice(), when the microphone cannot be heard.
    bool start(double songMs, Clock::time_point steadyTime, double latencyMs);
    // The delay from the speakers through the singer to the microphone, taken
    // off every time of the take from now on (also of the frames already heard).
    void setLatencyMs(double latencyMs);
    // Ends listening; the take and its frames stay.
    void stop();
    bool listening() const;

    CaptureProblem problem() const;
    // What to tell the singer about the problem.
    QString notice() const;
    // The microphone listened to (the sound server's name for it), known once started.
    QString sourceName() const { return m_capture.sourceName(); }

    // The take so far: mono samples at SampleRate, and where its first
    // sample lies on the song's timeline.
    std::vector<float> take() const;
    double takeStartMs() const;
    // The pitch frames so far, on the song's timeline.
    std::vector<PitchFrame> frames() const;

    // Scores the notes starting within [fromMs, toMs) against what was sung.
    std::vector<NoteResult> score(std::span<const TargetNote> notes, double fromMs, double toMs) const;

signals:
    // Frames heard since the last signal, on the song's timeline.
    void framesHeard(const std::vector<harmonet::PitchFrame>& frames);
    // The microphone went away while listening; what was sung until then stays.
    void captureLost(const QString& notice);

private:
    void takeAudio(std::span<const float> samples, Clock::time_point arrival);
    double takeStartLocked() const;

    MicrophoneCapture m_capture;
    mutable std::mutex m_mutex;
    double m_songMs = 0.0;
    Clock::time_point m_steadyTime;
    double m_latencyMs = 0.0;
    std::optional<TakeAnalyzer> m_analyzer;
    std::vector<float> m_take;
    // The earliest moment the first sample can have been recorded: the
    // arrival of a fragment less the time of the samples up to its end,
    // smallest over all fragments (a late delivery only makes it later).
    std::optional<Clock::time_point> m_firstSampleAt;
    CaptureProblem m_lostProblem = CaptureProblem::None;
};

} // namespace harmonet

Q_DECLARE_METATYPE(std::vector<harmonet::PitchFrame>)
