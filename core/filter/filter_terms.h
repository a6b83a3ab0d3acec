// What the list's filter asks of a transaction: each term that is set narrows what the others
// leave. The terms are plain values, kept as the user gave them (a saved filter's period is worked
// out again on the day it is used).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime/dates.h"

namespace quillet {

enum class FilterKind : std::uint8_t { kAll, kDeposits, kPayments };
enum class FilterState : std::uint8_t { kAll, kNotCleared, kCleared, kReconciled };

// A period that is worked out on the day the filter is used; kDays takes the from and to days as
// they are.
enum class FilterPeriod : std::uint8_t { kDays, kThisMonth, kLastMonth, kThisYear, kSinceLastStatement };

struct FilterTerms {
    std::string text;  // Windows-1252, matched in the payee, memo, number and type
    FilterPeriod period = FilterPeriod::kDays;
    DateValue from = kNoDate;  // days (midnight values); kNoDate for no bound
    DateValue to = kNoDate;
    std::optional<std::int64_t> least_cents;  // the amount, deposit or payment alike
    std::optional<std::int64_t> most_cents;
    FilterKind kind = FilterKind::kAll;
    FilterState state = FilterState::kAll;
    std::int64_t category = 0;  // 0: any; a parent takes its children in

    bool operator==(const FilterTerms&) const = default;
    // True when no term narrows anything: every row is shown.
    bool empty() const { return *this == FilterTerms{}; }
};

// The days a period covers on the given day: the terms' own days for kDays; "since the last
// statement" starts the day after the last statement's date (every day, without one).
struct FilterDays {
    DateValue from = kNoDate;
    DateValue to = kNoDate;
};
FilterDays period_days(const FilterTerms& terms, DateValue today, DateValue last_statement);

// True when every row the narrower terms let through, the wider ones let through too: a refilter
// then looks only at the rows shown. Periods that move with the day are never taken as narrower.
bool narrows(const FilterTerms& narrower, const FilterTerms& wider);

// A saved filter's terms as one line of "key=value" pairs joined by tabs (the text last, so that
// it may hold anything but a line break), and read back; unknown keys are passed over, so that a
// later version's filters still open.
std::string terms_line(const FilterTerms& terms);
FilterTerms terms_of_line(std::string_view line);

}  // namespace quillet
