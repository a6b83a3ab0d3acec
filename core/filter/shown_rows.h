// The rows of the register list that the filter shows, and their sums. While the filter is off
// every row is shown and nothing is kept; while it is on, the list rows shown, in list order, in
// four bytes each. The list's rows keep their numbers (and their running balances in the whole
// register): the shown rows only pick among them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/filter/record_filter.h"
#include "core/list/register_list.h"
#include "core/list/running_balance.h"

namespace quillet {

// The list rows that meet the filter, in list order. The records are read from the register in as
// many pieces as the machine has cores, each on a core of its own, as find reads them; among, when
// given, names the only rows looked at (in list order: a narrower filter needs no others). A row
// whose record cannot be read is not shown.
std::vector<std::int32_t> rows_matching(const RegisterList& list, const RecordFilter& filter,
                                        const RecordFacts& facts,
                                        const std::vector<std::int32_t>* among = nullptr);

struct ShownSums {
    std::int64_t rows = 0;
    Figure deposits;
    Figure payments;
};

class ShownRows {
  public:
    bool on() const { return on_; }
    // The filter shows these list rows (in list order).
    void show(std::vector<std::int32_t> rows);
    // Every row is shown again.
    void clear();
    const std::vector<std::int32_t>& rows() const { return rows_; }

    // The rows shown out of the list's.
    std::int64_t count(std::int64_t list_rows) const {
        return on_ ? static_cast<std::int64_t>(rows_.size()) : list_rows;
    }
    // The list row a shown row is, and the shown row a list row is (-1: hidden, or none).
    std::int64_t list_row(std::int64_t shown_row) const;
    std::int64_t shown_row(std::int64_t list_row) const;
    // The shown row of the list row, else of the first shown row after it, else of the last one
    // before it (-1 when none is shown).
    std::int64_t nearest_shown_row(std::int64_t list_row) const;

    // What a change did to the list's rows; shown says whether the row meets the filter now.
    void inserted(std::int64_t list_row, bool shown);
    void removed(std::int64_t list_row);
    void replaced(std::int64_t list_row, bool shown);

    // The shown rows' count and amounts (void rows add no amount), from the list's figures.
    ShownSums sums(const BalanceBook& book) const;
    std::size_t memory_bytes() const { return rows_.capacity() * sizeof(std::int32_t); }

  private:
    bool on_ = false;
    std::vector<std::int32_t> rows_;
};

}  // namespace quillet
