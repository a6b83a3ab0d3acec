#include "core/runtime/dates.h"

#include "core/runtime/number_text.h"

#include <ctime>
#include <utility>

namespace quillet {
bool is_leap_year(std::int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

std::int64_t days_from_civil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t year_of_era = year - era * 400;
    const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

namespace {

constexpr std::int64_t kSecondsPerDay = kSecondsADay;

Clock& installed_clock() {
    static Clock clock;
    return clock;
}

struct CivilDate {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
};

CivilDate civil_from_days(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t day_of_era = days - era * 146097;
    const std::int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
    const std::int64_t day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    const std::int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    const std::int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<std::int32_t>(year), static_cast<std::int32_t>(month),
            static_cast<std::int32_t>(day)};
}

CivilDate civil_of(DateValue value) {
    if (value < 0) return {};
    return civil_from_days(value / kSecondsPerDay);
}

// 2038 is the last year a value can reach, and only up to 2038-01-19 03:14:07.
bool within_last_year(std::int32_t month, std::int32_t day, std::int32_t hour, std::int32_t minute,
                      std::int32_t second) {
    if (month != 1 || day > 19) return false;
    if (day < 19) return true;
    if (hour != 3) return hour < 3;
    if (minute != 14) return minute < 14;
    return second <= 7;
}

enum class Token { kNone, kYear4, kYear2, kMonth, kDay, kHour, kMinute, kSecond };

struct TokenMatch {
    Token token = Token::kNone;
    std::size_t length = 0;  // characters of the mask the token takes, the % included
};

bool matches_at(std::string_view mask, std::size_t at, std::string_view word) {
    if (mask.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (lower_ascii(mask[at + i]) != word[i]) return false;
    }
    return true;
}

// Recognises the token that starts with the % at mask[at]; %yyyy is tried before %yy.
TokenMatch token_at(std::string_view mask, std::size_t at) {
    static constexpr std::pair<std::string_view, Token> kTokens[] = {
        {"%yyyy", Token::kYear4}, {"%yy", Token::kYear2},  {"%mm", Token::kMonth},  {"%dd", Token::kDay},
        {"%hh", Token::kHour},    {"%ii", Token::kMinute}, {"%ss", Token::kSecond},
    };
    for (const auto& [word, token] : kTokens) {
        if (matches_at(mask, at, word)) return {token, word.size()};
    }
    return {};
}

void append_two_digits(std::string& out, std::int32_t number) {
    out += static_cast<char>('0' + (number / 10) % 10);
    out += static_cast<char>('0' + number % 10);
}

}  // namespace

DateValue make_date(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                    std::int32_t minute, std::int32_t second) {
    if (year < 1970 || year > 2038) return kNoDate;
    if (year == 2038 && !within_last_year(month, day, hour, minute, second)) return kNoDate;
    if (day == 31 && (month == 4 || month == 6 || month == 9 || month == 11)) return kNoDate;
    if (month == 2 && (day >= 30 || (day == 29 && !is_leap_year(year)))) return kNoDate;
    if (second < 0 || second > 59 || minute < 0 || minute > 59 || hour < 0 || hour > 23) return kNoDate;
    if (day < 1 || day > 31 || month < 1 || month > 12) return kNoDate;
    const std::int64_t seconds =
        days_from_civil(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
    return static_cast<DateValue>(seconds);
}

DateValue system_clock_date() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return kNoDate;
    // A leap second (tm_sec 60) is not a date of this calendar; it counts as the second before.
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return make_date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     second);
}

void set_clock(Clock clock) { installed_clock() = std::move(clock); }

DateValue current_date() {
    const Clock& clock = installed_clock();
    return clock ? clock() : system_clock_date();
}

void MonthsOfDates::of(DateValue value, std::int32_t& year, std::int32_t& month) {
    if (value >= first_ && value < next_) {
        year = year_;
        month = month_;
        return;
    }
    const CivilDate date = civil_of(value);
    year = date.year;
    month = date.month;
    first_ = make_date(year, month, 1);
    next_ = month == 12 ? make_date(year + 1, 1, 1) : make_date(year, month + 1, 1);
    // A month the values cannot hold whole (before 1970, past 2038) is never remembered.
    if (first_ == kNoDate || next_ == kNoDate) {
        first_ = 1;
        next_ = 0;
    }
    year_ = year;
    month_ = month;
}

std::int32_t year_of(DateValue value) { return civil_of(value).year; }
std::int32_t month_of(DateValue value) { return civil_of(value).month; }
std::int32_t day_of(DateValue value) { return civil_of(value).day; }
std::int32_t hour_of(DateValue value) { return value < 0 ? 0 : (value % kSecondsPerDay) / 3600; }
std::int32_t minute_of(DateValue value) { return value < 0 ? 0 : (value % 3600) / 60; }
std::int32_t second_of(DateValue value) { return value < 0 ? 0 : value % 60; }

