#include "core/import/conventions.h"

#include <algorithm>
#include <array>

#include "core/runtime/number_text.h"

namespace quillet {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The three numbers of a date text and how many digits the year has; none when it has not three.
struct DatePieces {
    std::array<std::int64_t, 3> numbers{};
    std::array<int, 3> digits{};
};

std::optional<DatePieces> date_pieces(std::string_view text) {
    DatePieces pieces;
    int count = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        if (!is_digit(text[at])) {
            // Only separators stand between the numbers: a letter makes it no date.
            const char c = text[at];
            if (c != '/' && c != '.' && c != '-' && c != '\'' && c != ' ' && c != '\t') return std::nullopt;
            ++at;
            continue;
        }
        if (count == 3) return std::nullopt;
        std::int64_t number = 0;
        int digits = 0;
        while (at < text.size() && is_digit(text[at]) && digits < 9) {
            number = number * 10 + (text[at] - '0');
            ++digits;
            ++at;
        }
        if (at < text.size() && is_digit(text[at])) return std::nullopt;
        pieces.numbers[static_cast<std::size_t>(count)] = number;
        pieces.digits[static_cast<std::size_t>(count)] = digits;
        ++count;
    }
    if (count != 3) return std::nullopt;
    return pieces;
}

std::optional<std::int32_t> full_year(std::int64_t year, int digits) {
    if (digits == 4) return static_cast<std::int32_t>(year);
    if (digits == 2) return static_cast<std::int32_t>(year < 70 ? 2000 + year : 1900 + year);
    return std::nullopt;
}

