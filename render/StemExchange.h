#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <semaphore>
#include <span>
#include <vector>

namespace harmonet {

// Passes the audio of a song's stems, in step, from their renderers (a thread
// each) to the writers of the files mixed from them (a thread each): a ring
// of chunks, each holding the same stretch of every stem, so that the memory
// needed is the same however long the song is. A renderer waits while the
// ring is full, a writer until its next chunk is whole. The ring holds
// seconds of audio where the stems are few: stems whose notes lie thick in
// different places then run at their own pace instead of in step.
//
// Every thread that puts or takes holds a Turn, one of the machine's cores:
// at most `cores` of them work at a time, and one that waits gives its turn
// to another meanwhile.
//
// With mids, each stem's chunk holds its folded mid signal (a frame each)
// beside its stereo frames, put and taken with them.
class StemExchange {
public:
    static constexpr int chunkFrames = 8192;
    // The ring's bounds: at most this many bytes, yet a few chunks and at
    // most about twelve seconds whatever the number of stems.
    static constexpr std::size_t ringBytes = std::size_t(32) << 20;
    static constexpr int fewestRingChunks = 6;
    static constexpr int mostRingChunks = 64;

    StemExchange(int stems, int files, int cores, bool withMids = false);

    // Chunks the ring holds.
    int ringChunks() const { return m_ringChunks; }

    // One core's work, for as long as it lives.
    class Turn {
    public:
        explicit Turn(StemExchange& exchange) : m_exchange(exchange) { m_exchange.m_cores.acquire(); }
        ~Turn() { m_exchange.m_cores.release(); }
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        StemExchange& m_exchange;
    };

    // Renderer side: appends the stem's next frames (interleaved stereo),
    // with mids their mid signal too (a frame each); false once the exchange
    // is stopped.
    bool put(int stem, std::span<const float> stereo, std::span<const float> mid = {});
    // The stem has no more frames.
    void finish(int stem);

    // One stretch of every stem, frames long; a stem that ended within it
    // has fewer frames (none after its end).
    struct Chunk {
        qint64 firstFrame = 0;
        int frames = 0;
        std::vector<std::span<const float>> stems;
        // With mids, each stem's mid signal over the same frames; else none.
        std::vector<std::span<const float>> mids;
    };
    // Writer side: the file's next chunk, once every stem has it; valid until
    // the file's next take. No frames once every stem has ended, or when the
    // exchange is stopped.
    Chunk take(int file);

    // Ends the exchange: every wait returns, every put and take from now on
    // gives nothing.
    void stop();
    bool stopped() const;

private:
    // Waits until ready() holds, the thread's turn given up meanwhile.
    template <typename Ready>
    void waitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& changed, Ready ready);
    qint64 chunksReleased() const;
    qint64 chunksWhole() const;
    float* region(qint64 chunk, int stem);
    float* midRegion(qint64 chunk, int stem);

    const int m_stemCount;
    const bool m_withMids;
    const int m_ringChunks;
    std::counting_semaphore<> m_cores;
    std::vector<float> m_ring;

    mutable std::mutex m_mutex;
    std::condition_variable m_roomMade;
    std::condition_variable m_chunkWhole;
    bool m_stopped = false;
    // Per stem: chunks filled, frames in the chunk being filled, whether it ended.
    std::vector<qint64> m_filled;
    std::vector<int> m_fill;
    std::vector<char> m_ended;
    // Per file: chunks it is finished with, whether it holds the next one.
    std::vector<qint64> m_released;
    std::vector<char> m_holding;
};

} // namespace harmonet
