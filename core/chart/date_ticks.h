// Where a chart's date axis puts its labels: on calendar starts, never at even fractions of the
// range, so that a label stands where its day, month or year begins. A short range is labelled by
// days, a longer one by month starts, a long one by year starts, each every so many so that the
// labels fit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

struct DateTick {
    std::int32_t day = 0;  // days since 1970-01-01: where the label's day, month or year begins
    std::string label;     // "2026/11/03", "2026/11" or "2026"
};

// The ticks from the start of first_day to the end of last_day (the next day's start), at most
// most_ticks of them (at least 2 are always allowed).
std::vector<DateTick> date_ticks(std::int32_t first_day, std::int32_t last_day, int most_ticks);

}  // namespace quillet
