// The second and third stages of finding duplicates: statement lines that match a transaction
// typed into the register by hand (one no import made), or one imported from another file whose
// identity could not have matched (another format, or an identity of another kind). A match has
// the same amount and kind, dates at most four days apart, and the same check number when both
// have one; a match with an imported transaction also a payee alike when both have one. The
// closest dates are matched first, and each register transaction is matched once: two alike
// transactions of one day match two lines, never one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime/dates.h"

namespace quillet {

inline constexpr int kMatchDays = 4;

struct MatchCandidate {
    DateValue date = kNoDate;
    std::int64_t cents = 0;  // money in positive, money out negative
    std::string number;      // a check number, or empty
    std::string payee;       // UTF-8, or empty
};

// For each line, the index of the register transaction it matches, or -1. A pair is weighed only
// when may_match says so (for all pairs without it).
std::vector<std::int64_t> match_candidates(
    const std::vector<MatchCandidate>& lines, const std::vector<MatchCandidate>& candidates,
    const std::function<bool(std::size_t line, std::size_t candidate)>& may_match = {});

// Whether two payees name one party as banks write it: one holds a word of the other (three
// letters at least; letter case, accents and store numbers such as "#112" aside), or one is the
// start of the other. An empty payee is alike any.
bool payees_alike(std::string_view one, std::string_view other);

}  // namespace quillet
