#include "core/schedule/schedule_rule.h"

#include <algorithm>

namespace quillet {

namespace {

std::int32_t month_length(std::int64_t year, std::int64_t month) {
    static constexpr std::int32_t kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap_year(static_cast<std::int32_t>(year)) ? 29 : kLengths[month - 1];
}

std::int64_t day_number(DateValue value) { return value / kSecondsADay; }

// The register's value of a day number, or none beyond what it can hold.
std::optional<DateValue> value_of(std::int64_t days) {
    if (days < 0 || days > kLatestDate / kSecondsADay) return std::nullopt;
    return static_cast<DateValue>(days * kSecondsADay);
}

// 0 Sunday .. 6 Saturday; 1970-01-01 was a Thursday.
int weekday(std::int64_t days) { return static_cast<int>(((days % 7) + 7 + 4) % 7); }

// The rule's day of the occurrence, as a day number; none past the end of the arithmetic.
std::int64_t rule_day_number(const ScheduleRule& rule, std::int64_t index) {
    const std::int64_t first = day_number(rule.first);
    const std::int64_t year = year_of(rule.first);
    const std::int64_t month = month_of(rule.first);
    const std::int64_t day = day_of(rule.first);
    // The month index * every months after the first day's month.
    const auto in_month = [&](std::int64_t months) {
        const std::int64_t at = (month - 1) + months;
        return std::pair<std::int64_t, std::int64_t>{year + at / 12, at % 12 + 1};
    };
    switch (rule.repeat) {
        case Repeat::kOnce: return first;
        case Repeat::kDays: return first + index * rule.every;
        case Repeat::kWeeks: return first + index * rule.every * 7;
        case Repeat::kMonthsOnDay: {
            const auto [y, m] = in_month(index * rule.every);
            const std::int64_t wanted = rule.day > 0 ? rule.day : day;
            return days_from_civil(y, m, std::min<std::int64_t>(wanted, month_length(y, m)));
        }
        case Repeat::kMonthsLastDay: {
            const auto [y, m] = in_month(index * rule.every);
            return days_from_civil(y, m, month_length(y, m));
        }
        case Repeat::kMonthsBeforeEnd: {
            const auto [y, m] = in_month(index * rule.every);
            return days_from_civil(y, m, month_length(y, m) - rule.day);
        }
        case Repeat::kYears: {
            const std::int64_t y = year + index * rule.every;
            return days_from_civil(y, month, std::min<std::int64_t>(day, month_length(y, month)));
        }
    }
    return first;
}

}  // namespace

DateValue after_weekend_rule(DateValue day, WeekendRule weekend) {
    if (day == kNoDate || weekend == WeekendRule::kNone) return day;
    const std::int64_t days = day_number(day);
    const int of_week = weekday(days);
    std::int64_t moved = days;
    if (of_week == 6) moved = weekend == WeekendRule::kBefore ? days - 1 : days + 2;
    if (of_week == 0) moved = weekend == WeekendRule::kBefore ? days - 2 : days + 1;
    return value_of(moved).value_or(day);
}

RuleProblem rule_problem(const ScheduleRule& rule) {
    if (rule.first == kNoDate || rule.first < 0) return RuleProblem::kNoFirstDay;
    if (rule.repeat != Repeat::kOnce && rule.every <= 0) return RuleProblem::kEveryZero;
    if (rule.repeat == Repeat::kMonthsOnDay && (rule.day < 0 || rule.day > 31))
        return RuleProblem::kNoSuchDay;
    if (rule.repeat == Repeat::kMonthsBeforeEnd && (rule.day < 0 || rule.day > 27))
        return RuleProblem::kNoSuchDay;
    if (rule.count < 0) return RuleProblem::kEndsBeforeFirst;
    if (rule.until != kNoDate && day_number(rule.until) < day_number(rule.first))
        return RuleProblem::kEndsBeforeFirst;
    return RuleProblem::kNone;
}

std::optional<Occurrence> occurrence(const ScheduleRule& rule, std::int64_t index) {
    if (index < 0 || rule_problem(rule) != RuleProblem::kNone) return std::nullopt;
    if (rule.repeat == Repeat::kOnce && index > 0) return std::nullopt;
    if (rule.count > 0 && index >= rule.count) return std::nullopt;
    const std::optional<DateValue> rule_day = value_of(rule_day_number(rule, index));
    if (!rule_day) return std::nullopt;
    if (rule.until != kNoDate && day_number(*rule_day) > day_number(rule.until)) return std::nullopt;
    return Occurrence{index, *rule_day, after_weekend_rule(*rule_day, rule.weekend)};
}

std::vector<Occurrence> occurrences_between(const ScheduleRule& rule, DateValue from, DateValue through,
                                            std::size_t limit) {
    std::vector<Occurrence> found;
    if (rule_problem(rule) != RuleProblem::kNone || from == kNoDate || through == kNoDate) return found;
    const std::int64_t first_day = day_number(from);
    const std::int64_t last_day = day_number(through);
    // Begin a little before the range: a weekend shift moves a day by at most two.
    std::int64_t index = 0;
    const std::int64_t before = first_day - 3 - day_number(rule.first);
    if (before > 0) {
        switch (rule.repeat) {
            case Repeat::kDays: index = before / rule.every; break;
            case Repeat::kWeeks: index = before / (7 * rule.every); break;
            case Repeat::kYears: index = before / (366 * rule.every); break;
            case Repeat::kOnce: break;
            default: index = before / (31 * rule.every); break;
        }
    }
    for (; found.size() < limit; ++index) {
        const std::optional<Occurrence> next = occurrence(rule, index);
        if (!next || day_number(next->rule_day) > last_day + 3) break;
        const std::int64_t due = day_number(next->due);
        if (due >= first_day && due <= last_day) found.push_back(*next);
    }
    return found;
}

}  // namespace quillet
