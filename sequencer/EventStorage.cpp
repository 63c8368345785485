#include "sequencer/EventStorage.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace harmonet::detail {

namespace {
constexpr std::size_t smallPage = std::size_t(4) << 10;
constexpr std::size_t hugePage = std::size_t(2) << 20;
// Below this a block is an ordinary heap block.
constexpr std::size_t largeBlock = 2 * hugePage;

std::size_t roundUp(std::size_t bytes, std::size_t unit)
{
    return (bytes + unit - 1) / unit * unit;
}
} // namespace

void* allocateEventBlock(std::size_t bytes)
{
    if (bytes < largeBlock) {
        if (void* block = std::malloc(bytes == 0 ? 1 : bytes)) {
            return block;
        }
        throw std::bad_alloc();
    }
    // Map a huge page more than needed, keep the part that starts on a huge
    // page boundary, and return the rest: huge pages then cover the whole
    // block but its last partial huge page, which stays in small pages, so no
    // more than a small page is wasted.
    const std::size_t size = roundUp(bytes, smallPage);
    const std::size_t reserved = size + hugePage;
    void* mapped = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = roundUp(start, hugePage);
    if (aligned > start) {
        munmap(mapped, aligned - start);
    }
    const std::uintptr_t end = start + reserved;
    if (end > aligned + size) {
        munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    }
    void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    // A hint only: without huge pages the block works the same.
    madvise(block, size, MADV_HUGEPAGE);
#endif
    return block;
}

void freeEventBlock(void* block, std::size_t bytes) noexcept
{
    if (bytes < largeBlock) {
        std::free(block);
    } else {
        munmap(block, roundUp(bytes, smallPage));
    }
}

} // namespace harmonet::detail
