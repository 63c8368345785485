#include "singing/MicrophoneCapture.h"

#include <QCoreApplication>

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/rtclock.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>

#include <atomic>
#include <vector>

namespace harmonet {

// The client library's objects and the state its callbacks share with the
// caller. Every field but the atomics is touched only with the loop locked.
struct MicrophoneCapture::Loop {
    pa_threaded_mainloop* mainloop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    Callbacks callbacks;
    // Set while start() waits; the callbacks only signal then.
    bool starting = true;
    bool timedOut = false;
    bool sourceKnown = false;
    bool sourceIsMonitor = false;
    QString defaultSource;
    QString sourceDescription;
    std::atomic<bool> stopping{false};
    std::atomic<bool> lost{false};
    std::vector<float> chunk;

    ~Loop()
    {
        if (mainloop) {
            pa_threaded_mainloop_lock(mainloop);
            stopping = true;
            if (stream) {
                pa_stream_set_state_callback(stream, nullptr, nullptr);
                pa_stream_set_read_callback(stream, nullptr, nullptr);
                pa_stream_disconnect(stream);
                pa_stream_unref(stream);
            }
            if (context) {
                pa_context_set_state_callback(context, nullptr, nullptr);
                pa_context_disconnect(context);
                pa_context_unref(context);
            }
            pa_threaded_mainloop_unlock(mainloop);
            pa_threaded_mainloop_stop(mainloop);
            pa_threaded_mainloop_free(mainloop);
        }
    }

    void reportLost(CaptureProblem problem, const QString& detail)
    {
        if (starting) {
            pa_threaded_mainloop_signal(mainloop, 0);
            return;
        }
        if (!stopping && !lost.exchange(true) && callbacks.failed) {
            callbacks.failed(problem, detail);
        }
    }

    static void contextState(pa_context* context, void* data)
    {
        auto* loop = static_cast<Loop*>(data);
        const pa_context_state_t state = pa_context_get_state(context);
        if (state == PA_CONTEXT_READY) {
            pa_threaded_mainloop_signal(loop->mainloop, 0);
        } else if (!PA_CONTEXT_IS_GOOD(state)) {
            loop->reportLost(CaptureProblem::SourceLost, QString::fromUtf8(pa_strerror(pa_context_errno(context))));
        }
    }

    static void streamState(pa_stream* stream, void* data)
    {
        auto* loop = static_cast<Loop*>(data);
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if (state == PA_STREAM_READY) {
            pa_threaded_mainloop_signal(loop->mainloop, 0);
        } else if (!PA_STREAM_IS_GOOD(state)) {
            loop->reportLost(CaptureProblem::SourceLost,
                             QString::fromUtf8(pa_strerror(pa_context_errno(pa_stream_get_context(stream)))));
        }
    }

    static void serverInfo(pa_context*, const pa_server_info* info, void* data)
    {
        auto* loop = static_cast<Loop*>(data);
        loop->defaultSource = info && info->default_source_name ? QString::fromUtf8(info->default_source_name)
                                                                  : QString();
        pa_threaded_mainloop_signal(loop->mainloop, 0);
    }

    static void sourceInfo(pa_context*, const pa_source_info* info, int eol, void* data)
    {
        auto* loop = static_cast<Loop*>(data);
        if (eol != 0 || !info) {
            pa_threaded_mainloop_signal(loop->mainloop, 0);
            return;
        }
        loop->sourceKnown = true;
        loop->sourceIsMonitor = info->monitor_of_sink != PA_INVALID_INDEX;
        loop->sourceDescription = QString::fromUtf8(info->description ? info->description : "");
    }

    static void timeout(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data)
    {
        auto* loop = static_cast<Loop*>(data);
        loop->timedOut = true;
        pa_threaded_mainloop_signal(loop->mainloop, 0);
    }

