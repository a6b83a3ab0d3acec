// How a statement writes its dates and amounts, read from the whole file rather than guessed from
// one line: every order of day, month and year and every decimal mark that some value of the file
// contradicts is dropped, and the user is asked only when more than one survives. Amounts are read
// as decimal text, to the cent, never through a binary float.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime/dates.h"

namespace quillet {

enum class DateOrder { kDayMonthYear, kMonthDayYear, kYearMonthDay };
enum class DecimalMark { kPoint, kComma };  // the other is the thousands separator (or a blank, or ')
// What an amount written without a minus means, in a file whose amounts alone cannot say: money
// in (a current account's export), or money out (a card's charges; a minus is then a payment in).
enum class PlainAmounts { kMoneyIn, kMoneyOut };

// The day a date text names under the order: three numbers with any separators between them
// ("31.12.2024", "12/31'24", "1/ 5'99", "2024-12-31"), a two-digit year from 1970 to 2069. None
// when the text is no valid date in that order; no_such_day then says whether it is one but for a
// day its month does not have ("2012-02-31").
std::optional<DateValue> read_date(std::string_view text, DateOrder order, bool* no_such_day = nullptr);
// "day/month/year", "month/day/year" or "year/month/day".
std::string_view date_order_text(DateOrder order);

// The orders under which every date text that any order reads is a valid date. A text that no
// order reads decides nothing (its line is skipped as a bad date).
std::vector<DateOrder> date_orders_fitting(const std::vector<std::string_view>& dates);

struct AmountReading {
    enum class Status { kOk, kNotANumber, kTooManyDecimals, kTooLarge };
    Status status = Status::kNotANumber;
    std::int64_t cents = 0;
};

// An amount text under the mark: digits with thousands separators in groups of three, at most one
// decimal mark, a sign in front or behind ("-12.50", "12.50-", "(12.50)", "+12.50"), currency
// signs and blanks around it left aside. Cents exactly as written: decimals past the second are
// taken when they are noughts ("8.850"), and a fraction of a cent is its own status; an amount
// that does not fit in 64-bit cents is too large.
AmountReading read_amount(std::string_view text, DecimalMark mark);

// The marks under which every amount text that any mark reads is a number (one with too many
// decimals included: its line is refused, but it is a number under the mark).
std::vector<DecimalMark> marks_fitting(const std::vector<std::string_view>& amounts);

// The register's amount (a 32-bit float, never negative) for the cents, made as the transaction
// dialog makes it from typed text.
float register_amount(std::int64_t cents);
// Whether the register's amount keeps the cents: above 131,072.00 the float's step passes a cent
// and most amounts would change.
bool register_keeps(std::int64_t cents);

}  // namespace quillet
