// Where the money goes: each month's deposits and payments by category, a parent's row holding its
// children's, what has no category on a line of its own, and a total row that is the register's own
// month sums to the cent (a split transaction counts in each of its parts' categories, the parts
// adding up to its amount).
#pragma once

#include <cstdint>
#include <vector>

#include "core/runtime/dates.h"

namespace quillet {

inline constexpr std::int64_t kUncategorised = 0;

// A part of a transaction: its category (kUncategorised for none) and its signed cents.
struct SpendingPart {
    std::int64_t category = kUncategorised;
    std::int64_t cents = 0;
};

// A live transaction as the figures count it (a void one counts nothing): its day and its parts,
// one for a transaction that is not split.
struct SpendingEntry {
    DateValue day = kNoDate;
    std::vector<SpendingPart> parts;
};

struct SpendingCategory {
    std::int64_t id = 0;
    std::int64_t parent = 0;  // 0 for one of the top level
};

struct SpendingRow {
    std::int64_t category = kUncategorised;
    int level = 0;                       // 0 for a parent or a category of the top level, 1 for a child
    std::vector<std::int64_t> deposits;  // a month each
    std::vector<std::int64_t> payments;  // a month each, positive
};

struct SpendingTable {
    std::vector<std::pair<std::int32_t, std::int32_t>> months;  // year and month, in order
    std::vector<SpendingRow> rows;  // the categories' order, each parent before its children;
                                    // uncategorised last (when anything is)
    SpendingRow total;
};

// The months from the first day's through the last day's, for the entries dated in them; the
// categories in the order they are to be listed.
SpendingTable spending_by_month(const std::vector<SpendingEntry>& entries,
                                const std::vector<SpendingCategory>& categories, DateValue first,
                                DateValue last);

}  // namespace quillet
