#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace harmonet {

// A fixed ring of capacity items handed from one producer thread to one
// consumer thread without locks: push() never blocks (it reports a full
// ring), front()/pop() never allocate. Storage is allocated once, up front.
template <typename T>
class SpscQueue {
public:
    explicit SpscQueue(std::size_t capacity) : m_size(capacity + 1), m_items(std::make_unique<T[]>(m_size)) {}

    std::size_t capacity() const { return m_size - 1; }

    // Producer: false when the ring is full (the item is not taken).
    bool push(const T& item) noexcept
    {
        const std::size_t tail = m_tail.load(std::memory_order_relaxed);
        const std::size_t next = tail + 1 == m_size ? 0 : tail + 1;
        if (next == m_head.load(std::memory_order_acquire)) {
            return false;
        }
        m_items[tail] = item;
        m_tail.store(next, std::memory_order_release);
        return true;
    }

    // Consumer: the oldest item, or null when the ring is empty.
    T* front() noexcept
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire)) {
            return nullptr;
        }
        return &m_items[head];
    }

    // Consumer: drops the item front() returned.
    void pop() noexcept
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        m_head.store(head + 1 == m_size ? 0 : head + 1, std::memory_order_release);
    }

private:
    const std::size_t m_size;
    std::unique_ptr<T[]> m_items;
    alignas(64) std::atomic<std::size_t> m_head{0};
    alignas(64) std::atomic<std::size_t> m_tail{0};
};

} // namespace harmonet
