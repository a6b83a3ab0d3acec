#include "desktop/dialogs/cleared_command.h"

#include "core/runtime/dates.h"
#include "core/session/set_cleared.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"

namespace quillet {

using namespace main_ids;

namespace {

// "The statement of 2025/01/31" for a reconciled row.
ShownText statement_name(int row) {
    RegisterSession& session = register_session();
    const StoredStatement* statement = session.statement(session.row_statement(row));
    return ShownText::of_text(texts().adjustment_memo +
                              (statement != nullptr ? format_date(kDisplayDateMask, statement->date) : "?"));
}

}  // namespace

void toggle_cleared(int row) {
    RegisterSession& session = register_session();
    const ClearState state = session.row_state(row);
    if (state == ClearState::kReconciled) {
        // Reconciled stays reconciled: only a change to the transaction itself touches it.
        show_message(kMessageNotice, kMainWindow, statement_name(row).add_text(texts().reconciled_stays));
        return;
    }
    RowChange rows;
    const SessionResult result =
        session.apply(std::make_shared<SetCleared>(std::vector<std::int64_t>{session.slot_of(row)},
                                                   std::vector<bool>{state == ClearState::kUncleared}),
                      rows);
    if (!show_session_result(result, kMainWindow)) return;
    // As an edit shows it: a filter on the state may now hide the row.
    show_row_change(RowChange{RowChange::Kind::kReplaced, row});
}

bool reconciled_change_allowed(int row) {
    RegisterSession& session = register_session();
    if (session.row_state(row) != ClearState::kReconciled) return true;
    return show_message(kMessageReconciledChange, kMainWindow, statement_name(row)) == ui::kAnswerYes;
}

}  // namespace quillet
