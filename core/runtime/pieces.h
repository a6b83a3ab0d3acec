// Work over many items shared among the machine's cores: the items split into pieces of about the
// same size, each piece on a core of its own (the first on the calling thread), all done before
// the call returns. Find and the list's filter read a million records this way.
#pragma once

#include <cstdint>
#include <functional>

namespace quillet {

// How many pieces count items make: one a core, each of at least least items, at least one.
std::int64_t piece_count(std::int64_t count, std::int64_t least);

// Runs work(piece, first, end) for the pieces of items 0..count, each on a core of its own.
void in_pieces(std::int64_t count, std::int64_t pieces,
               const std::function<void(std::int64_t piece, std::int64_t first, std::int64_t end)>& work);

}  // namespace quillet
