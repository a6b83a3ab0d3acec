// Large buffers built in one go (a 64 MB statement's table and its million preview lines) asked
// onto huge pages: each small page of fresh memory costs a fault, and on some machines the faults
// were a third of an import's time. Only advice: where the system says no, nothing changes.
#pragma once

#include <cstddef>

namespace quillet {

// Advises the pages wholly inside the buffer; buffers under a few huge pages are left alone.
void advise_huge_pages(const void* data, std::size_t bytes);

// The same for a vector's or a string's reserved room.
template <typename Container>
void advise_huge_pages_of(const Container& container) {
    advise_huge_pages(container.data(), container.capacity() * sizeof(*container.data()));
}

}  // namespace quillet
