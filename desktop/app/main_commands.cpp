#include "desktop/app/main_commands.h"

#include "core/register/register_file.h"
#include "core/runtime/number_text.h"
#include "core/runtime/program_start.h"
#include "core/session/compaction.h"
#include "desktop/dialogs/about_window.h"
#include "desktop/dialogs/categories_window.h"
#include "desktop/dialogs/chart_dialog.h"
#include "desktop/dialogs/cleared_command.h"
#include "desktop/dialogs/command_guards.h"
#include "desktop/dialogs/delete_command.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/dialogs/due_window.h"
#include "desktop/dialogs/find_dialog.h"
#include "desktop/dialogs/import_dialog.h"
#include "desktop/dialogs/new_register_dialog.h"
#include "desktop/dialogs/options_dialog.h"
#include "desktop/dialogs/reconcile_dialog.h"
#include "desktop/dialogs/register_requester.h"
#include "desktop/dialogs/reminder_dialog.h"
#include "desktop/dialogs/report_dialog.h"
#include "desktop/dialogs/schedules_window.h"
#include "desktop/dialogs/transaction_dialog.h"
#include "desktop/dialogs/undo_command.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/filter_bar.h"
#include "desktop/views/list_filter.h"
#include "desktop/views/register_view.h"
#include "desktop/views/reminder_indicator.h"
#include "desktop/views/settings_and_exit.h"
#include "desktop/views/window_picture.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/menus.h"
#include "ui/requesters.h"

