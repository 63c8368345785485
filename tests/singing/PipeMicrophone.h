#pragma once

#include "tests/support/PrivateSoundServer.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace harmonet::test {

// A microphone on a private sound server: a pipe source made the default
// source, into which the test "sings" (mono float samples at 44.1 kHz),
// written at the pace a real microphone would deliver them.
class PipeMicrophone {
public:
    static constexpr int Rate = 44100;

    explicit PipeMicrophone(PrivateSoundServer& server);
    ~PipeMicrophone();

    // Loads the source and makes it the default; false when that failed.
    bool plugIn();
    // Unloads it, as a microphone pulled out.
    bool pullOut();

    // Sings the samples from the moment start on, each at its time, on a
    // thread of its own; a pulled-out microphone ends the singing.
    void sing(std::vector<float> samples, std::chrono::steady_clock::time_point start);
    // Waits until everything was sung (or the microphone went away). A source
    // nobody records may stop reading its pipe: stop listening only after this.
    void waitUntilSung();
    // Samples written into the pipe so far.
    qint64 samplesSung() const { return m_written; }

private:
    PrivateSoundServer& m_server;
    QString m_fifo;
    QString m_module;
    std::thread m_singer;
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_written{0};
};

} // namespace harmonet::test
