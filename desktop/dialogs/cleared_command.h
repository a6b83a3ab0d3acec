// The commands on a row's state against the bank's statements: Cleared toggles the current row
// between uncleared and cleared; a change to a reconciled transaction asks first.
#pragma once

namespace quillet {

void toggle_cleared(int row);
// True when the row is not reconciled, or the user agrees to change it all the same.
bool reconciled_change_allowed(int row);

}  // namespace quillet
