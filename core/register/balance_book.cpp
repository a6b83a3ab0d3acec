#include "core/register/balance_book.h"

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

Figure& Figure::operator+=(const Figure& more) {
    out_of_range = out_of_range || more.out_of_range || __builtin_add_overflow(cents, more.cents, &cents);
    return *this;
}

void BalanceBook::clear() {
    rows_.clear();
    summary_ = {};
}

void BalanceBook::insert(std::int64_t position, const RowFigures& figures) {
    if (position < 0 || position > size()) position = size();
    rows_.insert(rows_.begin() + position, Row{figures, Figure{}});
}

void BalanceBook::replace(std::int64_t row, const RowFigures& figures) {
    if (row >= 0 && row < size()) rows_[static_cast<std::size_t>(row)].figures = figures;
}

void BalanceBook::remove(std::int64_t row) {
    if (row >= 0 && row < size()) rows_.erase(rows_.begin() + row);
}

// The sum behind the month's average: a million running balances of a thousand billion cents pass
// what 64 bits hold, while their average does not.
__extension__ using WideCents = __int128;

void BalanceBook::recompute(int list_order, std::int32_t year, std::int32_t month) {
    BalanceSummary summary;
    summary.rows = size();
    WideCents balance_sum = 0;
    bool sum_out_of_range = false;
    const std::int64_t count = size();
    for (std::int64_t step = 0; step < count; ++step) {
        Row& row = rows_[static_cast<std::size_t>(list_order == 1 ? count - 1 - step : step)];
        if (row.figures.is_void) continue;
        const RowFigures& figures = row.figures;
        // The change as a figure: a negated withdrawal cannot overflow, as -INT64_MIN is never read.
        Figure change{figures.deposit_cents, figures.out_of_range};
        change += Figure{-figures.withdrawal_cents, false};
        summary.balance += change;
        row.running = summary.balance;
        if (figures.year == year && figures.month == month) {
            ++summary.month_rows;
            summary.month_deposits += Figure{figures.deposit_cents, figures.out_of_range};
            summary.month_withdrawals += Figure{figures.withdrawal_cents, figures.out_of_range};
            balance_sum += row.running.cents;
            sum_out_of_range = sum_out_of_range || row.running.out_of_range;
        }
    }
    if (summary.month_rows > 0) {
        // Rounded half away from zero to the cent, without a step that could overflow.
        const std::int64_t rows = summary.month_rows;
        const auto quotient = static_cast<std::int64_t>(balance_sum / rows);
        const auto remainder = static_cast<std::int64_t>(balance_sum % rows);
        const std::int64_t away = remainder < 0 ? -1 : 1;
        summary.month_average.out_of_range = sum_out_of_range;
        if (__builtin_add_overflow(quotient, 2 * (remainder * away) >= rows ? away : 0,
                                   &summary.month_average.cents)) {
            summary.month_average.out_of_range = true;
        }
    }
    summary_ = summary;
}

std::optional<Figure> BalanceBook::running(std::int64_t row) const {
    if (row < 0 || row >= size() || rows_[static_cast<std::size_t>(row)].figures.is_void) return std::nullopt;
    return rows_[static_cast<std::size_t>(row)].running;
}

}  // namespace quillet
