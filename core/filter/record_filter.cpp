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
    : terms_(terms), days_(days) {
    for (const char c : terms.text)
        folded_ += static_cast<char>(folded_letter(static_cast<unsigned char>(c)));
    if (terms.category != 0) {
        categories_ = lists != nullptr ? category_with_children(*lists, terms.category)
                                       : std::vector<std::int64_t>{terms.category};
        std::sort(categories_.begin(), categories_.end());
    }
}

// The folded text in one of the four texts, compared byte by byte through the shown table: no
// text is made, so that a million records are searched in a few milliseconds a core.
QUILLET_BYTE_BY_BYTE bool RecordFilter::text_in(const std::uint8_t* record) const {
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
    return folded_.empty() || text_in(record);
}

}  // namespace quillet
