// What fell due: looked for as a register is opened, at the first minute of each day and on
// command. Schedules that enter themselves are entered at once (the status bar says how many);
// the rest is listed in the due window, grouped under its schedule, each line ticked to enter or
// skip and its day and amount changeable first. The reminder indicator shows while any is due.
#pragma once

namespace quillet {

// Looks for what fell due through today; on command, also says when nothing is due.
void check_what_is_due(bool on_command);
// Once a register is listed: what fell due is looked for the first time the register is shown.
void check_due_for_register();
// Every minute: a new day looks again, and says once when the balance ahead falls low.
void check_new_day();
// Counts what is due without entering anything (after a schedule or the register changed).
void refresh_due_count();
void handle_due_window(int kind);

}  // namespace quillet
