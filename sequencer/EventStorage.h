#pragma once

#include <cstddef>
#include <vector>

namespace harmonet {

namespace detail {
// Large blocks come straight from the system, asking for huge pages, so that
// filling them costs a few hundred page faults instead of tens of thousands.
void* allocateEventBlock(std::size_t bytes);
void freeEventBlock(void* block, std::size_t bytes) noexcept;
} // namespace detail

// The allocator of a track's event records.
template <typename T>
struct EventStorageAllocator {
    using value_type = T;

    EventStorageAllocator() noexcept = default;
    template <typename U>
    EventStorageAllocator(const EventStorageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { return static_cast<T*>(detail::allocateEventBlock(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { detail::freeEventBlock(p, n * sizeof(T)); }

    template <typename U>
    friend bool operator==(const EventStorageAllocator&, const EventStorageAllocator<U>&) noexcept
    {
        return true;
    }
};

template <typename T>
using EventVector = std::vector<T, EventStorageAllocator<T>>;

} // namespace harmonet
