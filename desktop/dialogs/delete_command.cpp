#include "desktop/dialogs/delete_command.h"

#include "core/session/delete_register.h"
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
    // A register file that will not go stays open and shown, so that nothing seems lost that is not.
    RowChange change;
    const SessionResult deleted =
        session.apply(delete_row(session.list(), row, session.fingerprint_of(row)), change);
    if (!show_session_result(deleted, kMainWindow)) return;
    show_row_change(change);
    if (!last) select_register_row(0);
}

}  // namespace quillet
