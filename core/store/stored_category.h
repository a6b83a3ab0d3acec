// Categories as the companion store keeps them: each category with its parent, the category of a
// transaction (or of each part of a split one) named by the record's place as links and marks are,
// and the payee rules in their order (core/category works with them).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/register/record_fingerprint.h"

namespace quillet {

struct StoredCategory {
    std::int64_t id = 0;
    std::string name;         // Windows-1252, without the parent's
    std::int64_t parent = 0;  // 0 for one of the top level
    bool operator==(const StoredCategory&) const = default;
};

// A transaction's category: line 0 of an unsplit one (no cents), or each part of a split one with
// its cents, the parts adding up to the transaction's amount.
struct CategoryPart {
    RecordPlace record;
    std::int64_t line = 0;
    std::int64_t category = 0;
    std::optional<std::int64_t> cents;
    bool operator==(const CategoryPart&) const = default;
};

enum class RuleMatch { kEquals, kContains, kStartsWith };

struct CategoryRule {
    std::int64_t id = 0;
    RuleMatch match = RuleMatch::kEquals;
    std::string text;           // as the user typed it (Windows-1252)
    std::int64_t category = 0;  // the category's id
    bool learned = false;
    bool deleted = false;  // a learned rule the user deleted
    bool operator==(const CategoryRule&) const = default;
};

}  // namespace quillet