std::string format_date(std::string_view mask, DateValue value) {
    // Split the value once (a mask may name a field several times); indexed by Token, with the
    // century at kYear4.
    const CivilDate date = civil_of(value);
    const std::int32_t fields[] = {0,        date.year / 100, date.year % 100,  date.month,
                                   date.day, hour_of(value),  minute_of(value), second_of(value)};
    std::string out;
    out.reserve(mask.size() + 8);
    std::size_t at = 0;
    while (at < mask.size()) {
        if (mask[at] != '%') {
            out += mask[at++];
            continue;
        }
        const TokenMatch match = token_at(mask, at);
        if (match.token == Token::kNone) {
            // Not a token: the % and the character after it are both plain text.
            out += mask.substr(at, 2);
            at += 2;
            continue;
        }
        // %yyyy writes the century before the two digits that %yy writes alone.
        if (match.token == Token::kYear4) append_two_digits(out, fields[static_cast<int>(Token::kYear4)]);
        const Token shown = match.token == Token::kYear4 ? Token::kYear2 : match.token;
        append_two_digits(out, fields[static_cast<int>(shown)]);
        at += match.length;
    }
    return out;
}

void append_display_date(std::string& out, DateValue value) {
    static_assert(kDisplayDateMask == "%yyyy/%mm/%dd" && kDateSeparator == "/",
                  "the fast path writes this mask");
    // Registers run in date order: the day before is most often this one, and its text is kept.
    thread_local DateValue last_day = kNoDate;
    thread_local char text[10] = {'0', '0', '0', '0', '/', '0', '0', '/', '0', '0'};
    const DateValue day = value < 0 ? kNoDate : value / kSecondsPerDay;
    if (day != last_day) {
        last_day = day;
        const CivilDate date = civil_of(value);
        const auto put = [](std::size_t at, std::int32_t number) {
            text[at] = static_cast<char>('0' + (number / 10) % 10);
            text[at + 1] = static_cast<char>('0' + number % 10);
        };
        put(0, date.year / 100);
        put(2, date.year % 100);
        put(5, date.month);
        put(8, date.day);
    }
    out.append(text, sizeof text);
}

DateValue parse_date(std::string_view mask, std::string_view text) {
    if (mask.empty() || text.empty()) return kNoDate;
    std::int32_t fields[] = {1970, 1, 1, 0, 0, 0};  // year, month, day, hour, minute, second
    std::size_t m = 0;
    std::size_t t = 0;
    while (m < mask.size()) {
        if (mask[m] != '%') {
            if (t >= text.size() || text[t] != mask[m]) return kNoDate;
            ++m;
            ++t;
            continue;
        }
        const TokenMatch match = token_at(mask, m);
        if (match.token == Token::kNone) {
            // A % that starts no token, with the mask character after it, matches any one character.
            if (t >= text.size()) return kNoDate;
            m += 2;
            ++t;
            continue;
        }
        const std::size_t max_digits = match.token == Token::kYear4 ? 4 : 2;
        std::int32_t number = 0;
        std::size_t digits = 0;
        while (digits < max_digits && t < text.size() && text[t] >= '0' && text[t] <= '9') {
            number = number * 10 + (text[t] - '0');
            ++digits;
            ++t;
        }
        if (digits == 0) return kNoDate;
        switch (match.token) {
            case Token::kYear4: fields[0] = number; break;
            case Token::kYear2: fields[0] = number < 70 ? 2000 + number : 1900 + number; break;
            case Token::kMonth: fields[1] = number; break;
            case Token::kDay: fields[2] = number; break;
            case Token::kHour: fields[3] = number; break;
            case Token::kMinute: fields[4] = number; break;
            case Token::kSecond: fields[5] = number; break;
            case Token::kNone: break;
        }
        m += match.length;
    }
    if (t != text.size()) return kNoDate;
    return make_date(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
}

std::optional<DateValue> parse_day(std::string_view text) {
    if (text.size() > 10 && (text[10] == 'T' || text[10] == ' ')) text = text.substr(0, 10);
    for (const std::string_view mask :
         {std::string_view("%yyyy/%mm/%dd"), std::string_view("%yyyy-%mm-%dd")}) {
        if (text.size() != 10) break;
        const DateValue date = parse_date(mask, text);
        if (date != kNoDate) return date;
    }
    return std::nullopt;
}

}  // namespace quillet
