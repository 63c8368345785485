#include "midiout/LiveAudioOutput.h"

#include "midiout/AudioLibraryLog.h"
#include "midiout/SynthRenderer.h"

#include <fluidsynth.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTime>

#include <algorithm>
#include <condition_variable>
#include <vector>

namespace harmonet {

namespace {
using SteadyTime = std::chrono::steady_clock;

// The silent clock renders in periods of the live driver's size.
constexpr int silentPeriodFrames = 256;
constexpr auto watchInterval = std::chrono::milliseconds(20);

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyTime::now().time_since_epoch()).count();
}

qint64 ns(std::chrono::milliseconds ms)
{
    return std::chrono::nanoseconds(ms).count();
}

// Whether a PulseAudio-compatible sound server (PulseAudio, PipeWire's) is
// named or has its socket in the user's runtime folder. Only then is it
// tried directly: a client library asked to connect where no server runs may
// start one of its own accord.
bool soundServerAnnounced()
{
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        return true;
    }
    const QString runtime = qEnvironmentVariable("PULSE_RUNTIME_PATH");
    if (!runtime.isEmpty()) {
        return QFileInfo::exists(runtime + QStringLiteral("/native"));
    }
    const QString userRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !userRuntime.isEmpty() && QFileInfo::exists(userRuntime + QStringLiteral("/pulse/native"));
}
} // namespace

LiveAudioOutput::LiveAudioOutput(Mode mode, Settings* settings, SynthRenderer& renderer, int sampleRate,
                                 QString driverName)
    : m_mode(mode), m_settings(settings), m_renderer(renderer), m_sampleRate(sampleRate),
      m_driverName(std::move(driverName))
{
    if (mode == Mode::Driver && !openDriver()) {
        qCDebug(lcMidiOut) << "no audio output through" << m_driverName << "; playing silently";
        m_notice = QCoreApplication::translate("Output", "The built-in synthesizer has no audio output: no sound card or sound server "
                                  "could be opened (audio driver \"%1\"). It accepts every message but you will "
                                  "hear nothing; choose a MIDI port or connect an audio device. The sound comes "
                                  "on by itself as soon as an audio output can be opened.")
                       .arg(m_driverName);
    }
    if (mode == Mode::Driver) {
        m_silentClock = std::jthread([this](std::stop_token stop) { runSilentClock(stop); });
    }
    m_watchdog = std::jthread([this](std::stop_token stop) { runWatchdog(stop); });
}

LiveAudioOutput::~LiveAudioOutput()
{
    m_watchdog = {};    // joins: no driver is opened or closed any more
    m_silentClock = {}; // joins
    closeDriver();
}

QString LiveAudioOutput::notice() const
{
    const std::lock_guard lock(m_noticeMutex);
    return m_notice;
}

void LiveAudioOutput::setNoticeHandler(std::function<void()> changed)
{
    const std::lock_guard lock(m_noticeMutex);
    m_noticeChanged = std::move(changed);
}

void LiveAudioOutput::setNotice(const QString& notice)
{
    // The handler runs under the lock, so once it has been cleared it is not
    // running any more and its owner may go.
    const std::lock_guard lock(m_noticeMutex);
    if (m_notice == notice) {
        return;
    }
    m_notice = notice;
    if (m_noticeChanged) {
        m_noticeChanged();
    }
}

void LiveAudioOutput::render(float* left, float* right, int frames) noexcept
{
    // The driver's thread and the silent clock's may both be in here for a
    // moment while the output changes hands: the one that comes second
    // renders silence instead of waiting.
    if (m_rendering.exchange(true, std::memory_order_acquire)) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
        return;
    }
    m_renderer.render(left, right, frames, SteadyTime::now());
    m_rendering.store(false, std::memory_order_release);
}

int LiveAudioOutput::driverCallback(void* data, int len, int /*nfx*/, float* /*fx*/[], int nout, float* out[])
{
    if (nout < 2 || !out || !out[0] || !out[1]) {
        return FLUID_FAILED;
    }
    auto* self = static_cast<LiveAudioOutput*>(data);
    self->m_lastCallbackNs.store(nowNs(), std::memory_order_relaxed);
    if (self->m_driverActive.load(std::memory_order_acquire)) {
        self->render(out[0], out[1], len);
    } else {
        // A driver given up for lost that still calls: the silent clock renders.
        std::fill(out[0], out[0] + len, 0.0f);
        std::fill(out[1], out[1] + len, 0.0f);
    }
    for (int ch = 2; ch < nout; ++ch) {
        if (out[ch]) {
            std::fill(out[ch], out[ch] + len, 0.0f);
        }
    }
    return FLUID_OK;
}