namespace quillet {

using namespace main_ids;

namespace {

void fill_again(int order_mode) {
    if (command_guard(Guard::kRegisterWithRecords)) fill_register_view(register_session().path(), order_mode);
}

void run_menu_command(int item) {
    // Return in the filter bar filters at once and goes to the list; Escape clears the bar.
    if (item == kEditTransaction && filter_bar_has_focus()) {
        filter_by_bar();
        select_register_row(app().current_row);
        return;
    }
    switch (item) {
        case kFilter:
            if (filter_bar_shown() || command_guard(Guard::kRegisterWithRecords)) toggle_filter_bar();
            break;
        case kEscapeKey: filter_bar_escape(); break;
        case kNewRegister: open_new_register_dialog(); break;
        case kOpenRegister: run_register_requester(kOpenRegisterMode); break;
        case kReminder: open_reminder_dialog(); break;
        case kOptions: open_options_dialog(); break;
        case kAbout: open_about_window(); break;
        case kSaveRegisterAs:
            if (command_guard(Guard::kRegisterWithRecords)) run_register_requester(kSaveRegisterAsMode);
            break;
        case kReport:
            if (command_guard(Guard::kRegisterWithRecords)) open_report_dialog();
            break;
        case kWindowPicture:
            if (command_guard(Guard::kRegisterWithRecords)) save_window_picture();
            break;
        case kAddTransaction:
            if (command_guard(Guard::kRegisterWithRecords)) {
                open_transaction_dialog(kNewMode, static_cast<int>(register_session().row_count()) + 1,
                                        texts().new_transaction_title);
            }
            break;
        case kEditTransaction:
            if (row_command_guards() && reconciled_change_allowed(app().current_row)) {
                open_transaction_dialog(kEditMode, register_session().slot_of(app().current_row),
                                        texts().edit_transaction_title);
            }
            break;
        case kDeleteTransaction:
            if (row_command_guards() && reconciled_change_allowed(app().current_row))
                delete_transaction(app().current_row);
            break;
        case kCleared:
            if (row_command_guards()) toggle_cleared(app().current_row);
            break;
        case kChart:
            if (command_guard(Guard::kRegisterWithRecords)) open_chart_window();
            break;
        case kSchedules:
            if (command_guard(Guard::kRegisterWithRecords)) open_schedules_window();
            break;
        case kDue:
            if (command_guard(Guard::kRegisterWithRecords)) check_what_is_due(true);
            break;
        case kCategories:
            if (command_guard(Guard::kRegisterWithRecords)) open_categories_window();
            break;
        case kScheduleThis:
            if (row_command_guards()) schedule_this(app().current_row);
            break;
        case kReconcile:
            if (command_guard(Guard::kRegisterWithRecords)) open_reconcile_window();
            break;
        case kFind:
            if (command_guard(Guard::kRegisterWithRecords)) open_find_dialog();
            break;
        case kCompactRegister:
            if (command_guard(Guard::kRegisterWithRecords)) compact_register_interactively();
            break;
        case kUndo:
            undo_register_change();
            refresh_filter_bar_lists();
            break;
        case kImport:
            if (command_guard(Guard::kRegisterWithRecords)) start_import();
            break;
        case kReadStore:
            read_store_after_painting();
            check_due_for_register();
            break;
        case kReadRegisterAgain:
            app().reading_again = false;
            if (register_session().is_open()) fill_register_view(register_session().path(), kKeepOrder);
            break;
        case kRedo:
            redo_register_change();
            refresh_filter_bar_lists();
            break;
        case kExit: save_settings_and_exit(); break;
        case kFileOrderItem: fill_again(kFileOrder); break;
        case kReverseOrderItem: fill_again(kReverseOrder); break;
        case kToggleOrderButton: fill_again(kToggleOrder); break;
        case kToolProgram: program_starter().start({app().options.tool_program}, {}); break;
        case kHelp: open_help_topic(texts().help_main_topic); break;
        case kSecondHelpTopic: open_help_topic(texts().help_second_topic); break;
        default: break;
    }
}

void handle_list_event() {
    app().current_row = static_cast<int>(list_row_of(ui::get_state(kRegisterList)));
    const bool has_rows = ui::count_items(kRegisterList) > 0;
    if (ui::event_type() == ui::kRightClick && has_rows) ui::show_popup_menu(kListPopupMenu);
    if (ui::event_type() == ui::kLeftDoubleClick && has_rows)
        ui::post_event(ui::kEventMenu, kMainWindow, kEditTransaction);
}

void open_dropped_register() {
    if (ui::event_dropped_kind() != ui::kDropFiles) return;
    fill_register_view(ui::event_dropped_file(0), kKeepOrder);
}

}  // namespace

void compact_register_interactively() {
    if (show_message(kMessageConfirmCompact, kMainWindow) != ui::kAnswerYes) return;
    const std::string path = register_session().path();
    const auto compaction = std::make_shared<Compaction>(true);
    RowChange rows;
    const SessionResult compacted = register_session().apply(compaction, rows);
    if (compacted.failed()) {
        // The register is as it was: compaction writes a new file and only then replaces the old.
        show_message(kMessageCompactFailed, kMainWindow, failure_text(compacted));
        return;
    }
    const CompactionCounts& counts = compaction->counts();
    if (!show_session_result(compacted, kMainWindow)) return;
    fill_register_view(path, kKeepOrder);
    if (counts.removed == 0) {
        show_message(kMessageNothingToCompact, kMainWindow);
    } else {
        show_message(
            kMessageNotice, kMainWindow,
            ShownText::of_text(integer_text(counts.kept) + texts().kept_after_count +
                               integer_text(counts.percent_removed()) + texts().removed_after_percent));
    }
}

void handle_main_window(int kind) {
    switch (kind) {
        case ui::kEventMenu: run_menu_command(ui::event_menu()); break;
        case ui::kEventGadget:
            if (ui::event_gadget() == kRegisterList) handle_list_event();
            handle_filter_bar_event(ui::event_gadget(), ui::event_type());
            if (ui::event_gadget() == kReminderIndicator && ui::event_type() == ui::kRightClick)
                open_reminder_file_for_editing();
            break;
        case ui::kEventGadgetDrop: open_dropped_register(); break;
        case ui::kEventTimer:
            if (ui::event_timer() == kEditorTimer) check_reminder_editor();
            if (ui::event_timer() == kDayTimer) check_new_day();
            if (ui::event_timer() == kFilterTimer) filter_by_bar();
            break;
        case ui::kEventCloseWindow: save_settings_and_exit(); break;
        default: break;
    }
}

}  // namespace quillet
