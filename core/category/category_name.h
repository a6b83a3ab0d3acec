// A category's name as the user types it: "Car", or "Car:Fuel" for a child of a parent (two levels
// at most). Names are compared without regard to letter case ("car:fuel" is "Car:Fuel"). Texts are
// Windows-1252 bytes, as the register's are.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr std::size_t kCategoryNameBytes = 48;

enum class NameProblem {
    kNone,
    kEmpty,    // nothing but spaces (or an empty part: "Car:" or ":Fuel")
    kTooLong,  // more than 48 bytes
    kTooDeep,  // more than one ':'
};

struct CategoryPath {
    std::string parent;  // "Car"
    std::string child;   // "Fuel"; empty for a category of the top level
    bool operator==(const CategoryPath&) const = default;
};

// Why the typed name cannot be a category's, or kNone. Spaces around each part do not count.
NameProblem name_problem(std::string_view typed);
// The typed name's parts, spaces around each trimmed; none when it has a problem.
std::optional<CategoryPath> parse_category(std::string_view typed);
// The full name: "Car:Fuel", or "Car".
std::string full_name(const CategoryPath& path);
// Whether two names are one, letter case aside (Windows-1252's accented letters included).
bool same_name(std::string_view one, std::string_view other);

}  // namespace quillet
