// A scheduled transaction and what is due of it: the transaction as the transaction dialog has
// it, the rule it falls due by, how it is entered, and which of its occurrences were entered or
// skipped. The due list and the balance ahead are worked out here, from the rule alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/register/record.h"
#include "core/schedule/schedule_rule.h"
#include "core/session/enter_scheduled.h"

namespace quillet {

// One occurrence due and neither entered nor skipped.
struct DueLine {
    std::int64_t schedule_id = 0;
    Occurrence occurrence;
    std::int64_t days_late = 0;  // 0 when due today
    bool operator==(const DueLine&) const = default;
};

// Every occurrence due up to today that was neither entered nor skipped (nor noted), oldest first
// (schedules in their order on one day), at most limit of them.
std::vector<DueLine> due_through(const std::vector<Schedule>& schedules,
                                 const std::vector<UsedOccurrence>& used, DateValue today,
                                 std::size_t limit = 100000);

// The balance ahead: each day from tomorrow through days ahead, the balance the schedules' open
// occurrences make from today's (those overdue counted today, as they are still to be entered),
// in exact cents; and the lowest of them with its day (today's when none is lower).
struct ForecastDay {
    DateValue day = kNoDate;
    std::int64_t cents = 0;
    bool operator==(const ForecastDay&) const = default;
};
struct Forecast {
    std::vector<ForecastDay> days;  // today first
    ForecastDay lowest;
};
// The schedule with the id, or none.
const Schedule* schedule_with_id(const std::vector<Schedule>& schedules, std::int64_t id);
// The record an occurrence becomes: the schedule's transaction on the day it falls due.
TransactionRecord record_of(const Schedule& schedule, const Occurrence& occurrence);
// The due lines as the entries EnterScheduled writes, in their order.
std::vector<ScheduledEntry> entries_of(const std::vector<Schedule>& schedules,
                                       const std::vector<DueLine>& due);
// The schedule's next occurrence that is neither entered nor skipped, from its first on.
std::optional<Occurrence> next_open(const Schedule& schedule, const std::vector<UsedOccurrence>& used);
// The transaction as a monthly schedule on its day of the month, first due a month after it.
Schedule schedule_from(const TransactionRecord& record);
// The rule in words: "every month on day 31, a weekend day to the Friday before".
std::string rule_text(const ScheduleRule& rule);

// booked: the register's own transactions dated after today (each day with its change), which
// join the schedules' on their days.
Forecast forecast(std::int64_t balance_cents, const std::vector<Schedule>& schedules,
                  const std::vector<UsedOccurrence>& used, DateValue today, std::int32_t days_ahead,
                  const std::vector<ForecastDay>& booked = {});

}  // namespace quillet
