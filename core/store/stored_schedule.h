// A scheduled transaction as the companion store keeps it: the transaction as the transaction
// dialog has it, the rule it falls due by (its arithmetic is core/schedule's), how it is entered,
// and what became of each of its occurrences.
#pragma once

#include <cstdint>
#include <string>

#include "core/runtime/dates.h"

namespace quillet {

enum class Repeat {
    kOnce,
    kDays,             // every N days
    kWeeks,            // every N weeks, on the first day's weekday
    kMonthsOnDay,      // every N months on day D (1..31; the month's last day where it has fewer)
    kMonthsLastDay,    // every N months on the month's last day
    kMonthsBeforeEnd,  // every N months, D days before the month's last day (0..27)
    kYears,            // every N years on the first day's month and day (29 February: the 28th)
};

enum class WeekendRule {
    kNone,
    kBefore,  // a Saturday or Sunday falls on the Friday before
    kAfter,   // ... or on the Monday after
};

struct ScheduleRule {
    DateValue first = kNoDate;  // the first due day
    Repeat repeat = Repeat::kMonthsOnDay;
    std::int32_t every = 1;     // N
    std::int32_t day = 0;       // D: the month's day, or the days before its end; 0 for the first day's
    DateValue until = kNoDate;  // the last day an occurrence may fall due on (by its rule's day); none
    std::int32_t count = 0;     // how many occurrences there are; 0 for no end
    WeekendRule weekend = WeekendRule::kNone;
    bool operator==(const ScheduleRule&) const = default;
};

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
    bool operator==(const Schedule&) const = default;
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

}  // namespace quillet
