#include "core/schedule/due_check.h"

#include <algorithm>
#include <memory>

#include "core/session/enter_scheduled.h"

namespace quillet {

namespace {

DueCheck check_once(RegisterSession& session, DateValue through, bool enter_unasked, RowChange& change) {
    DueCheck check;
    check.read = session.look_up_schedules(check.schedules, check.used);
    if (!check.read) return check;
    std::vector<DueLine> due = due_through(check.schedules, check.used, through);
    std::vector<DueLine> unasked;
    for (DueLine& line : due) {
        const Schedule* schedule = schedule_with_id(check.schedules, line.schedule_id);
        (enter_unasked && schedule->enters_unasked() ? unasked : check.asked).push_back(line);
    }
    if (unasked.empty()) return check;
    check.entry =
        session.apply(std::make_shared<EnterScheduled>(entries_of(check.schedules, unasked)), change);
    if (!check.entry.done()) {
        // Nothing was entered: what would have entered itself is asked about with the rest.
        check.asked = std::move(due);
        return check;
    }
    check.entered = unasked.size();
    for (const DueLine& line : unasked)
        check.used.push_back(
            {line.schedule_id, line.occurrence.index, OccurrenceState::kEntered, line.occurrence.due, 0});
    return check;
}

}  // namespace

DueCheck check_due(RegisterSession& session, DateValue through, bool enter_unasked, RowChange& change) {
    DueCheck check = check_once(session, through, enter_unasked, change);
    // Another program entered or skipped some of it meanwhile: what is left is worked out again.
    if (check.entry.cause().error() == EALREADY) check = check_once(session, through, enter_unasked, change);
    return check;
}

}  // namespace quillet