bool LiveAudioOutput::openDriver()
{
    // The configured driver first (through ALSA's sound-server plugin it keeps
    // the most even time); then a sound server through its own driver: ALSA
    // decides once per process whether its default device is the server's,
    // so after starting without a server it would never find one that came
    // later.
    QStringList candidates{m_driverName};
    if (m_driverName != QStringLiteral("pulseaudio") && soundServerAnnounced()) {
        candidates << QStringLiteral("pulseaudio");
    }
    for (const QString& name : candidates) {
        if (fluid_settings_setstr(m_settings, "audio.driver", name.toUtf8().constData()) != FLUID_OK) {
            continue;
        }
        m_lastCallbackNs.store(nowNs());
        m_driver = new_fluid_audio_driver2(m_settings, driverCallback, this);
        if (m_driver) {
            qCDebug(lcMidiOut) << "audio output through" << name;
            m_openedDriver = name;
            m_driverActive.store(true, std::memory_order_release);
            return true;
        }
    }
    return false;
}

void LiveAudioOutput::closeDriver()
{
    m_driverActive.store(false, std::memory_order_release);
    if (m_driver) {
        delete_fluid_audio_driver(m_driver);
        m_driver = nullptr;
    }
}

void LiveAudioOutput::runSilentClock(const std::stop_token& stop)
{
    std::vector<float> left(silentPeriodFrames);
    std::vector<float> right(silentPeriodFrames);
    const auto period = std::chrono::nanoseconds(1'000'000'000LL * silentPeriodFrames / m_sampleRate);
    auto next = SteadyTime::now();
    while (!stop.stop_requested()) {
        const auto now = SteadyTime::now();
        if (m_driverActive.load(std::memory_order_acquire)) {
            next = now + watchInterval; // resting while the driver renders
        } else {
            render(left.data(), right.data(), silentPeriodFrames);
            next += period;
            if (next < now - std::chrono::milliseconds(100)) {
                next = now; // fell far behind (suspended machine): do not race to catch up
            }
        }
        std::this_thread::sleep_until(next);
    }
}

void LiveAudioOutput::runWatchdog(const std::stop_token& stop)
{
    std::mutex mutex;
    std::condition_variable_any wake;
    bool connected = m_driver != nullptr;
    qint64 connectedAt = nowNs();
    auto retry = firstRetry;
    qint64 nextTry = nowNs() + ns(retry);
    while (!stop.stop_requested()) {
        m_renderer.flush();
        const qint64 now = nowNs();
        if (m_mode == Mode::Driver && connected) {
            const qint64 allowed = now - connectedAt < ns(startUpAllowance) ? ns(startUpAllowance) : ns(lossTimeout);
            if (now - m_lastCallbackNs.load(std::memory_order_relaxed) > allowed) {
                qCDebug(lcMidiOut) << "audio output through" << m_openedDriver << "fell silent; playing silently";
                // The silent clock takes over and the user is told before the
                // dead driver is closed, which may take a while.
                m_driverActive.store(false, std::memory_order_release);
                connected = false;
                setNotice(QCoreApplication::translate("Output", "The built-in synthesizer lost its audio output at %1 (audio driver "
                                         "\"%2\" stopped). Playing goes on silently; the sound comes back by "
                                         "itself as soon as the audio output can be opened again.")
                              .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), m_openedDriver));
                closeDriver();
                retry = firstRetry;
                nextTry = nowNs() + ns(retry);
            }
        } else if (m_mode == Mode::Driver && now >= nextTry) {
            if (openDriver()) {
                qCDebug(lcMidiOut) << "audio output is back";
                connected = true;
                connectedAt = nowNs();
                setNotice(QString());
            } else {
                retry = std::min(retry * 2, longestRetry);
                nextTry = nowNs() + ns(retry);
            }
        }
        std::unique_lock lock(mutex);
        wake.wait_for(lock, stop, watchInterval, [] { return false; });
    }
}

} // namespace harmonet
