#include "desktop/dialogs/delete_command.h"

#include "core/register/register_file.h"
#include "core/runtime/file_access.h"
#include "desktop/dialogs/undo_command.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "ui/bars.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

namespace {

// Every byte of the register and the bytes of the row's record, so that undo can put them back.
IoStatus remember_register(const std::string& path, std::int64_t slot, RegisterChange& change) {
    change.kind = ChangeKind::kDeleteRegister;
    change.slot = slot;
    if (const IoStatus read = read_record_bytes(path, slot, change.after); !read) return read;
    change.before = change.after;
    return visit_records(path, [&change](std::int64_t, const std::uint8_t* record) {
        change.removed_file.append(reinterpret_cast<const char*>(record), record_format::kRecordSize);
        return true;
    });
}

void delete_whole_register(int row) {
    AppState& state = app();
    if (show_message(kMessageConfirmDeleteLast, kMainWindow) != ui::kAnswerYes) return;
    const std::string path = state.register_path;
    WriteCheck check = listed_register_check();
    RegisterChange change;
    IoStatus deleted = remember_register(path, ui::get_item_data(kRegisterList, row), change);
    // A register file that will not go stays open and shown, so that nothing seems lost that is not.
    if (deleted) deleted = delete_file(path, kDeleteReadOnly);
    if (!deleted) {
        show_message(kMessageRegisterNotChanged, kMainWindow, file_and_cause(path, deleted));
        return;
    }
    check.after = file_stamp(path);
    note_register_change(std::move(change), check);
    show_no_register();
}

}  // namespace

void delete_transaction(int row) {
    AppState& state = app();
    if (ui::count_items(kRegisterList) == 1) {
        delete_whole_register(row);
        return;
    }
    if (show_message(kMessageConfirmDelete, kMainWindow) != ui::kAnswerYes) return;
    // The row's item data names its record, wherever the row stands in the list.
    const std::int64_t record = ui::get_item_data(kRegisterList, row);
    WriteCheck check = listed_register_check();
    RegisterChange change;
    change.kind = ChangeKind::kDelete;
    change.slot = record;
    const IoStatus flagged =
        set_deleted_flag(state.register_path, record, record_format::kDeleted, &check, &change.before);
    if (flagged.error() == ESTALE) {
        show_register_changed(kMainWindow);
        return;
    }
    if (!flagged) {
        show_message(kMessageRegisterNotChanged, kMainWindow, file_and_cause(state.register_path, flagged));
        return;
    }
    note_register_written(check);
    change.after = change.before;
    change.after[record_format::kDeletedOffset] = record_format::kDeleted;
    note_register_change(std::move(change), check);
    remove_register_row(row);
    recompute_balance();
    select_register_row(0);
}

}  // namespace quillet
