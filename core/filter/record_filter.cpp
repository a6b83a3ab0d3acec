#include "core/filter/record_filter.h"

#include <algorithm>
#include <cstring>

#include "core/category/category_edits.h"
#include "core/list/row_text.h"
#include "core/register/format.h"
#include "core/runtime/byte_loops.h"
#include "core/runtime/number_text.h"

namespace quillet {

using namespace record_format;

RecordFilter::RecordFilter(const FilterTerms& terms, const FilterDays& days, const CategoryLists* lists)
    : terms_(terms), days_(days), folded_(case_folded(terms.text)) {
    if (!folded_.empty()) {
        const std::array<char, 256>& shown = folded_shown_bytes();
        std::vector<std::uint8_t> stored;
        for (int byte = 1; byte < 256; ++byte) {
            if (shown[static_cast<std::size_t>(byte)] == folded_[0])
                stored.push_back(static_cast<std::uint8_t>(byte));
        }
        quick_look_ = !stored.empty() && stored.size() <= first_stored_.size();
        for (std::size_t at = 0; at < stored.size() && at < first_stored_.size(); ++at)
            first_stored_[at] = stored[at];
        if (stored.size() == 1) first_stored_[1] = stored[0];
    }
    if (terms.category != 0) {
        categories_ = lists != nullptr ? category_with_children(*lists, terms.category)
                                       : std::vector<std::int64_t>{terms.category};
        std::sort(categories_.begin(), categories_.end());
    }
}

namespace {

// Whether either byte stands anywhere in the four texts, side by side in the record: a plain loop
// the compiler turns into a few vector compares, so that most records are passed over at once.
bool holds_either(const std::uint8_t* texts, std::uint8_t one, std::uint8_t other) {
    constexpr std::size_t kTexts = 4 * kTextWidth;
    std::uint8_t found = 0;
    for (std::size_t at = 0; at < kTexts; ++at)
        found |= static_cast<std::uint8_t>((texts[at] == one) | (texts[at] == other));
    return found != 0;
}

}  // namespace

// The folded text in one of the four texts, compared byte by byte through the shown table: no
// text is made, so that a million records are searched in a few milliseconds a core.
QUILLET_BYTE_BY_BYTE bool RecordFilter::text_in(const std::uint8_t* record) const {
    static_assert(kNumberOffset == kTypeOffset + kTextWidth && kPayeeOffset == kNumberOffset + kTextWidth &&
                  kDescriptionOffset == kPayeeOffset + kTextWidth);
    const std::array<char, 256>& shown = folded_shown_bytes();
    const std::size_t wanted = folded_.size();
    const char first = folded_[0];
    for (const std::size_t offset : {kPayeeOffset, kDescriptionOffset, kNumberOffset, kTypeOffset}) {
        const std::uint8_t* field = record + offset;
        const auto* zero = static_cast<const std::uint8_t*>(std::memchr(field, 0, kTextWidth));
        const std::size_t length = zero != nullptr ? static_cast<std::size_t>(zero - field) : kTextWidth;
        if (length < wanted) continue;
        for (std::size_t at = 0; at + wanted <= length; ++at) {
            if (shown[field[at]] != first) continue;
            std::size_t same = 1;
            while (same < wanted && shown[field[at + same]] == folded_[same]) ++same;
            if (same == wanted) return true;
        }
    }
    return false;
}

bool RecordFilter::category_in(std::int64_t slot, const CategoryBook& book) const {
    const auto listed = [this](std::int64_t id) {
        return std::binary_search(categories_.begin(), categories_.end(), id);
    };
    if (!book.is_split(slot)) return listed(book.category_of(slot));
    const CategoryLines lines = book.lines_of(slot);
    return std::any_of(lines.begin(), lines.end(),
                       [&](const CategoryLine& line) { return listed(line.category); });
}

bool RecordFilter::matches(const std::uint8_t* record, std::int64_t slot, const RecordFacts& facts) const {
    const bool deposit = record[kKindOffset] == kDeposit;
    if ((terms_.kind == FilterKind::kDeposits && !deposit) ||
        (terms_.kind == FilterKind::kPayments && deposit))
        return false;
    if (days_.from != kNoDate || days_.to != kNoDate) {
        const DateValue day = day_of_value(get_i32(record + kDateOffset));
        if ((days_.from != kNoDate && day < days_.from) || (days_.to != kNoDate && day > days_.to))
            return false;
    }
    if (terms_.least_cents || terms_.most_cents) {
        // An amount out of range is larger than any bound.
        const std::optional<std::int64_t> cents = amount_cents(get_f32(record + kAmountOffset));
        if (terms_.most_cents && (!cents || *cents > *terms_.most_cents)) return false;
        if (terms_.least_cents && cents && *cents < *terms_.least_cents) return false;
    }
    if (terms_.state != FilterState::kAll) {
        const ClearState state = facts.state_of ? facts.state_of(slot) : ClearState::kUncleared;
        const ClearState wanted = terms_.state == FilterState::kNotCleared ? ClearState::kUncleared
                                  : terms_.state == FilterState::kCleared  ? ClearState::kCleared
                                                                           : ClearState::kReconciled;
        if (state != wanted) return false;
    }
    if (terms_.category != 0 && (facts.categories == nullptr || !category_in(slot, *facts.categories)))
        return false;
    if (folded_.empty()) return true;
    // Here, not in text_in: this loop is to be vectorized, text_in's byte loop is not.
    if (quick_look_ && !holds_either(record + kTypeOffset, first_stored_[0], first_stored_[1])) return false;
    return text_in(record);
}

}  // namespace quillet
