// A split transaction's parts: each part's cents are in the transaction's own direction (a part
// may go the other way, a refund within a payment), and they add up to its amount to the cent.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/session/category_book.h"

namespace quillet {

// What is left to place: the transaction's cents less the parts'.
std::int64_t split_remainder(const CategoryLines& parts, std::int64_t cents);
// Whether the lines can be kept for a transaction of these cents: none, one category, or parts
// (two at least, each with cents) that add up.
bool lines_fit(const CategoryLines& lines, std::int64_t cents);
// The parts after the transaction's amount changed to cents, the difference given to one part.
CategoryLines spread_to_part(CategoryLines parts, std::int64_t cents, std::size_t part);

}  // namespace quillet
