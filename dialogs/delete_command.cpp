#include "dialogs/delete_command.h"

#include "program/app_state.h"
#include "program/main_window_ids.h"
#include "program/message_box.h"
#include "program/texts.h"
#include "register/register_file.h"
#include "register/register_view.h"
#include "runtime/file_access.h"
#include "ui/bars.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

namespace {

void delete_whole_register() {
    AppState& state = app();
    if (show_message(kMessageConfirmDeleteLast, kMainWindow) != ui::kAnswerYes) return;
    // A register file that will not go stays open and shown, so that nothing seems lost that is not.
    if (const IoStatus deleted = delete_file(state.register_path, kDeleteReadOnly); !deleted) {
        show_message(kMessageRegisterNotChanged, kMainWindow, file_and_cause(state.register_path, deleted));
        return;
    }
    clear_register_view();
    ui::set_status_field_text(kStatusBar, 1, texts().idle_status);
    for (int field = 2; field <= 5; ++field) ui::set_status_field_text(kStatusBar, field, "");
    ui::set_window_title(kMainWindow, texts().program_title);
}

}  // namespace

void delete_transaction(int row) {
    AppState& state = app();
    if (ui::count_items(kRegisterList) == 1) {
        delete_whole_register();
        return;
    }
    if (show_message(kMessageConfirmDelete, kMainWindow) != ui::kAnswerYes) return;
    // The row's item data names its record, wherever the row stands in the list.
    const std::int64_t record = ui::get_item_data(kRegisterList, row);
    WriteCheck check = listed_register_check();
    const IoStatus flagged = set_deleted_flag(state.register_path, record, record_format::kDeleted, &check);
    if (flagged.error() == ESTALE) {
        show_register_changed(kMainWindow);
        return;
    }
    if (!flagged) {
        show_message(kMessageRegisterNotChanged, kMainWindow, file_and_cause(state.register_path, flagged));
        return;
    }
    note_register_written(check);
    remove_register_row(row);
    recompute_balance();
    select_register_row(0);
}

}  // namespace quillet
