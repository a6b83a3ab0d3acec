// The filter bar above the register list: a text, a period, an amount range, a kind, a state and a
// category, each narrowing what the others leave, and the filters saved with the register. The
// list follows as the user types, once the typing comes to rest.
#pragma once

namespace quillet {

// Shows the bar with the keyboard in its text, or hides it and shows every row again.
void toggle_filter_bar();
bool filter_bar_shown();
// True when the keyboard is in one of the bar's fields.
bool filter_bar_has_focus();
// Escape in the bar: the filter is cleared, and when it was clear already the bar goes.
void filter_bar_escape();
// The list is filtered by the bar's fields now (Return, or the typing's rest).
void filter_by_bar();
// A gadget event of the main window: true when it was one of the bar's.
bool handle_filter_bar_event(int gadget, int type);
// Another register was opened: the filter is off and the bar's fields empty (its lists follow
// once the register's store is read).
void forget_filter();
// The register's store was read, or categories edited: the bar's lists follow.
void refresh_filter_bar_lists();

}  // namespace quillet
