#include "desktop/dialogs/undo_command.h"

#include "desktop/dialogs/due_window.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/views/register_view.h"

namespace quillet {

using namespace main_ids;

void undo_register_change() {
    RowChange change;
    const SessionResult undone = register_session().undo(change);
    if (show_session_result(undone, kMainWindow, kMessageUndoRefused)) show_row_change(change);
    // An entry or a skip taken back makes its occurrences due again.
    refresh_due_count();
}

void redo_register_change() {
    RowChange change;
    const SessionResult redone = register_session().redo(change);
    if (show_session_result(redone, kMainWindow, kMessageUndoRefused)) show_row_change(change);
    refresh_due_count();
}

}  // namespace quillet