// Skips what stands around an amount that is not part of it: blanks and currency signs or codes.
std::string_view trimmed_amount(std::string_view text) {
    const auto around = [](char c) {
        return c == ' ' || c == '\t' || c == '$' || c == '\xE2' || c == '\x82' || c == '\xAC' ||
               c == '\xC2' || c == '\xA0' || c == '\xA3' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    while (!text.empty() && around(text.front())) text.remove_prefix(1);
    while (!text.empty() && around(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<DateValue> read_date(std::string_view text, DateOrder order, bool* no_such_day) {
    if (no_such_day != nullptr) *no_such_day = false;
    const std::optional<DatePieces> pieces = date_pieces(text);
    if (!pieces) return std::nullopt;
    const auto& n = pieces->numbers;
    const auto& d = pieces->digits;
    std::optional<std::int32_t> year;
    std::int64_t month = 0;
    std::int64_t day = 0;
    switch (order) {
        case DateOrder::kDayMonthYear:
            if (d[0] > 2 || d[1] > 2) return std::nullopt;
            day = n[0], month = n[1], year = full_year(n[2], d[2]);
            break;
        case DateOrder::kMonthDayYear:
            if (d[0] > 2 || d[1] > 2) return std::nullopt;
            month = n[0], day = n[1], year = full_year(n[2], d[2]);
            break;
        case DateOrder::kYearMonthDay:
            if (d[0] != 4 || d[1] > 2 || d[2] > 2) return std::nullopt;
            year = static_cast<std::int32_t>(n[0]), month = n[1], day = n[2];
            break;
    }
    if (!year || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    const DateValue value =
        make_date(*year, static_cast<std::int32_t>(month), static_cast<std::int32_t>(day));
    // make_date accepts a day past the month's end by moving on: such a date is no date here.
    if (value == kNoDate || day_of(value) != day) {
        // Month and day are each in range here: a year the register keeps whose month lacks the day.
        if (no_such_day != nullptr)
            *no_such_day = make_date(*year, static_cast<std::int32_t>(month), 1) != kNoDate;
        return std::nullopt;
    }
    return value;
}

std::vector<DateOrder> date_orders_fitting(const std::vector<std::string_view>& dates) {
    std::vector<DateOrder> orders = {DateOrder::kDayMonthYear, DateOrder::kMonthDayYear,
                                     DateOrder::kYearMonthDay};
    for (const std::string_view date : dates) {
        const bool any = read_date(date, DateOrder::kDayMonthYear) ||
                         read_date(date, DateOrder::kMonthDayYear) ||
                         read_date(date, DateOrder::kYearMonthDay);
        if (!any) continue;  // no date at all: its line is skipped, and it decides nothing
        std::erase_if(orders, [date](DateOrder order) { return !read_date(date, order); });
    }
    return orders;
}

AmountReading read_amount(std::string_view text, DecimalMark mark) {
    AmountReading reading;
    text = trimmed_amount(text);
    bool negative = false;
    if (!text.empty() && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = trimmed_amount(text.substr(1, text.size() - 2));
    }
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = negative || text.front() == '-';
        text = trimmed_amount(text.substr(1));
    } else if (!text.empty() && (text.back() == '-' || text.back() == '+')) {
        negative = negative || text.back() == '-';
        text = trimmed_amount(text.substr(0, text.size() - 1));
    }
    const char decimal = mark == DecimalMark::kPoint ? '.' : ',';
    const char grouping = mark == DecimalMark::kPoint ? ',' : '.';
    const std::size_t point = text.find(decimal);
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) return reading;
    // The whole part: digits, with grouping separators only between groups of three.
    std::int64_t units = 0;
    int run = 0;
    bool grouped = false;
    for (std::size_t at = 0; at < whole.size(); ++at) {
        const char c = whole[at];
        if (is_digit(c)) {
            ++run;
            if (__builtin_mul_overflow(units, 10, &units) || __builtin_add_overflow(units, c - '0', &units)) {
                reading.status = AmountReading::Status::kTooLarge;
                return reading;
            }
        } else if (c == grouping || c == ' ' || c == '\'') {
            if (run == 0 || (grouped && run != 3) || run > 3) return reading;
            grouped = true;
            run = 0;
        } else {
            return reading;
        }
    }
    if (grouped && run != 3) return reading;
    for (const char c : fraction) {
        if (!is_digit(c)) return reading;
    }
    // A fraction of a cent is refused; noughts past the cents are only how the file writes them.
    if (fraction.size() > 2 && fraction.substr(2).find_first_not_of('0') != std::string_view::npos) {
        reading.status = AmountReading::Status::kTooManyDecimals;
        return reading;
    }
    std::int64_t cents = 0;
    std::int64_t hundredths = 0;
    if (!fraction.empty())
        hundredths = (fraction[0] - '0') * 10 + (fraction.size() > 1 ? fraction[1] - '0' : 0);
    if (__builtin_mul_overflow(units, 100, &cents) || __builtin_add_overflow(cents, hundredths, &cents)) {
        reading.status = AmountReading::Status::kTooLarge;
        return reading;
    }
    reading.status = AmountReading::Status::kOk;
    reading.cents = negative ? -cents : cents;
    return reading;
}

std::vector<DecimalMark> marks_fitting(const std::vector<std::string_view>& amounts) {
    std::vector<DecimalMark> marks = {DecimalMark::kPoint, DecimalMark::kComma};
    const auto fits = [](std::string_view amount, DecimalMark mark) {
        const AmountReading::Status status = read_amount(amount, mark).status;
        // A number with too many decimals is still a number under the mark: its line is refused,
        // but one such amount must not take the mark from all the others.
        return status != AmountReading::Status::kNotANumber;
    };
    for (const std::string_view amount : amounts) {
        if (!fits(amount, DecimalMark::kPoint) && !fits(amount, DecimalMark::kComma)) continue;
        std::erase_if(marks, [&](DecimalMark mark) { return !fits(amount, mark); });
    }
    return marks;
}

float register_amount(std::int64_t cents) {
    // As the transaction dialog makes it from the typed text: the one way an amount becomes a float.
    return text_to_number(cents_text(cents < 0 ? -cents : cents));
}

bool register_keeps(std::int64_t cents) {
    const std::int64_t magnitude = cents < 0 ? -cents : cents;
    return magnitude >= 0 && amount_cents(register_amount(magnitude)) == magnitude;
}

std::string_view date_order_text(DateOrder order) {
    switch (order) {
        case DateOrder::kDayMonthYear: return "day/month/year";
        case DateOrder::kMonthDayYear: return "month/day/year";
        case DateOrder::kYearMonthDay: break;
    }
    return "year/month/day";
}

}  // namespace quillet
