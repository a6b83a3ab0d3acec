#include "core/list/balance_book.h"

#include <algorithm>

#include "core/register/format.h"
#include "core/register/record.h"
#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"

namespace quillet {

RowFigures row_figures(std::string_view date_text, std::string_view deposit_text,
                       std::string_view withdrawal_text, std::string_view balance_text,
                       std::string_view void_mark) {
    RowFigures figures;
    const std::optional<std::int64_t> deposit = amount_text_to_cents(deposit_text);
    const std::optional<std::int64_t> withdrawal = amount_text_to_cents(withdrawal_text);
    figures.deposit_cents = deposit.value_or(0);
    figures.withdrawal_cents = withdrawal.value_or(0);
    figures.out_of_range = !deposit || !withdrawal;
    figures.is_void = balance_text == void_mark;
    const std::size_t first = date_text.find(kDateSeparator);
    figures.year = static_cast<std::int32_t>(text_to_integer(date_text.substr(0, first)));
    if (first != std::string_view::npos) {
        const std::string_view rest = date_text.substr(first + kDateSeparator.size());
        const std::int64_t month = text_to_integer(rest.substr(0, rest.find(kDateSeparator)));
        figures.month = month >= 1 && month <= 12 ? static_cast<std::int8_t>(month) : std::int8_t{0};
    }
    return figures;
}

void BalanceBook::clear() {
    rows_.clear();
    summary_ = {};
    tally_.reset();
}

BalanceBook::Row BalanceBook::packed(const RowFigures& figures) {
    Row row;
    row.deposit_cents = figures.deposit_cents;
    row.withdrawal_cents = figures.withdrawal_cents;
    row.year = figures.year;
    row.month = figures.month;
    row.flags = static_cast<std::uint8_t>((figures.is_void ? kVoidFlag : 0) |
                                          (figures.out_of_range ? kOutOfRangeFlag : 0));
    return row;
}

void BalanceBook::insert(std::int64_t position, const RowFigures& figures) {
    if (position < 0 || position > size()) position = size();
    rows_.insert(rows_.begin() + position, packed(figures));
}

void BalanceBook::replace(std::int64_t row, const RowFigures& figures) {
    tally_.reset();
    if (row >= 0 && row < size()) rows_[static_cast<std::size_t>(row)] = packed(figures);
}

void BalanceBook::insert(std::int64_t position, const std::vector<RowFigures>& figures) {
    tally_.reset();
    if (position < 0 || position > size()) position = size();
    std::vector<Row> packed_rows;
    packed_rows.reserve(figures.size());
    for (const RowFigures& each : figures) packed_rows.push_back(packed(each));
    rows_.insert(rows_.begin() + position, packed_rows.begin(), packed_rows.end());
}

void BalanceBook::remove(std::int64_t row, std::int64_t count) {
    tally_.reset();
    if (row < 0 || row >= size()) return;
    count = std::min(count, size() - row);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
}

const Figure& BalanceTally::add(std::int64_t deposit_cents, std::int64_t withdrawal_cents, bool out_of_range,
                                std::int32_t year, std::int32_t month) {
    ++rows_;
    summary_.balance = balance_.add(deposit_cents, withdrawal_cents, out_of_range);
    if (year == year_ && month == month_) {
        ++summary_.month_rows;
        summary_.month_deposits += Figure{deposit_cents, out_of_range};
        summary_.month_withdrawals += Figure{withdrawal_cents, out_of_range};
        // A million running balances of a thousand billion cents pass what 64 bits hold, while
        // their average does not.
        balance_sum_ += summary_.balance.cents;
        sum_out_of_range_ = sum_out_of_range_ || summary_.balance.out_of_range;
    }
    return summary_.balance;
}

BalanceSummary BalanceTally::summary() const {
    BalanceSummary summary = summary_;
    summary.rows = rows_;
    if (summary.month_rows > 0) {
        // Rounded half away from zero to the cent, without a step that could overflow.
        const std::int64_t rows = summary.month_rows;
        const auto quotient = static_cast<std::int64_t>(balance_sum_ / rows);
        const auto remainder = static_cast<std::int64_t>(balance_sum_ % rows);
        const std::int64_t away = remainder < 0 ? -1 : 1;
        summary.month_average.out_of_range = sum_out_of_range_;
        if (__builtin_add_overflow(quotient, 2 * (remainder * away) >= rows ? away : 0,
                                   &summary.month_average.cents)) {
            summary.month_average.out_of_range = true;
        }
    }
    return summary;
}

inline void BalanceBook::tally_row(BalanceTally& tally, Row& row) {
    if ((row.flags & kVoidFlag) != 0) {
        tally.count_row();
        return;
    }
    const Figure& running = tally.add(row.deposit_cents, row.withdrawal_cents,
                                      (row.flags & kOutOfRangeFlag) != 0, row.year, row.month);
    row.running_cents = running.cents;
    row.flags = static_cast<std::uint8_t>((row.flags & ~kRunningOutOfRangeFlag) |
                                          (running.out_of_range ? kRunningOutOfRangeFlag : 0));
}

void BalanceBook::recompute(int list_order, std::int32_t year, std::int32_t month) {
    BalanceTally tally(year, month);
    const std::int64_t count = size();
    for (std::int64_t step = 0; step < count; ++step)
        tally_row(tally, rows_[static_cast<std::size_t>(list_order == 1 ? count - 1 - step : step)]);
    summary_ = tally.summary();
    tally_ = tally;
}

void BalanceBook::recompute_after_insert(std::int64_t row, int list_order, std::int32_t year,
                                         std::int32_t month) {
    const bool last_in_order = list_order == 1 ? row == 0 : row == size() - 1;
    if (!last_in_order || !tally_ || tally_->rows() != size() - 1 || !tally_->counts_month(year, month)) {
        recompute(list_order, year, month);
        return;
    }
    tally_row(*tally_, rows_[static_cast<std::size_t>(row)]);
    summary_ = tally_->summary();
}

std::optional<Figure> BalanceBook::running(std::int64_t row) const {
    if (row < 0 || row >= size()) return std::nullopt;
    const Row& found = rows_[static_cast<std::size_t>(row)];
    if ((found.flags & kVoidFlag) != 0) return std::nullopt;
    return Figure{found.running_cents, (found.flags & kRunningOutOfRangeFlag) != 0};
}

RowFigures record_figures(const std::uint8_t* record, MonthsOfDates& months) {
    using namespace record_format;
    RowFigures figures;
    // As the row's texts show it: the amount to the cent in the deposit or the payment column.
    const std::optional<std::int64_t> cents = amount_cents(get_f32(record + kAmountOffset));
    (record[kKindOffset] == kDeposit ? figures.deposit_cents : figures.withdrawal_cents) = cents.value_or(0);
    figures.out_of_range = !cents;
    figures.is_void = record[kVoidOffset] == kVoid;
    std::int32_t month = 0;
    months.of(get_i32(record + kDateOffset), figures.year, month);
    figures.month = static_cast<std::int8_t>(month);
    return figures;
}

RowFigures record_figures(const std::uint8_t* record) {
    MonthsOfDates months;
    return record_figures(record, months);
}

}  // namespace quillet
