#include "register/balance_book.h"

#include "runtime/dates.h"
#include "runtime/number_text.h"

namespace quillet {

RowFigures row_figures(std::string_view date_text, std::string_view deposit_text,
                       std::string_view withdrawal_text, std::string_view balance_text,
                       std::string_view void_mark) {
    RowFigures figures;
    figures.deposit_cents = amount_text_to_cents(deposit_text);
    figures.withdrawal_cents = amount_text_to_cents(withdrawal_text);
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
}

void BalanceBook::insert(std::int64_t position, const RowFigures& figures) {
    if (position < 0 || position > size()) position = size();
    rows_.insert(rows_.begin() + position, Row{figures, 0});
}

void BalanceBook::replace(std::int64_t row, const RowFigures& figures) {
    if (row >= 0 && row < size()) rows_[static_cast<std::size_t>(row)].figures = figures;
}

void BalanceBook::remove(std::int64_t row) {
    if (row >= 0 && row < size()) rows_.erase(rows_.begin() + row);
}

void BalanceBook::recompute(int list_order, std::int32_t year, std::int32_t month) {
    BalanceSummary summary;
    summary.rows = size();
    std::int64_t balance_sum = 0;
    const std::int64_t count = size();
    for (std::int64_t step = 0; step < count; ++step) {
        Row& row = rows_[static_cast<std::size_t>(list_order == 1 ? count - 1 - step : step)];
        if (row.figures.is_void) continue;
        summary.balance_cents += row.figures.deposit_cents - row.figures.withdrawal_cents;
        row.running = summary.balance_cents;
        if (row.figures.year == year && row.figures.month == month) {
            ++summary.month_rows;
            summary.month_deposit_cents += row.figures.deposit_cents;
            summary.month_withdrawal_cents += row.figures.withdrawal_cents;
            balance_sum += row.running;
        }
    }
    if (summary.month_rows > 0) {
        // Rounded half away from zero to the cent.
        const std::int64_t half = summary.month_rows / 2;
        summary.month_average_cents = balance_sum >= 0 ? (balance_sum + half) / summary.month_rows
                                                       : -((-balance_sum + half) / summary.month_rows);
    }
    summary_ = summary;
}

std::optional<std::int64_t> BalanceBook::running_cents(std::int64_t row) const {
    if (row < 0 || row >= size() || rows_[static_cast<std::size_t>(row)].figures.is_void) return std::nullopt;
    return rows_[static_cast<std::size_t>(row)].running;
}

}  // namespace quillet
