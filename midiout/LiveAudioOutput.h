#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

struct _fluid_audio_driver_t;
struct _fluid_hashtable_t;

namespace harmonet {

class SynthRenderer;

// The live synthesizer's way to the sound: the audio driver while it works,
// a silent clock that renders into nothing at the pace of real time while
// there is none (voices end and nothing blocks, as with a sound card), and a
// watchdog. A driver whose callback falls silent for longer than a few
// periods is taken for lost: the silent clock carries on where it stopped,
// and a new driver is tried in the background, after 0.5 s, then at doubling
// intervals up to 5 s, until one opens and the sound comes back. The same
// goes on from the start when no driver could be opened at first.
//
// Never more than one of them renders at a time; the watchdog also passes on
// messages that waited for room in the renderer's ring.
class LiveAudioOutput {
public:
    enum class Mode { Driver, Host };
    using Settings = _fluid_hashtable_t;

    // Host: the caller's audio callback renders (no driver, no silent clock).
    LiveAudioOutput(Mode mode, Settings* settings, SynthRenderer& renderer, int sampleRate, QString driverName);
    ~LiveAudioOutput();

    LiveAudioOutput(const LiveAudioOutput&) = delete;
    LiveAudioOutput& operator=(const LiveAudioOutput&) = delete;

    bool hasAudioOutput() const { return m_driverActive.load(); }
    // Empty while the sound reaches an audio output; otherwise what happened.
    QString notice() const;
    // Called, on the watchdog's thread, whenever notice() changes.
    void setNoticeHandler(std::function<void()> changed);

    // Silence of the driver's callback after which it counts as lost, and the
    // longer silence allowed while a newly opened stream starts up.
    static constexpr std::chrono::milliseconds lossTimeout{400};
    static constexpr std::chrono::milliseconds startUpAllowance{3000};
    static constexpr std::chrono::milliseconds firstRetry{500};
    static constexpr std::chrono::milliseconds longestRetry{5000};

    // The callback handed to the driver (data = this).
    static int driverCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]);

private:
    void render(float* left, float* right, int frames) noexcept;
    bool openDriver();
    void closeDriver();
    void runSilentClock(const std::stop_token& stop);
    void runWatchdog(const std::stop_token& stop);
    void setNotice(const QString& notice);

    Mode m_mode;
    Settings* m_settings;
    SynthRenderer& m_renderer;
    int m_sampleRate;
    QString m_driverName;   // the one configured
    QString m_openedDriver; // the one that opened last
    _fluid_audio_driver_t* m_driver = nullptr; // the watchdog's once running

    std::atomic<bool> m_rendering{false};    // someone is inside render()
    std::atomic<bool> m_driverActive{false}; // the driver renders, the silent clock rests
    std::atomic<qint64> m_lastCallbackNs{0};

    mutable std::mutex m_noticeMutex;
    QString m_notice;
    std::function<void()> m_noticeChanged;

    std::jthread m_silentClock;
    std::jthread m_watchdog;
};

} // namespace harmonet
