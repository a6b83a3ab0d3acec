// The one matching of a record against the filter's terms, for the desktop's list and quillet-cli
// alike: the text in the payee, memo, number and type whatever its letters' case (as find folds
// them), the day, the amount, the kind, the state against the bank and the category (a parent
// takes its children in).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/filter/filter_terms.h"
#include "core/register/record_states.h"
#include "core/session/category_book.h"

namespace quillet {

// What the companion store knows of a record beside its bytes: its state and its category. Either
// may be missing (no store, or not read yet): the state is then "not cleared", the category none.
struct RecordFacts {
    std::function<ClearState(std::int64_t slot)> state_of;
    const CategoryBook* categories = nullptr;
};

class RecordFilter {
  public:
    // The terms with their period worked out for the day; a category's children are found in the
    // lists.
    RecordFilter(const FilterTerms& terms, const FilterDays& days, const CategoryLists* lists);

    // True when the record at the slot meets every term.
    bool matches(const std::uint8_t* record, std::int64_t slot, const RecordFacts& facts) const;
    // True when no record can match: the period ends before it starts.
    bool matches_nothing() const {
        return days_.to != kNoDate && days_.from != kNoDate && days_.to < days_.from;
    }
    // True when the terms need the store's facts (state or category).
    bool needs_facts() const { return terms_.state != FilterState::kAll || terms_.category != 0; }

  private:
    bool text_in(const std::uint8_t* record) const;
    bool category_in(std::int64_t slot, const CategoryBook& book) const;
    FilterTerms terms_;
    FilterDays days_;
    std::string folded_;  // the text, folded as find folds it
    // The stored bytes that show as the text's first character (a letter's two cases), looked for
    // in all four texts at once before any is searched; none when more bytes show as it.
    std::array<std::uint8_t, 2> first_stored_{};
    bool quick_look_ = false;
    std::vector<std::int64_t> categories_;  // the category and its children, sorted
};

}  // namespace quillet
