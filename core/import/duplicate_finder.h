// The second stage of finding duplicates: statement lines that match a transaction typed into the
// register by hand (one no import made). A match has the same amount and kind, dates at most four
// days apart, and the same check number when both have one; the closest dates are matched first,
// and each register transaction is matched once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/runtime/dates.h"

namespace quillet {

inline constexpr int kMatchDays = 4;

struct MatchCandidate {
    DateValue date = kNoDate;
    std::int64_t cents = 0;  // money in positive, money out negative
    std::string number;      // a check number, or empty
};

// For each line, the index of the register transaction it matches, or -1.
std::vector<std::int64_t> match_typed_by_hand(const std::vector<MatchCandidate>& lines,
                                              const std::vector<MatchCandidate>& typed);

}  // namespace quillet
