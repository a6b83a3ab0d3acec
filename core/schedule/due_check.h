// What fell due, as a register is opened, at the first minute of a day, or on command: the
// schedules that enter themselves are entered in one step, and the rest is left for the user to
// enter, skip or leave for later. The desktop and quillet-cli both start here.
#pragma once

#include <vector>

#include "core/schedule/schedule.h"
#include "core/session/register_session.h"

namespace quillet {

struct DueCheck {
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;  // as the store holds them after the entry below
    std::vector<DueLine> asked;        // due and to be asked about, oldest first
    std::size_t entered = 0;           // occurrences that entered themselves
    IoStatus read;                     // reading the schedules
    SessionResult entry;               // entering those that enter themselves (done when none)
};

// Reads the schedules and works out what is due through the day; with enter_unasked, those whose
// schedule enters itself are entered first, through the session in one change. A store that
// cannot be read leaves nothing due and says why in read.
DueCheck check_due(RegisterSession& session, DateValue through, bool enter_unasked, RowChange& change);

}  // namespace quillet
