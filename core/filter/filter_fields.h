// The filter as both front ends take it from the user: the fields as typed (the desktop's filter
// bar, quillet-cli list's options) read into terms in one way, and the filter of those terms for
// the register a session has open, its period worked out for the day.
#pragma once

#include <string>
#include <vector>

#include "core/filter/record_filter.h"
#include "core/session/register_session.h"

namespace quillet {

struct FilterFields {
    std::string text;      // Windows-1252; blanks around it are dropped
    std::string from, to;  // days, yyyy/mm/dd or yyyy-mm-dd; empty for no bound
    std::string least,
        most;  // amounts: digits, a point before at most two decimals, commas between thousands
};
enum class FilterField { kFrom, kTo, kLeast, kMost };

// The terms with the fields read into them. A field that holds no day or no amount is left out of
// the terms and listed in wrong, in the order of the enum.
FilterTerms read_filter_fields(const FilterFields& fields, FilterTerms terms,
                               std::vector<FilterField>& wrong);

// The filter of the terms on the day, for the register the session has open: "since the last
// statement" from its last reconciled statement, a category with its children from its lists (the
// store read first when the terms need it).
RecordFilter filter_of(RegisterSession& session, const FilterTerms& terms, DateValue today);
// What the session's store knows of each record (state, category), when the filter asks for it.
RecordFacts facts_of(RegisterSession& session, const RecordFilter& filter);

}  // namespace quillet
