// The balance chart's figures: the balance at each day's end and the month sums in exact cents from
// a register (void counting nothing, deleted not there), a range that starts from the true balance,
// the reduction that keeps every pixel column's lowest and highest balance, and the date axis's
// labels on calendar starts.
#include <gtest/gtest.h>

#include <random>

#include "core/chart/chart_figures.h"
#include "core/chart/date_ticks.h"
#include "core/register/record.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

std::int32_t day(std::int32_t year, std::int32_t month, std::int32_t day_of_month) {
    return make_date(year, month, day_of_month) / 86400;
}

TEST(ChartFigures, DailyBalanceAndMonthSumsInExactCents) {
    std::string bytes;
    const auto add = [&](DateValue date, float amount, std::uint8_t kind, std::uint8_t void_flag = 0,
                         std::uint8_t deleted = 0) {
        TransactionRecord record;
        record.date = date;
        record.amount = amount;
        record.kind = kind;
        record.void_flag = void_flag;
        record.deleted = deleted;
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    };
    add(make_date(2025, 11, 30, 18), 1000000.0f, record_format::kDeposit);  // a float sum would be cents off
    add(make_date(2025, 12, 1), 0.07f, record_format::kWithdrawal);
    add(make_date(2025, 12, 1, 23), 0.10f, record_format::kWithdrawal);
    add(make_date(2025, 12, 2), 500.0f, record_format::kDeposit, 1);     // void
    add(make_date(2025, 12, 3), 999.0f, record_format::kDeposit, 0, 1);  // deleted
    add(make_date(2026, 2, 14), 12.35f, record_format::kWithdrawal);
    testing::TempFolder folder;
    std::vector<ChartEntry> entries;
    ASSERT_TRUE(read_chart_entries(folder.write("Chart.qlt", bytes), entries));
    ASSERT_EQ(entries.size(), 5u);

    const ChartFigures all = chart_figures(entries, ChartRange::kAll, make_date(2026, 12, 9));
    ASSERT_EQ(all.balance.size(), 5u);
    EXPECT_EQ(all.balance[0].day, day(2025, 11, 30));
    EXPECT_EQ(all.balance[1].cents, 100000000 - 17);
    EXPECT_EQ(all.balance[2].cents, 100000000 - 17);  // the void deposit's day: nothing moved
    EXPECT_EQ(all.balance[3].day, day(2026, 2, 13));  // flat until the next transaction
    EXPECT_EQ(all.balance[3].cents, 100000000 - 17);
    EXPECT_EQ(all.balance[4].cents, 100000000 - 17 - 1235);
    ASSERT_EQ(all.months.size(), 3u);
    EXPECT_EQ(all.months[1].month, 12);
    EXPECT_EQ(all.months[1].deposits, Figure{});
    EXPECT_EQ(all.months[1].withdrawals, (Figure{17, false}));
    EXPECT_EQ(all.months[2].year, 2026);

    // This year: only February, from the balance the earlier transactions left.
    const ChartFigures year = chart_figures(entries, ChartRange::kThisYear, make_date(2026, 12, 9));
    ASSERT_EQ(year.balance.size(), 1u);
    EXPECT_EQ(year.balance[0].cents, 100000000 - 17 - 1235);
    EXPECT_EQ(chart_figures(entries, ChartRange::kLastTwelveMonths, make_date(2026, 11, 30)).months.size(),
              2u);

    // Summed as the list sums: two deposits past what 64-bit cents hold end the line out of range,
    // as the list's balance is, and their month's sum with it.
    add(make_date(2026, 3, 1), 5e16f, record_format::kDeposit);
    add(make_date(2026, 3, 2), 5e16f, record_format::kDeposit);
    ASSERT_TRUE(read_chart_entries(folder.write("Chart.qlt", bytes), entries));
    const ChartFigures passed = chart_figures(entries, ChartRange::kAll, make_date(2026, 12, 9));
    EXPECT_TRUE(passed.balance_out_of_range);
    EXPECT_EQ(passed.balance.back().day, day(2026, 3, 1)) << "the line ends before the day it passed";
    EXPECT_TRUE(passed.months.back().deposits.out_of_range);
}

