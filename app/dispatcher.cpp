#include "app/dispatcher.h"

#include "app/app_state.h"
#include "app/main_commands.h"
#include "app/main_window_ids.h"
#include "ui/events.h"

namespace quillet {

int dispatch_event(int kind) {
    switch (ui::event_window()) {
        case main_ids::kMainWindow:
            handle_main_window(kind);
            break;
        default:
            break;  // the dialogs' windows join as their dialogs are built
    }
    return app().running;
}

}  // namespace quillet
