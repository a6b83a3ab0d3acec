// What the session knows of categories once the companion store is read: the categories, the payee
// rules in their order, and each record's category lines by slot (a slot each only once any record
// has a category, as the marks are kept).
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/store/stored_category.h"

namespace quillet {

// A line of a record's category: the category alone (no cents), or a part of a split with its
// signed cents.
struct CategoryLine {
    std::int64_t category = 0;
    std::optional<std::int64_t> cents;
    bool operator==(const CategoryLine&) const = default;
};
// None for a record without a category, one line without cents, or a split's parts.
using CategoryLines = std::vector<CategoryLine>;

struct CategoryLists {
    std::vector<StoredCategory> categories;  // by id
    std::vector<CategoryRule> rules;         // in their order
    bool operator==(const CategoryLists&) const = default;
};

class CategoryBook {
  public:
    void clear();
    const CategoryLists& lists() const { return lists_; }
    void set_lists(CategoryLists lists) { lists_ = std::move(lists); }
    const StoredCategory* category(std::int64_t id) const;

    CategoryLines lines_of(std::int64_t slot) const;
    bool categorised(std::int64_t slot) const { return code_of(slot) != 0; }
    bool is_split(std::int64_t slot) const { return code_of(slot) == kSplit; }
    // The category of an unsplit record, else 0.
    std::int64_t category_of(std::int64_t slot) const {
        const std::int32_t code = code_of(slot);
        return code > 0 ? code : 0;
    }
    void set_lines(std::int64_t slot, const CategoryLines& lines);
    // A record's one category (the common case, without making lines), when it had none.
    void set_category(std::int64_t slot, std::int64_t category) {
        const auto at = static_cast<std::size_t>(slot);
        if (at >= codes_.size()) codes_.resize(at + 1, 0);
        codes_[at] = static_cast<std::int32_t>(category);
    }
    // Room for the slots' codes, made once.
    void reserve(std::int64_t slots) { codes_.reserve(static_cast<std::size_t>(slots)); }
    // Slots from this one on are gone (appended records cut again).
    void forget_from(std::int64_t slot);
    bool any_categorised() const { return !codes_.empty(); }
    std::size_t memory_bytes() const;

  private:
    static constexpr std::int32_t kSplit = -1;
    std::int32_t code_of(std::int64_t slot) const {
        return slot >= 0 && static_cast<std::size_t>(slot) < codes_.size()
                   ? codes_[static_cast<std::size_t>(slot)]
                   : 0;
    }
    CategoryLists lists_;
    // A slot's category id, kSplit for a split one (its parts below), 0 for none.
    std::vector<std::int32_t> codes_;
    std::unordered_map<std::int64_t, CategoryLines> splits_;
};

}  // namespace quillet