TEST(ChartFigures, TheReducedLineKeepsEachColumnsLowestAndHighestBalance) {
    std::mt19937 random(20261209);
    std::vector<DayBalance> line;
    std::int64_t cents = 0;
    for (std::int32_t d = 0; d < 20000; ++d) {
        cents += static_cast<std::int64_t>(random() % 20001) - 10000;
        line.push_back({d, cents});
    }
    constexpr int kColumns = 300;
    const std::vector<DayBalance> reduced = reduce_to_columns(line, kColumns);
    ASSERT_LE(reduced.size(), 2u * kColumns);
    for (int column = 0; column < kColumns; ++column) {
        const double start = 20000.0 * column / kColumns;
        const double end = 20000.0 * (column + 1) / kColumns;
        std::int64_t low = INT64_MAX, high = INT64_MIN, kept_low = INT64_MAX, kept_high = INT64_MIN;
        for (const DayBalance& point : line) {
            if (point.day >= start && point.day < end)
                low = std::min(low, point.cents), high = std::max(high, point.cents);
        }
        for (const DayBalance& point : reduced) {
            if (point.day >= start && point.day < end)
                kept_low = std::min(kept_low, point.cents), kept_high = std::max(kept_high, point.cents);
        }
        ASSERT_EQ(kept_low, low) << "column " << column;
        ASSERT_EQ(kept_high, high) << "column " << column;
    }
    EXPECT_TRUE(std::is_sorted(reduced.begin(), reduced.end(),
                               [](const DayBalance& a, const DayBalance& b) { return a.day < b.day; }));
}

// Each label stands where its day, month or year begins, as many as fit: never "2025/03" at 26
// March, nor five "2026/11" over ten days.
TEST(DateTicks, LabelsStandOnDayMonthOrYearStarts) {
    struct Case {
        const char* range;
        std::int32_t first, last;
        std::vector<DateTick> wanted;
    };
    const Case cases[] = {
        {"ten days, every other day",
         day(2026, 11, 3),
         day(2026, 11, 12),
         {{day(2026, 11, 3), "2026/11/03"},
          {day(2026, 11, 5), "2026/11/05"},
          {day(2026, 11, 7), "2026/11/07"},
          {day(2026, 11, 9), "2026/11/09"},
          {day(2026, 11, 11), "2026/11/11"},
          {day(2026, 11, 13), "2026/11/13"}}},
        {"one day, its start and end",
         day(2026, 2, 28),
         day(2026, 2, 28),
         {{day(2026, 2, 28), "2026/02/28"}, {day(2026, 3, 1), "2026/03/01"}}},
        {"a year, every other month start",
         day(2025, 1, 10),
         day(2025, 12, 20),
         {{day(2025, 3, 1), "2025/03"},
          {day(2025, 5, 1), "2025/05"},
          {day(2025, 7, 1), "2025/07"},
          {day(2025, 9, 1), "2025/09"},
          {day(2025, 11, 1), "2025/11"}}},
        {"three months, each month start",
         day(2024, 12, 15),
         day(2025, 3, 14),
         {{day(2025, 1, 1), "2025/01"}, {day(2025, 2, 1), "2025/02"}, {day(2025, 3, 1), "2025/03"}}},
        {"36 years, each decade",
         day(1990, 6, 1),
         day(2026, 12, 9),
         {{day(2000, 1, 1), "2000"}, {day(2010, 1, 1), "2010"}, {day(2020, 1, 1), "2020"}}},
    };
    for (const Case& each : cases) {
        const std::vector<DateTick> ticks = date_ticks(each.first, each.last, 7);
        ASSERT_EQ(ticks.size(), each.wanted.size()) << each.range;
        for (std::size_t at = 0; at < ticks.size(); ++at) {
            EXPECT_EQ(ticks[at].day, each.wanted[at].day) << each.range << ": " << ticks[at].label;
            EXPECT_EQ(ticks[at].label, each.wanted[at].label) << each.range;
        }
    }
    EXPECT_TRUE(date_ticks(day(2026, 1, 2), day(2026, 1, 1), 7).empty());
}

}  // namespace
}  // namespace quillet
