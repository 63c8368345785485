#include "singing/TakePlayer.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>

namespace harmonet {

TakePlayer::~TakePlayer()
{
    stop();
}

bool TakePlayer::play(std::shared_ptr<const std::vector<float>> samples, int sampleRate, qint64 firstSample,
                      Clock::time_point start)
{
    stop();
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, uint32_t(sampleRate), 1};
    pa_buffer_attr attributes{};
    attributes.maxlength = uint32_t(-1);
    attributes.tlength = uint32_t(sampleRate / 1000 * StreamMs * int(sizeof(float)));
    attributes.prebuf = uint32_t(-1);
    attributes.minreq = uint32_t(-1);
    attributes.fragsize = uint32_t(-1);
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, "Harmonet", PA_STREAM_PLAYBACK, nullptr, "My take", &spec, nullptr,
                                      &attributes, &error);
    if (!stream) {
        m_why = QString::fromUtf8(pa_strerror(error));
        return false;
    }
    m_why.clear();
    m_stop = false;
    m_playing = true;
    m_thread = std::thread([this, stream, samples = std::move(samples), sampleRate, firstSample, start] {
        const qint64 block = sampleRate / 100;
        // Samples whose moment has passed already are skipped; until the
        // first one's moment, silence.
        const double lateSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        qint64 at = firstSample + qint64(lateSeconds * sampleRate);
        std::vector<float> silence(std::size_t(block), 0.0f);
        int error = 0;
        while (at < 0 && !m_stop) {
            const qint64 count = std::min(block, -at);
            if (pa_simple_write(stream, silence.data(), std::size_t(count) * sizeof(float), &error) < 0) {
                m_stop = true;
            }
            at += count;
        }
        const qint64 end = qint64(samples->size());
        for (at = std::max<qint64>(0, at); at < end && !m_stop; at += block) {
            const qint64 count = std::min(block, end - at);
            if (pa_simple_write(stream, samples->data() + at, std::size_t(count) * sizeof(float), &error) < 0) {
                break;
            }
        }
        if (!m_stop) {
            pa_simple_drain(stream, &error);
        }
        pa_simple_free(stream);
        m_playing = false;
    });
    return true;
}

void TakePlayer::stop()
{
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_playing = false;
}

} // namespace harmonet