    static void readable(pa_stream* stream, size_t, void* data)
    {
        auto* loop = static_cast<Loop*>(data);
        const void* bytes = nullptr;
        size_t length = 0;
        while (pa_stream_readable_size(stream) > 0) {
            if (pa_stream_peek(stream, &bytes, &length) < 0 || length == 0) {
                return;
            }
            if (bytes) {
                // A hole (no bytes) is a gap the server could not fill: it is skipped.
                const auto* samples = static_cast<const float*>(bytes);
                loop->chunk.assign(samples, samples + length / sizeof(float));
            } else {
                loop->chunk.clear();
            }
            pa_stream_drop(stream);
            if (!loop->chunk.empty() && !loop->stopping && !loop->lost && loop->callbacks.audio) {
                loop->callbacks.audio(loop->chunk, Clock::now());
            }
        }
    }

    // Waits, with the loop locked, until done() holds or the deadline passed.
    template <typename Done>
    bool waitFor(Done done)
    {
        while (!done()) {
            if (timedOut) {
                return false;
            }
            pa_threaded_mainloop_wait(mainloop);
        }
        return true;
    }
};

MicrophoneCapture::MicrophoneCapture() = default;

MicrophoneCapture::~MicrophoneCapture()
{
    stop();
}

bool MicrophoneCapture::fail(CaptureProblem problem, const QString& detail)
{
    m_problem = problem;
    m_detail = detail;
    if (m_loop && m_loop->mainloop) {
        pa_threaded_mainloop_unlock(m_loop->mainloop);
    }
    m_loop.reset();
    return false;
}

bool MicrophoneCapture::start(int sampleRate, Callbacks callbacks)
{
    stop();
    m_problem = CaptureProblem::None;
    m_detail.clear();
    m_sourceName.clear();
    m_sourceDescription.clear();
    m_loop = std::make_unique<Loop>();
    Loop& loop = *m_loop;
    loop.callbacks = std::move(callbacks);
    loop.mainloop = pa_threaded_mainloop_new();
    if (!loop.mainloop) {
        m_loop.reset();
        m_problem = CaptureProblem::Failed;
        return false;
    }
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop.mainloop);
    loop.context = pa_context_new(api, "Harmonet");
    if (!loop.context || pa_threaded_mainloop_start(loop.mainloop) < 0) {
        m_loop.reset();
        m_problem = CaptureProblem::Failed;
        return false;
    }
    pa_threaded_mainloop_lock(loop.mainloop);
    pa_context_rttime_new(loop.context, pa_rtclock_now() + pa_usec_t(ConnectTimeoutMs) * PA_USEC_PER_MSEC,
                          &Loop::timeout, &loop);
    pa_context_set_state_callback(loop.context, &Loop::contextState, &loop);
    if (pa_context_connect(loop.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        return fail(CaptureProblem::NoServer, QString::fromUtf8(pa_strerror(pa_context_errno(loop.context))));
    }
    const auto contextSettled = [&] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(loop.context))
                                             || pa_context_get_state(loop.context) == PA_CONTEXT_READY; };
    if (!loop.waitFor(contextSettled) || pa_context_get_state(loop.context) != PA_CONTEXT_READY) {
        const int error = pa_context_errno(loop.context);
        return fail(error == PA_ERR_ACCESS ? CaptureProblem::AccessRefused : CaptureProblem::NoServer,
                    QString::fromUtf8(pa_strerror(error)));
    }

    // The default source, unless it only listens to an output.
    pa_operation* query = pa_context_get_server_info(loop.context, &Loop::serverInfo, &loop);
    if (!query) {
        return fail(CaptureProblem::Failed, QString::fromUtf8(pa_strerror(pa_context_errno(loop.context))));
    }
    while (pa_operation_get_state(query) == PA_OPERATION_RUNNING && !loop.timedOut) {
        pa_threaded_mainloop_wait(loop.mainloop);
    }
    pa_operation_unref(query);
    if (loop.defaultSource.isEmpty()) {
        return fail(CaptureProblem::NoSource, QString());
    }
    const QByteArray sourceName = loop.defaultSource.toUtf8();
    query = pa_context_get_source_info_by_name(loop.context, sourceName.constData(), &Loop::sourceInfo, &loop);
    if (!query) {
        return fail(CaptureProblem::Failed, QString::fromUtf8(pa_strerror(pa_context_errno(loop.context))));
    }
    while (pa_operation_get_state(query) == PA_OPERATION_RUNNING && !loop.timedOut) {
        pa_threaded_mainloop_wait(loop.mainloop);
    }
    pa_operation_unref(query);
    if (!loop.sourceKnown || loop.sourceIsMonitor) {
        return fail(CaptureProblem::NoSource, loop.defaultSource);
    }
    m_sourceName = loop.defaultSource;
    m_sourceDescription = loop.sourceDescription;

    const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, uint32_t(sampleRate), 1};
    loop.stream = pa_stream_new(loop.context, "Sing along", &spec, nullptr);
    if (!loop.stream) {
        return fail(CaptureProblem::Failed, QString::fromUtf8(pa_strerror(pa_context_errno(loop.context))));
    }
    pa_stream_set_state_callback(loop.stream, &Loop::streamState, &loop);
    pa_stream_set_read_callback(loop.stream, &Loop::readable, &loop);
    pa_buffer_attr attributes{};
    attributes.maxlength = uint32_t(-1);
    attributes.fragsize = uint32_t(sampleRate / 1000 * FragmentMs * int(sizeof(float)));
    // Not moved to another source when this one goes: the singer is told instead.
    const pa_stream_flags_t flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
    if (pa_stream_connect_record(loop.stream, sourceName.constData(), &attributes, flags) < 0) {
        return fail(CaptureProblem::Failed, QString::fromUtf8(pa_strerror(pa_context_errno(loop.context))));
    }
    const auto streamSettled = [&] { return !PA_STREAM_IS_GOOD(pa_stream_get_state(loop.stream))
                                            || pa_stream_get_state(loop.stream) == PA_STREAM_READY; };
    if (!loop.waitFor(streamSettled) || pa_stream_get_state(loop.stream) != PA_STREAM_READY) {
        const int error = pa_context_errno(loop.context);
        return fail(error == PA_ERR_ACCESS ? CaptureProblem::AccessRefused : CaptureProblem::Failed,
                    QString::fromUtf8(pa_strerror(error)));
    }
    loop.starting = false;
    pa_threaded_mainloop_unlock(loop.mainloop);
    return true;
}

