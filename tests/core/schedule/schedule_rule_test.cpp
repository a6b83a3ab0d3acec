// When schedules fall due: month ends and leap days that return to the rule's day, weekend shifts
// that never move the next occurrence, fortnights across a year's end, the ends by count and by
// day, the rules that can never fall due, and the occurrences of a range after a long absence.
#include "core/schedule/schedule_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

DateValue day(int year, int month, int day_of_month) { return make_date(year, month, day_of_month); }

std::string text(DateValue value) { return format_date("%yyyy-%mm-%dd", value); }

// The due days of the first occurrences, as text.
std::vector<std::string> due_days(const ScheduleRule& rule, int count) {
    std::vector<std::string> days;
    for (int index = 0; index < count; ++index) {
        const std::optional<Occurrence> next = occurrence(rule, index);
        if (!next) break;
        days.push_back(text(next->due));
    }
    return days;
}

TEST(ScheduleRule, EveryOccurrenceComesFromTheRuleAndItsFirstDay) {
    // The first occurrences as many as wanted; where the rule ends, all of them (asked for more).
    struct Case {
        const char* name;
        ScheduleRule rule;
        std::vector<std::string> wanted;
        bool ends = false;
    };
    const Case cases[] = {
        {"the 31st: the last day of a shorter month, then the 31st again",
         {day(2026, 1, 31), Repeat::kMonthsOnDay, 1, 31},
         {"2026-01-31", "2026-02-28", "2026-03-31", "2026-04-30", "2026-05-31"}},
        {"the 31st, a weekend before: Friday, and the next month still its own day",
         {day(2026, 1, 31), Repeat::kMonthsOnDay, 1, 31, kNoDate, 0, WeekendRule::kBefore},
         {"2026-01-30", "2026-02-27", "2026-03-31", "2026-04-30", "2026-05-29", "2026-06-30"}},
        {"the 31st, a weekend after: Monday",
         {day(2026, 1, 31), Repeat::kMonthsOnDay, 1, 31, kNoDate, 0, WeekendRule::kAfter},
         {"2026-02-02", "2026-03-02", "2026-03-31"}},
        {"29 February: the 28th in other years",
         {day(2024, 2, 29), Repeat::kYears, 1},
         {"2024-02-29", "2025-02-28", "2026-02-28", "2027-02-28", "2028-02-29"}},
        {"every two weeks across a year's end",
         {day(2026, 12, 18), Repeat::kWeeks, 2},
         {"2026-12-18", "2027-01-01", "2027-01-15", "2027-01-29"}},
        {"the month's last day, every second month",
         {day(2026, 1, 15), Repeat::kMonthsLastDay, 2},
         {"2026-01-31", "2026-03-31", "2026-05-31", "2026-07-31"}},
        {"three days before the month's end",
         {day(2026, 1, 1), Repeat::kMonthsBeforeEnd, 1, 3},
         {"2026-01-28", "2026-02-25", "2026-03-28"}},
        {"every ten days, three times",
         {day(2026, 1, 1), Repeat::kDays, 10, 0, kNoDate, 3},
         {"2026-01-01", "2026-01-11", "2026-01-21"},
         true},
        {"monthly until a day: the last one on or before it",
         {day(2026, 1, 15), Repeat::kMonthsOnDay, 1, 0, day(2026, 3, 14)},
         {"2026-01-15", "2026-02-15"},
         true},
        {"once", {day(2026, 5, 9), Repeat::kOnce}, {"2026-05-09"}, true},
        {"past 2038 nothing falls due", {day(2038, 1, 1), Repeat::kYears, 1}, {"2038-01-01"}, true},
    };
    for (const Case& each : cases) {
        const int asked = static_cast<int>(each.wanted.size()) + (each.ends ? 3 : 0);
        EXPECT_EQ(due_days(each.rule, asked), each.wanted) << each.name;
    }
    // The shifted occurrence keeps the day its rule gives.
    const ScheduleRule rent{day(2026, 1, 31), Repeat::kMonthsOnDay, 1, 31, kNoDate, 0, WeekendRule::kBefore};
    EXPECT_EQ(occurrence(rent, 0)->rule_day, day(2026, 1, 31));
}

TEST(ScheduleRule, RulesThatCanNeverFallDueAreNamed) {
    EXPECT_EQ(rule_problem({day(2026, 1, 1), Repeat::kMonthsOnDay, 0}), RuleProblem::kEveryZero);
    EXPECT_EQ(rule_problem({day(2026, 1, 1), Repeat::kMonthsOnDay, 1, 32}), RuleProblem::kNoSuchDay);
    EXPECT_EQ(rule_problem({day(2026, 1, 1), Repeat::kMonthsBeforeEnd, 1, 28}), RuleProblem::kNoSuchDay);
    EXPECT_EQ(rule_problem({day(2026, 1, 1), Repeat::kDays, 1, 0, day(2025, 12, 31)}),
              RuleProblem::kEndsBeforeFirst);
    EXPECT_EQ(rule_problem({kNoDate, Repeat::kOnce}), RuleProblem::kNoFirstDay);
    EXPECT_EQ(rule_problem({day(2026, 1, 1), Repeat::kOnce, 0}), RuleProblem::kNone)
        << "once repeats nothing";
    EXPECT_FALSE(occurrence({day(2026, 1, 1), Repeat::kMonthsOnDay, 0}, 0));
}

TEST(ScheduleRule, ARangeAfterALongAbsenceHoldsEachOccurrenceOnce) {
    const ScheduleRule rent{day(2026, 1, 31), Repeat::kMonthsOnDay, 1, 31, kNoDate, 0, WeekendRule::kBefore};
    std::vector<std::string> due;
    for (const Occurrence& each : occurrences_between(rent, day(2026, 5, 1), day(2026, 8, 31)))
        due.push_back(std::to_string(each.index) + " " + text(each.due));
    EXPECT_EQ(due,
              (std::vector<std::string>{"4 2026-05-29", "5 2026-06-30", "6 2026-07-31", "7 2026-08-31"}));
    // A Saturday's occurrence moved back to Friday 29 May is in a range that starts that Friday.
    EXPECT_EQ(occurrences_between(rent, day(2026, 5, 29), day(2026, 5, 29)).size(), 1u);
    EXPECT_TRUE(occurrences_between(rent, day(2026, 5, 30), day(2026, 5, 31)).empty());
    // A daily schedule left for thirty years: every day once.
    const ScheduleRule daily{day(2000, 1, 1), Repeat::kDays, 1};
    const std::vector<Occurrence> all = occurrences_between(daily, day(2000, 1, 1), day(2029, 12, 31));
    EXPECT_EQ(all.size(), 10958u);
    EXPECT_EQ(all.back().due, day(2029, 12, 31));
}

}  // namespace
}  // namespace quillet
