// Date values: signed 32-bit seconds since 1970-01-01 00:00:00 in a calendar without time zones
// (every day has 86400 seconds), and their conversion to and from text through date masks.
//
// A date mask is a text in which the tokens %yyyy, %yy, %mm, %dd, %hh, %ii (minute) and %ss stand
// for fields, matched without regard to case; every other character stands for itself.
// Every failure gives kNoDate (-1); nothing here throws.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

using DateValue = std::int32_t;

inline constexpr DateValue kNoDate = -1;
inline constexpr DateValue kSecondsADay = 86400;
// The day a value falls on, as the value of its midnight (the time of day dropped); kNoDate for a
// value that is no date.
constexpr DateValue day_of_value(DateValue value) {
    return value < 0 ? kNoDate : value - value % kSecondsADay;
}
// 2038-01-19 03:14:07, the last moment a signed 32-bit count of seconds can hold.
inline constexpr DateValue kLatestDate = 2147483647;

// The one mask through which every date is shown and read: year, month, day, in that order.
// The register view splits date texts at kDateSeparator to find year and month, so the two
// must agree; the separator holds no digit.
inline constexpr std::string_view kDateSeparator = "/";
inline constexpr std::string_view kDisplayDateMask = "%yyyy/%mm/%dd";

// The value of the given calendar fields, or kNoDate when they are not a valid date between
// 1970-01-01 00:00:00 and 2038-01-19 03:14:07.
DateValue make_date(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour = 0,
                    std::int32_t minute = 0, std::int32_t second = 0);

// Today's local wall-clock date and time, read as if it were zone-free, through the clock below.
DateValue current_date();

// The clock behind current_date(). Tests set a fixed moment; an empty function restores the
// system clock.
using Clock = std::function<DateValue()>;
void set_clock(Clock clock);
// The local wall-clock time from the system, whatever clock is set.
DateValue system_clock_date();

// Calendar arithmetic for any year (beyond the values above): whether the year has 29 February,
// and the days from 1970-01-01 to a proleptic Gregorian date.
bool is_leap_year(std::int32_t year);
std::int64_t days_from_civil(std::int64_t year, std::int64_t month, std::int64_t day);

// The fields of a value; every one of them is 0 for kNoDate or any other negative value.
// The year and month of dates, the month last worked out remembered: a register's dates mostly
// run in order, so that a million of them are turned into months with few calendar sums.
class MonthsOfDates {
  public:
    void of(DateValue value, std::int32_t& year, std::int32_t& month);

  private:
    DateValue first_ = 1;  // the remembered month's first moment, and the next month's
    DateValue next_ = 0;
    std::int32_t year_ = 0;
    std::int32_t month_ = 0;
};

std::int32_t year_of(DateValue value);
std::int32_t month_of(DateValue value);
std::int32_t day_of(DateValue value);
std::int32_t hour_of(DateValue value);
std::int32_t minute_of(DateValue value);
std::int32_t second_of(DateValue value);

// The value written through the mask. A % that starts no token is copied together with the
// character after it.
std::string format_date(std::string_view mask, DateValue value);

// Appends the value written through the display date mask: the same text as
// format_date(kDisplayDateMask, value), made without reading the mask (a report writes millions).
void append_display_date(std::string& out, DateValue value);

// The value read from the text through the mask, or kNoDate when the text does not fit the mask
// (text left over included) or names no valid date. Fields missing from the mask keep 1970-01-01
// 00:00:00. A token reads 1 to 4 digits for %yyyy and 1 or 2 for the others; %yy below 70 is
// 20xx, else 19xx. A % that starts no token matches any one character of the text.
DateValue parse_date(std::string_view mask, std::string_view text);

// A day a user writes: "2025/01/31" or "2025-01-31" (a time after it is left aside); none for
// anything else.
std::optional<DateValue> parse_day(std::string_view text);

}  // namespace quillet
