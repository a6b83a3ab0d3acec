// The running balance and this month's figures of the register list, worked out from what the
// rows show. Each row's figures are read once from its texts (the amounts as displayed, its void
// mark, the year and month of its date text) and kept here in row order; a recompute is then one
// pass over these figures. Amounts are whole cents, so the balance is exact at any size.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/list/running_balance.h"
#include "core/runtime/dates.h"
#include "core/runtime/page_warming.h"

namespace quillet {

struct RowFigures {
    std::int64_t deposit_cents = 0;
    std::int64_t withdrawal_cents = 0;
    bool out_of_range = false;  // an amount too large for 64-bit cents (or not a number)
    std::int32_t year = 0;      // from the date text's first piece
    std::int8_t month = 0;      // from its second piece
    bool is_void = false;
    bool operator==(const RowFigures&) const = default;
};

// The figures that a row's date, deposit, withdrawal and balance texts determine.
RowFigures row_figures(std::string_view date_text, std::string_view deposit_text,
                       std::string_view withdrawal_text, std::string_view balance_text,
                       std::string_view void_mark);

// The same figures, read from the record's bytes without making its row's texts (a million-row
// fill makes none): what the row shows, the list's figures stay exact.
RowFigures record_figures(const std::uint8_t* record);
// The same, the date's month found through the months remembered (a fill's million records).
RowFigures record_figures(const std::uint8_t* record, MonthsOfDates& months);

struct BalanceSummary {
    std::int64_t rows = 0;  // void rows included
    Figure balance;
    std::int64_t month_rows = 0;
    Figure month_deposits;
    Figure month_withdrawals;
    Figure month_average;  // rounded to the cent, 0 without month rows
};

// The balance and this month's figures worked out row by row, in list order: the book's recompute,
// and the command-line tool's balance straight from the file.
class BalanceTally {
  public:
    BalanceTally(std::int32_t year, std::int32_t month) : year_(year), month_(month) {}
    bool counts_month(std::int32_t year, std::int32_t month) const {
        return year == year_ && month == month_;
    }
    std::int64_t rows() const { return rows_; }
    // Adds a row that is not void (a void row counts for nothing but the rows); gives the running
    // balance after it.
    const Figure& add(std::int64_t deposit_cents, std::int64_t withdrawal_cents, bool out_of_range,
                      std::int32_t year, std::int32_t month);
    void count_row() { ++rows_; }
    // The figures so far, this month's average rounded half away from zero to the cent.
    BalanceSummary summary() const;

  private:
    std::int32_t year_;
    std::int32_t month_;
    std::int64_t rows_ = 0;
    BalanceSummary summary_;
    RunningBalance balance_;
    WideCents balance_sum_ = 0;
    bool sum_out_of_range_ = false;
};

class BalanceBook {
  public:
    void clear();
    void reserve(std::size_t rows) { rows_.reserve(rows); }
    // position < 0 or past the end appends.
    void insert(std::int64_t position, const RowFigures& figures);
    // Many rows at once, in their order.
    void insert(std::int64_t position, const std::vector<RowFigures>& figures);
    void replace(std::int64_t row, const RowFigures& figures);
    void remove(std::int64_t row, std::int64_t count = 1);
    std::int64_t size() const { return static_cast<std::int64_t>(rows_.size()); }

    // Works out every row's running balance, visiting the rows from the top in list order 0 and
    // from the bottom in list order 1, and this month's figures for the year and month.
    void recompute(int list_order, std::int32_t year, std::int32_t month);
    // The same after a row was inserted: one at the end of the running order (the list's end in
    // file order, its top newest first: where a new transaction goes) is worked out from the
    // balance before it, without a pass over every row.
    void recompute_after_insert(std::int64_t row, int list_order, std::int32_t year, std::int32_t month);
    // The running balance after the row; none for a void row or a row past the end.
    std::optional<Figure> running(std::int64_t row) const;
    const BalanceSummary& summary() const { return summary_; }
    // The sum of the taken rows' amounts (void rows count nothing).
    template <typename Taken>
    Figure sum_of(Taken taken) const {
        Figure sum;
        for (std::size_t row = 0; row < rows_.size(); ++row) {
            const Row& each = rows_[row];
            if ((each.flags & kVoidFlag) != 0 || !taken(static_cast<std::int64_t>(row))) continue;
            if ((each.flags & kOutOfRangeFlag) != 0) return Figure{0, true};
            sum += Figure{each.deposit_cents - each.withdrawal_cents, false};
        }
        return sum;
    }
    // Adds the row's deposit and withdrawal to the sums; a void row adds nothing, an amount out of
    // range makes both sums so.
    void add_amounts(std::int64_t row, Figure& deposits, Figure& withdrawals) const {
        const Row& each = rows_[static_cast<std::size_t>(row)];
        if ((each.flags & kVoidFlag) != 0) return;
        const bool out_of_range = (each.flags & kOutOfRangeFlag) != 0;
        deposits += Figure{each.deposit_cents, out_of_range};
        withdrawals += Figure{each.withdrawal_cents, out_of_range};
    }
    std::size_t memory_bytes() const { return rows_.capacity() * sizeof(Row); }
    MemoryRange reserved_memory() const { return reserved_range(rows_); }

  private:
    // A row's figures and running balance in 32 bytes: a million rows are kept beside the list.
    struct Row {
        std::int64_t deposit_cents = 0;
        std::int64_t withdrawal_cents = 0;
        std::int64_t running_cents = 0;
        std::int32_t year = 0;
        std::int8_t month = 0;
        std::uint8_t flags = 0;  // the k...Flag bits below
    };
    static constexpr std::uint8_t kVoidFlag = 1;
    static constexpr std::uint8_t kOutOfRangeFlag = 2;         // an amount out of range
    static constexpr std::uint8_t kRunningOutOfRangeFlag = 4;  // the running balance out of range
    static Row packed(const RowFigures& figures);
    void tally_row(BalanceTally& tally, Row& row);
    std::vector<Row> rows_;
    BalanceSummary summary_;
    std::optional<BalanceTally> tally_;  // the last pass's, to go on from; gone once a row changes
};

}  // namespace quillet
