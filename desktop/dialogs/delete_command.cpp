#include "desktop/dialogs/delete_command.h"

#include "core/session/delete_entered.h"
#include "core/session/delete_register.h"
#include "desktop/dialogs/due_window.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/views/register_view.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"

namespace quillet {

using namespace main_ids;

void delete_transaction(int row) {
    RegisterSession& session = register_session();
    const bool last = session.row_count() == 1;
    if (show_message(last ? kMessageConfirmDeleteLast : kMessageConfirmDelete, kMainWindow) != ui::kAnswerYes)
        return;
    // A transaction a schedule entered: its occurrence is skipped, or due again, as the user says.
    const std::uint64_t fingerprint = session.fingerprint_of(row);
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    std::optional<UsedOccurrence> entered;
    if (!last && session.look_up_schedules(schedules, used))
        entered = occurrence_entered_as(used, fingerprint);
    std::shared_ptr<Change> deleting = delete_row(session.list(), row, fingerprint);
    if (entered) {
        const bool skip = show_message(kMessageScheduledDelete, kMainWindow) == ui::kAnswerYes;
        deleting = std::make_shared<DeleteEntered>(session.slot_of(row), fingerprint, *entered, skip,
                                                   day_of_value(current_date()));
    }
    // A register file that will not go stays open and shown, so that nothing seems lost that is not.
    RowChange change;
    const SessionResult deleted = session.apply(deleting, change);
    if (!show_session_result(deleted, kMainWindow)) return;
    show_row_change(change);
    if (entered) refresh_due_count();
    if (!last) select_register_row(0);
}

}  // namespace quillet
