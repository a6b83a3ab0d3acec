// The schedule editor: the transaction dialog's fields, the rule, its end and the weekend rule,
// with the next five due days shown as the rule changes. Opened over the schedules window (New,
// Edit) or over the main window (Schedule this...), to which it returns.
#pragma once

#include <optional>
#include <string>

#include "core/store/stored_schedule.h"

namespace quillet {

// Opens the editor over the parent window on the schedule; before is the stored one when it is
// changed (none for a new schedule).
void open_schedule_editor(int parent, const Schedule& schedule, std::optional<Schedule> before);
void handle_schedule_editor(int kind);

}  // namespace quillet
