#include "core/chart/chart_figures.h"

#include <algorithm>
#include <limits>

#include "core/list/balance_book.h"
#include "core/register/record.h"
#include "core/register/register_file.h"

namespace quillet {

using namespace record_format;

namespace {

std::int32_t day_of_date(DateValue date) { return date / kSecondsADay; }

std::int32_t first_day_of(std::int32_t year, std::int32_t month) {
    return day_of_date(make_date(year, month, 1));
}

}  // namespace

IoStatus read_chart_entries(const std::string& register_path, std::vector<ChartEntry>& entries) {
    entries.clear();
    entries.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, count_records(register_path))));
    return visit_records(register_path, [&](std::int64_t, const std::uint8_t* record) {
        if (record[kDeletedOffset] != kLive) return true;
        const DateValue date = get_i32(record + kDateOffset);
        const RowFigures figures = record_figures(record);
        if (date < 0) return true;
        entries.push_back({day_of_date(date),
                           figures.is_void ? 0 : figures.deposit_cents - figures.withdrawal_cents,
                           !figures.is_void && figures.out_of_range});
        return true;
    });
}

ChartFigures chart_figures(const std::vector<ChartEntry>& entries, ChartRange range, DateValue today) {
    ChartFigures figures;
    if (entries.empty()) return figures;
    // Days run from 1970 to 2038: one slot a day, no sorting.
    std::int32_t low = std::numeric_limits<std::int32_t>::max();
    std::int32_t high = std::numeric_limits<std::int32_t>::min();
    for (const ChartEntry& entry : entries) {
        low = std::min(low, entry.day);
        high = std::max(high, entry.day);
    }
    const auto days = static_cast<std::size_t>(high - low + 1);
    std::vector<Figure> in(days);
    std::vector<Figure> out(days);
    std::vector<std::uint8_t> active(days, 0);
    for (const ChartEntry& entry : entries) {
        const auto at = static_cast<std::size_t>(entry.day - low);
        // A withdrawal as a positive sum: -INT64_MIN is never read from a record.
        (entry.cents >= 0 ? in[at] : out[at]) +=
            Figure{entry.cents >= 0 ? entry.cents : -entry.cents, entry.out_of_range};
        active[at] = 1;
    }
    std::int32_t first = low;
    const std::int32_t year = year_of(today);
    const std::int32_t month = month_of(today);
    if (range == ChartRange::kThisYear) first = first_day_of(year, 1);
    if (range == ChartRange::kLastTwelveMonths)
        first = first_day_of(month == 12 ? year : year - 1, month % 12 + 1);
    RunningBalance balance;
    for (std::size_t at = 0; at < days; ++at) {
        balance.add(in[at].cents, out[at].cents, in[at].out_of_range || out[at].out_of_range);
        const std::int32_t day = low + static_cast<std::int32_t>(at);
        if (!active[at] || day < first) continue;
        // Between two days with transactions the balance stays as it was: a point on the day
        // before keeps the line flat over the days without any.
        if (!figures.balance_out_of_range && !figures.balance.empty() && figures.balance.back().day < day - 1)
            figures.balance.push_back({day - 1, figures.balance.back().cents});
        figures.balance_out_of_range = balance.figure().out_of_range;
        if (!figures.balance_out_of_range) figures.balance.push_back({day, balance.figure().cents});
        const DateValue date = static_cast<DateValue>(day) * kSecondsADay;
        const std::int32_t entry_year = year_of(date);
        const std::int32_t entry_month = month_of(date);
        if (figures.months.empty() || figures.months.back().year != entry_year ||
            figures.months.back().month != entry_month)
            figures.months.push_back({entry_year, entry_month, {}, {}});
        figures.months.back().deposits += in[at];
        figures.months.back().withdrawals += out[at];
    }
    return figures;
}

std::vector<DayBalance> reduce_to_columns(const std::vector<DayBalance>& line, int columns) {
    if (columns < 1 || line.size() <= static_cast<std::size_t>(columns) * 2) return line;
    const double first = line.front().day;
    const double span = std::max(1.0, static_cast<double>(line.back().day) - first + 1);
    std::vector<DayBalance> reduced;
    reduced.reserve(static_cast<std::size_t>(columns) * 2);
    std::size_t at = 0;
    for (int column = 0; column < columns && at < line.size(); ++column) {
        const double end = first + span * (column + 1) / columns;
        std::size_t lowest = at;
        std::size_t highest = at;
        std::size_t next = at;
        for (; next < line.size() && (line[next].day < end || column == columns - 1); ++next) {
            if (line[next].cents < line[lowest].cents) lowest = next;
            if (line[next].cents > line[highest].cents) highest = next;
        }
        if (next == at) continue;  // a column without days
        reduced.push_back(line[std::min(lowest, highest)]);
        if (lowest != highest) reduced.push_back(line[std::max(lowest, highest)]);
        at = next;
    }
    return reduced;
}

}  // namespace quillet