void MicrophoneCapture::stop()
{
    m_loop.reset();
}

bool MicrophoneCapture::running() const
{
    return m_loop && !m_loop->lost;
}

QString captureProblemText(CaptureProblem problem, const QString& detail)
{
    const char* const context = "MicrophoneCapture";
    switch (problem) {
    case CaptureProblem::None:
        return QString();
    case CaptureProblem::NoServer:
        return QCoreApplication::translate(context, "No sound server answers, so the microphone cannot be heard (%1). "
                                                    "The song plays on without listening.")
            .arg(detail);
    case CaptureProblem::NoSource:
        return QCoreApplication::translate(context, "No microphone was found. Connect one or choose it as the "
                                                    "default input in the sound settings; the song plays on "
                                                    "without listening.");
    case CaptureProblem::AccessRefused:
        return QCoreApplication::translate(context, "The sound server refused access to the microphone (%1). "
                                                    "The song plays on without listening.")
            .arg(detail);
    case CaptureProblem::SourceLost:
        return QCoreApplication::translate(context, "The microphone went away while listening. The song plays on; "
                                                    "what was sung until then is kept.");
    case CaptureProblem::Failed:
        break;
    }
    return QCoreApplication::translate(context, "The microphone cannot be recorded (%1). The song plays on without "
                                                "listening.")
        .arg(detail);
}

} // namespace harmonet
