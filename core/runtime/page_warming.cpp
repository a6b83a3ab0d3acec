#include "core/runtime/page_warming.h"

#include <sys/mman.h>

#include <cstdint>

namespace quillet {

namespace {

// Ranges under this are not worth a thread.
constexpr std::size_t kLeastWarmed = 4u << 20;

void warm(const MemoryRange& range) {
#ifdef MADV_POPULATE_WRITE
    constexpr std::uintptr_t kPage = 4096;
    const auto start = reinterpret_cast<std::uintptr_t>(range.data);
    const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (start + range.bytes) & ~(kPage - 1);
    // Only advice: a range the system will not populate is faulted in by its writes as before.
    if (range.data != nullptr && end > first)
        (void)::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)range;
#endif
}

}  // namespace

PageWarming::PageWarming(std::vector<MemoryRange> ranges) {
    std::size_t bytes = 0;
    for (const MemoryRange& range : ranges) bytes += range.bytes;
    if (bytes < kLeastWarmed || std::thread::hardware_concurrency() < 2) return;
    thread_ = std::thread([ranges = std::move(ranges)] {
        for (const MemoryRange& range : ranges) warm(range);
    });
}

PageWarming::~PageWarming() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace quillet
