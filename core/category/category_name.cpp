#include "core/category/category_name.h"

#include <algorithm>

namespace quillet {

namespace {

std::string_view spaces_trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// Windows-1252's upper case letters to their lower case: ASCII, À..Þ (but ×), Š, Œ, Ž and Ÿ.
unsigned char lower_1252(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
        case 0x8A: return 0x9A;
        case 0x8C: return 0x9C;
        case 0x8E: return 0x9E;
        case 0x9F: return 0xFF;
        default: return c;
    }
}

}  // namespace

NameProblem name_problem(std::string_view typed) {
    const std::string_view name = spaces_trimmed(typed);
    if (name.empty()) return NameProblem::kEmpty;
    if (name.size() > kCategoryNameBytes) return NameProblem::kTooLong;
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos) return NameProblem::kNone;
    if (name.find(':', colon + 1) != std::string_view::npos) return NameProblem::kTooDeep;
    if (spaces_trimmed(name.substr(0, colon)).empty() || spaces_trimmed(name.substr(colon + 1)).empty())
        return NameProblem::kEmpty;
    return NameProblem::kNone;
}

std::optional<CategoryPath> parse_category(std::string_view typed) {
    if (name_problem(typed) != NameProblem::kNone) return std::nullopt;
    const std::string_view name = spaces_trimmed(typed);
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos) return CategoryPath{std::string(name), {}};
    return CategoryPath{std::string(spaces_trimmed(name.substr(0, colon))),
                        std::string(spaces_trimmed(name.substr(colon + 1)))};
}

std::string full_name(const CategoryPath& path) {
    return path.child.empty() ? path.parent : path.parent + ':' + path.child;
}

bool same_name(std::string_view one, std::string_view other) {
    return std::equal(one.begin(), one.end(), other.begin(), other.end(), [](char a, char b) {
        return lower_1252(static_cast<unsigned char>(a)) == lower_1252(static_cast<unsigned char>(b));
    });
}

}  // namespace quillet
