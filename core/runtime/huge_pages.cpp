#include "core/runtime/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace quillet {

void advise_huge_pages(const void* data, std::size_t bytes) {
    constexpr std::uintptr_t kHugePage = 2u << 20;
    if (data == nullptr || bytes < 4 * kHugePage) return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (end > first) (void)::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

}  // namespace quillet
