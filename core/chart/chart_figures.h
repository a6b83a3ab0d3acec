// The figures of the balance chart: the balance at the end of each day that has transactions, and
// each month's deposits and withdrawals, in exact cents, over a range of days; and the line reduced
// to what a chart's pixel columns can show. A void transaction counts nothing and a deleted one is
// not there, as in the list's balance; the balance and the sums are summed as the list's are
// (running_balance.h), so that a balance out of range in the list is out of range here too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/list/running_balance.h"
#include "core/runtime/dates.h"
#include "core/runtime/io_status.h"

namespace quillet {

// One transaction as the chart counts it.
struct ChartEntry {
    std::int32_t day = 0;       // days since 1970-01-01
    std::int64_t cents = 0;     // a deposit positive, a withdrawal negative; 0 for a void one
    bool out_of_range = false;  // an amount the register cannot hold to the cent
};

// The register's live transactions (deleted ones left out, void ones as 0).
IoStatus read_chart_entries(const std::string& register_path, std::vector<ChartEntry>& entries);

enum class ChartRange { kAll, kLastTwelveMonths, kThisYear };

struct DayBalance {
    std::int32_t day = 0;
    std::int64_t cents = 0;  // the balance at the end of the day, every earlier transaction counted
};

struct MonthSums {
    std::int32_t year = 0;
    std::int32_t month = 0;  // 1..12
    Figure deposits;
    Figure withdrawals;  // as a positive sum
};

struct ChartFigures {
    // In day order: each day with transactions, and the day before one that follows days without
    // any, so that a line through the points stays flat where nothing happened. The line ends
    // before a day whose balance is out of range, and then says so.
    std::vector<DayBalance> balance;
    bool balance_out_of_range = false;
    std::vector<MonthSums> months;  // in order, every month of the range that has transactions
};

// The figures of the range; today decides what the last twelve months and this year are.
ChartFigures chart_figures(const std::vector<ChartEntry>& entries, ChartRange range, DateValue today);

// The line reduced to at most two points a column when the days are spread over columns: each
// column's lowest and highest balance, in day order, so the line drawn through them covers every
// balance the full line reaches. Fewer points than twice the columns come back as they are.
std::vector<DayBalance> reduce_to_columns(const std::vector<DayBalance>& line, int columns);

}  // namespace quillet
