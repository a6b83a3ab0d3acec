// The schedules window: every schedule with its next due day, its amount and its rule, with New,
// Edit, Delete and Enter now; and Schedule this..., which starts a schedule from a transaction.
#pragma once

namespace quillet {

void open_schedules_window();
void handle_schedules_window(int kind);
// Lists the schedules again as the store now holds them (after the editor saved one).
void show_schedules_again();
// The transaction of the row as a new schedule, in the editor over the main window.
void schedule_this(int row);

}  // namespace quillet
