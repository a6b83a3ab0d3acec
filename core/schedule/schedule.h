// A scheduled transaction and what is due of it: the transaction as the transaction dialog has
// it, the rule it falls due by, how it is entered, and which of its occurrences were entered or
// skipped. The due list and the balance ahead are worked out here, from the rule alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/schedule/schedule_rule.h"

namespace quillet {

struct Schedule {
    std::int64_t id = 0;
    // The transaction's texts in the register's code page, as the dialog keeps them.
    std::string type;
    std::string number;
    std::string payee;
    std::string memo;
    std::int64_t cents = 0;  // the amount, positive
    bool deposit = false;
    std::int32_t second_date_days = -1;  // the second date this many days after the due day; -1: none
    ScheduleRule rule;
    bool enters_itself = false;  // entered without asking when it falls due
    bool amount_varies = false;  // asked every time, never entered by itself

    std::int64_t signed_cents() const { return deposit ? cents : -cents; }
    // Whether an occurrence is entered without asking.
    bool enters_unasked() const { return enters_itself && !amount_varies; }
};

// What became of an occurrence: noted just before its record is written (the next open settles
// it), entered, or skipped. An occurrence with none of these is still to come, or due.
enum class OccurrenceState { kNoted = 0, kEntered = 1, kSkipped = 2 };

struct UsedOccurrence {
    std::int64_t schedule_id = 0;
    std::int64_t index = 0;
    OccurrenceState state = OccurrenceState::kEntered;
    DateValue day = kNoDate;        // the day it was entered on (the user may change it)
    std::uint64_t fingerprint = 0;  // the record it became (noted and entered ones)
    bool operator==(const UsedOccurrence&) const = default;
};

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
Forecast forecast(std::int64_t balance_cents, const std::vector<Schedule>& schedules,
                  const std::vector<UsedOccurrence>& used, DateValue today, std::int32_t days_ahead);

}  // namespace quillet
