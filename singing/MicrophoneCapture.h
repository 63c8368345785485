#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <span>

namespace harmonet {

// Why the microphone cannot be heard.
enum class CaptureProblem {
    None,
    // No sound server answers.
    NoServer,
    // The server has no microphone (only monitors of its outputs, or nothing).
    NoSource,
    // The server refused the recording (no permission).
    AccessRefused,
    // The microphone went away, or the server did, while recording.
    SourceLost,
    // Anything else the server reported.
    Failed,
};

// Records the sound server's default microphone, mono 32-bit float, in
// fragments of FragmentMs, on a thread of its own (the client library's
// threaded main loop), never played back. The audio and a failure while
// recording are handed to the callbacks on that thread; a failure ends the
// recording and is reported once. Nothing it does waits on the caller's
// thread, and stop() returns at once even when the source has gone silent.
class MicrophoneCapture {
public:
    static constexpr int FragmentMs = 10;
    // How long start() waits for the server before giving up.
    static constexpr int ConnectTimeoutMs = 3000;

    using Clock = std::chrono::steady_clock;
    struct Callbacks {
        // Samples in order, and when the last of them arrived.
        std::function<void(std::span<const float> samples, Clock::time_point arrival)> audio;
        std::function<void(CaptureProblem problem, const QString& detail)> failed;
    };

    MicrophoneCapture();
    ~MicrophoneCapture();
    MicrophoneCapture(const MicrophoneCapture&) = delete;
    MicrophoneCapture& operator=(const MicrophoneCapture&) = delete;

    // Connects to the server and starts recording its default source; false,
    // with problem() and detail(), when that cannot be done. The callbacks
    // may run before start() returns.
    bool start(int sampleRate, Callbacks callbacks);
    // Ends the recording; no callback runs after it returns.
    void stop();
    bool running() const;

    CaptureProblem problem() const { return m_problem; }
    // The server's own words for the failure, or the source's name.
    QString detail() const { return m_detail; }
    // The source recorded (its name on the server), known once started.
    QString sourceName() const { return m_sourceName; }
    // The source's description for the user ("Built-in Audio Analog Stereo").
    QString sourceDescription() const { return m_sourceDescription; }

private:
    struct Loop;
    bool fail(CaptureProblem problem, const QString& detail);

    std::unique_ptr<Loop> m_loop;
    CaptureProblem m_problem = CaptureProblem::None;
    QString m_detail;
    QString m_sourceName;
    QString m_sourceDescription;
};

// The notice for the user about a problem, naming what detail says.
QString captureProblemText(CaptureProblem problem, const QString& detail);

} // namespace harmonet
