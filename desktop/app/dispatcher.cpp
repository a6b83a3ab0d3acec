#include "desktop/app/dispatcher.h"

#include "desktop/app/main_commands.h"
#include "desktop/dialogs/about_window.h"
#include "desktop/dialogs/categories_window.h"
#include "desktop/dialogs/chart_dialog.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/due_window.h"
#include "desktop/dialogs/find_dialog.h"
#include "desktop/dialogs/import_dialog.h"
#include "desktop/dialogs/new_register_dialog.h"
#include "desktop/dialogs/options_dialog.h"
#include "desktop/dialogs/reconcile_dialog.h"
#include "desktop/dialogs/reminder_dialog.h"
#include "desktop/dialogs/report_dialog.h"
#include "desktop/dialogs/schedule_editor.h"
#include "desktop/dialogs/schedules_window.h"
#include "desktop/dialogs/split_window.h"
#include "desktop/dialogs/transaction_dialog.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "ui/events.h"

namespace quillet {

int dispatch_event(int kind) {
    switch (ui::event_window()) {
        case main_ids::kMainWindow: handle_main_window(kind); break;
        case new_register_ids::kWindow: handle_new_register_dialog(kind); break;
        case transaction_ids::kWindow: handle_transaction_dialog(kind); break;
        case find_ids::kWindow: handle_find_dialog(kind); break;
        case report_ids::kWindow: handle_report_dialog(kind); break;
        case options_ids::kWindow: handle_options_dialog(kind); break;
        case about_ids::kWindow: handle_about_window(kind); break;
        case reminder_ids::kWindow: handle_reminder_dialog(kind); break;
        case import_ids::kWindow: handle_import_dialog(kind); break;
        case reconcile_ids::kWindow: handle_reconcile_window(kind); break;
        case chart_ids::kWindow: handle_chart_window(kind); break;
        case schedules_ids::kWindow: handle_schedules_window(kind); break;
        case schedule_editor_ids::kWindow: handle_schedule_editor(kind); break;
        case due_ids::kWindow: handle_due_window(kind); break;
        case split_ids::kWindow: handle_split_window(kind); break;
        case categories_ids::kWindow: handle_categories_window(kind); break;
        default: break;
    }
    return app().running;
}

}  // namespace quillet
