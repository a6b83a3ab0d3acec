#include "app/dispatcher.h"

#include "app/app_state.h"
#include "app/exit_procedure.h"
#include "app/main_window_ids.h"
#include "ui/events.h"

namespace quillet {
namespace {

void handle_main_window(int kind) {
    switch (kind) {
        case ui::kEventCloseWindow:
            run_exit_procedure();
            break;
        case ui::kEventMenu:
            if (ui::event_menu() == main_ids::kExit) run_exit_procedure();
            break;
        default:
            break;
    }
}

}  // namespace

int dispatch_event(int kind) {
    switch (ui::event_window()) {
        case main_ids::kMainWindow:
            handle_main_window(kind);
            break;
        default:
            break;
    }
    return app().running;
}

}  // namespace quillet
