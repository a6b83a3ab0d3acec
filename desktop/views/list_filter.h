// The register list's filter: which of the list's rows the view shows. The view's rows are the
// shown ones; every row number the program keeps (app().current_row, the session's rows) is the
// list's, turned into the view's only where the view is spoken to.
#pragma once

#include <cstdint>

#include "core/filter/filter_terms.h"
#include "core/list/row_change.h"

namespace quillet {

// The list row of a row of the view (-1 for none), and the view's row of a list row (-1: hidden).
std::int64_t list_row_of(int shown_row);
int shown_row_of(std::int64_t list_row);
// The rows the view shows.
int shown_row_count();

// Filters the list by the terms (every row when none narrows), keeping the selection on its
// transaction while that is shown: a narrower filter looks only at the rows shown.
void filter_register_list(const FilterTerms& terms);
// The list was read again (another order, another program's change): the shown rows are worked
// out again from every row.
void filter_register_list_again();
// A change made rows come, go or change: the shown rows follow it, a changed or new row shown
// when it matches.
void follow_row_change(const RowChange& change);

}  // namespace quillet
