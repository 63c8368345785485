#include "render/StemExchange.h"

#include <algorithm>
#include <limits>

namespace harmonet {

namespace {

// Floats of one stem's chunk: two a frame, three with its mid signal.
std::size_t slotFloats(bool withMids)
{
    return std::size_t(withMids ? 3 : 2) * std::size_t(StemExchange::chunkFrames);
}

int ringChunksFor(int stems, bool withMids)
{
    const std::size_t chunkBytes = std::size_t(std::max(1, stems)) * slotFloats(withMids) * sizeof(float);
    return int(std::clamp<std::size_t>(StemExchange::ringBytes / chunkBytes, StemExchange::fewestRingChunks,
                                       StemExchange::mostRingChunks));
}

} // namespace

StemExchange::StemExchange(int stems, int files, int cores, bool withMids)
    : m_stemCount(stems), m_withMids(withMids), m_ringChunks(ringChunksFor(stems, withMids)),
      m_cores(std::max(1, cores)), m_ring(std::size_t(m_ringChunks) * std::size_t(stems) * slotFloats(withMids)),
      m_filled(std::size_t(stems), 0), m_fill(std::size_t(stems), 0), m_ended(std::size_t(stems), 0),
      m_released(std::size_t(files), 0), m_holding(std::size_t(files), 0)
{
}

float* StemExchange::region(qint64 chunk, int stem)
{
    const std::size_t slot = std::size_t(chunk % m_ringChunks) * std::size_t(m_stemCount) + std::size_t(stem);
    return m_ring.data() + slot * slotFloats(m_withMids);
}

float* StemExchange::midRegion(qint64 chunk, int stem)
{
    return region(chunk, stem) + 2 * chunkFrames;
}

qint64 StemExchange::chunksReleased() const
{
    return m_released.empty() ? std::numeric_limits<qint64>::max()
                              : *std::min_element(m_released.cbegin(), m_released.cend());
}

qint64 StemExchange::chunksWhole() const
{
    qint64 whole = std::numeric_limits<qint64>::max();
    for (std::size_t s = 0; s < m_filled.size(); ++s) {
        // A stem that ended holds back no chunk.
        whole = std::min(whole, m_ended[s] ? std::numeric_limits<qint64>::max() : m_filled[s]);
    }
    return whole;
}

template <typename Ready>
void StemExchange::waitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& changed, Ready ready)
{
    if (ready()) {
        return;
    }
    m_cores.release();
    changed.wait(lock, ready);
    // What made it ready stays so: chunks only ever fill and get released.
    lock.unlock();
    m_cores.acquire();
    lock.lock();
}

bool StemExchange::put(int stem, std::span<const float> stereo, std::span<const float> mid)
{
    const std::size_t s = std::size_t(stem);
    while (!stereo.empty()) {
        std::unique_lock lock(m_mutex);
        waitFor(lock, m_roomMade, [&] { return m_stopped || m_filled[s] < chunksReleased() + m_ringChunks; });
        if (m_stopped) {
            return false;
        }
        const qint64 chunk = m_filled[s];
        const int fill = m_fill[s];
        lock.unlock();
        // The stem's part of a chunk it may fill is its own: no one reads it before it is whole.
        const std::size_t frames = std::min(std::size_t(chunkFrames - fill), stereo.size() / 2);
        std::copy_n(stereo.begin(), 2 * frames, region(chunk, stem) + 2 * fill);
        stereo = stereo.subspan(2 * frames);
        if (m_withMids) {
            // A stem that places nothing (the accompaniment) gives no mid: silence.
            float* const to = midRegion(chunk, stem) + fill;
            const std::size_t given = std::min(frames, mid.size());
            std::copy_n(mid.begin(), given, to);
            std::fill_n(to + given, frames - given, 0.0f);
            mid = mid.subspan(given);
        }
        lock.lock();
        m_fill[s] += int(frames);
        if (m_fill[s] == chunkFrames) {
            const qint64 wholeBefore = chunksWhole();
            ++m_filled[s];
            m_fill[s] = 0;
            if (chunksWhole() > wholeBefore) {
                m_chunkWhole.notify_all();
            }
        }
    }
    return true;
}

void StemExchange::finish(int stem)
{
    const std::lock_guard lock(m_mutex);
    m_ended[std::size_t(stem)] = 1;
    m_chunkWhole.notify_all();
}

StemExchange::Chunk StemExchange::take(int file)
{
    const std::size_t f = std::size_t(file);
    std::unique_lock lock(m_mutex);
    if (m_holding[f]) {
        const qint64 releasedBefore = chunksReleased();
        m_holding[f] = 0;
        ++m_released[f];
        if (chunksReleased() > releasedBefore) {
            m_roomMade.notify_all();
        }
    }
    const qint64 chunk = m_released[f];
    waitFor(lock, m_chunkWhole, [&] { return m_stopped || chunksWhole() > chunk; });
    Chunk taken;
    if (m_stopped) {
        return taken;
    }
    taken.firstFrame = chunk * chunkFrames;
    for (int s = 0; s < m_stemCount; ++s) {
        const std::size_t i = std::size_t(s);
        const int frames = m_filled[i] > chunk ? chunkFrames : m_filled[i] == chunk ? m_fill[i] : 0;
        taken.frames = std::max(taken.frames, frames);
        taken.stems.emplace_back(region(chunk, s), std::size_t(2 * frames));
        if (m_withMids) {
            taken.mids.emplace_back(midRegion(chunk, s), std::size_t(frames));
        }
    }
    m_holding[f] = taken.frames > 0;
    return taken;
}

void StemExchange::stop()
{
    const std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_roomMade.notify_all();
    m_chunkWhole.notify_all();
}

bool StemExchange::stopped() const
{
    const std::lock_guard lock(m_mutex);
    return m_stopped;
}

} // namespace harmonet
