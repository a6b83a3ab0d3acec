#include "core/category/split_lines.h"

namespace quillet {

std::int64_t split_remainder(const CategoryLines& parts, std::int64_t cents) {
    for (const CategoryLine& part : parts) cents -= part.cents.value_or(0);
    return cents;
}

bool lines_fit(const CategoryLines& lines, std::int64_t cents) {
    if (lines.empty()) return true;
    if (lines.size() == 1) return !lines.front().cents;
    for (const CategoryLine& line : lines) {
        if (!line.cents) return false;
    }
    return split_remainder(lines, cents) == 0;
}

CategoryLines spread_to_part(CategoryLines parts, std::int64_t cents, std::size_t part) {
    if (part < parts.size() && parts[part].cents) *parts[part].cents += split_remainder(parts, cents);
    return parts;
}

}  // namespace quillet
