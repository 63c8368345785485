#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace harmonet {

// Plays a take back through the sound server's default output, beside the
// song: from a given sample on, beginning at a given moment (a start that
// comes late skips what it missed), on a thread of its own. The stream
// holds about StreamMs of audio, so stop() returns within about that.
class TakePlayer {
public:
    static constexpr int StreamMs = 40;
    using Clock = std::chrono::steady_clock;

    TakePlayer() = default;
    ~TakePlayer();
    TakePlayer(const TakePlayer&) = delete;
    TakePlayer& operator=(const TakePlayer&) = delete;

    // Plays samples (mono, at sampleRate) from firstSample on, the first of
    // them at the moment start. False, with why(), when the server refuses
    // a stream; nothing plays then.
    bool play(std::shared_ptr<const std::vector<float>> samples, int sampleRate, qint64 firstSample,
              Clock::time_point start);
    void stop();
    // Whether samples are still being played.
    bool playing() const { return m_playing; }
    QString why() const { return m_why; }

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_playing{false};
    QString m_why;
};

} // namespace harmonet
