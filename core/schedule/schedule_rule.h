// When a scheduled transaction falls due: a first day and a rule (once; every N days or weeks;
// every N months on a day of the month, on its last day, or some days before its end; every N
// years on the first day's month and day), an end (never, after a day, after a count) and a
// weekend rule. Every occurrence is worked out from the rule and the first day alone, never from
// the one before it: a day the month lacks (the 31st, 29 February) falls on the month's last day
// and the next month returns to the rule's day, and a weekend shift never moves the next.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/store/stored_schedule.h"

namespace quillet {

// Why a rule cannot be kept: it has no first day, repeats every 0, names a day no month has, or
// ends before it begins.
enum class RuleProblem { kNone, kNoFirstDay, kEveryZero, kNoSuchDay, kEndsBeforeFirst };
RuleProblem rule_problem(const ScheduleRule& rule);

// One occurrence: its number (from 0), the day its rule gives, and the day it falls due on after
// the weekend rule.
struct Occurrence {
    std::int64_t index = 0;
    DateValue rule_day = kNoDate;
    DateValue due = kNoDate;
    bool operator==(const Occurrence&) const = default;
};

// The occurrence with the number, or none past the rule's end (or past 2038, the last day a
// register can hold).
std::optional<Occurrence> occurrence(const ScheduleRule& rule, std::int64_t index);

// The occurrences that fall due from one day through another (whole days), in order, at most
// limit of them. A rule with a problem has none.
std::vector<Occurrence> occurrences_between(const ScheduleRule& rule, DateValue from, DateValue through,
                                            std::size_t limit = 100000);

// The day after the weekend rule: a Saturday or Sunday moved to the Friday before or the Monday
// after; any other day as it is.
DateValue after_weekend_rule(DateValue day, WeekendRule weekend);

}  // namespace quillet
