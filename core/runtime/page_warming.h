// Fresh memory costs a page fault for every page first written, about a third of a millisecond a
// megabyte on a small virtual machine: a fill that writes a million rows' arrays spends as long on
// their faults as on its own work. While the fill reads the file, another core makes the arrays'
// reserved room ready (MADV_POPULATE_WRITE), without touching what it holds.
#pragma once

#include <cstddef>
#include <thread>
#include <vector>

namespace quillet {

struct MemoryRange {
    const void* data = nullptr;
    std::size_t bytes = 0;
};

// A vector's or a string's reserved room.
template <typename Container>
MemoryRange reserved_range(const Container& container) {
    return {container.data(), container.capacity() * sizeof(*container.data())};
}

class PageWarming {
  public:
    // Starts on another core; on a machine with one, or where the system cannot, nothing is done.
    explicit PageWarming(std::vector<MemoryRange> ranges);
    // Waits until it is done.
    ~PageWarming();
    PageWarming(const PageWarming&) = delete;
    PageWarming& operator=(const PageWarming&) = delete;

  private:
    std::thread thread_;
};

}  // namespace quillet
