#include "core/session/category_book.h"

#include <algorithm>

namespace quillet {

void CategoryBook::clear() {
    lists_ = {};
    codes_.clear();
    codes_.shrink_to_fit();
    splits_.clear();
}

const StoredCategory* CategoryBook::category(std::int64_t id) const {
    const auto found =
        std::lower_bound(lists_.categories.begin(), lists_.categories.end(), id,
                         [](const StoredCategory& each, std::int64_t wanted) { return each.id < wanted; });
    return found != lists_.categories.end() && found->id == id ? &*found : nullptr;
}

CategoryLines CategoryBook::lines_of(std::int64_t slot) const {
    const std::int32_t code = code_of(slot);
    if (code == 0) return {};
    if (code > 0) return {{code, std::nullopt}};
    const auto found = splits_.find(slot);
    return found != splits_.end() ? found->second : CategoryLines{};
}

void CategoryBook::set_lines(std::int64_t slot, const CategoryLines& lines) {
    if (slot < 0) return;
    const auto at = static_cast<std::size_t>(slot);
    if (lines.empty() && at >= codes_.size()) return;
    if (at >= codes_.size()) codes_.resize(at + 1, 0);
    splits_.erase(slot);
    if (lines.empty()) {
        codes_[at] = 0;
    } else if (lines.size() == 1 && !lines.front().cents) {
        codes_[at] = static_cast<std::int32_t>(lines.front().category);
    } else {
        codes_[at] = kSplit;
        splits_[slot] = lines;
    }
}

void CategoryBook::forget_from(std::int64_t slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= codes_.size()) return;
    for (std::size_t at = static_cast<std::size_t>(slot); at < codes_.size(); ++at) {
        if (codes_[at] == kSplit) splits_.erase(static_cast<std::int64_t>(at));
    }
    codes_.resize(static_cast<std::size_t>(slot));
}

std::size_t CategoryBook::memory_bytes() const {
    return codes_.capacity() * sizeof(std::int32_t) + splits_.size() * (sizeof(CategoryLines) + 64);
}

}  // namespace quillet
