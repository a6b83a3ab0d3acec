#include "desktop/dialogs/command_guards.h"

#include "core/register/register_file.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "ui/gadgets.h"

namespace quillet {

bool command_guard(Guard guard) {
    bool passes = false;
    switch (guard) {
        case Guard::kRegisterWithRecords: passes = count_records(app().session.path()) > 0; break;
        case Guard::kListHasRows: passes = ui::count_items(main_ids::kRegisterList) > 0; break;
        case Guard::kRowSelected: passes = ui::get_state(main_ids::kRegisterList) >= 0; break;
    }
    if (!passes) {
        show_message(guard == Guard::kRegisterWithRecords ? kMessageNoRegister : kMessageNoRow,
                     main_ids::kMainWindow);
    }
    return passes;
}

bool row_command_guards() {
    return command_guard(Guard::kRegisterWithRecords) && command_guard(Guard::kListHasRows) &&
           command_guard(Guard::kRowSelected);
}

}  // namespace quillet
