// The split table (window 216), over the transaction dialog: up to six lines of a category and an
// amount whose sum must be the transaction's amount to the cent before OK is allowed, what is left
// to place shown as the user types.
#pragma once

namespace quillet {

void open_split_window();
void handle_split_window(int kind);

}  // namespace quillet
