#include "app/exit_procedure.h"

#include "app/app_state.h"
#include "app/main_window_ids.h"
#include "runtime/program_start.h"
#include "ui/windows.h"

namespace quillet {

void run_exit_procedure() {
    AppState& state = app();
    if (state.editor_process != 0) {
        terminate_program(state.editor_process);
        release_program(state.editor_process);
        state.editor_process = 0;
    }
    ui::disable_window(main_ids::kMainWindow, 1);
    state.running = 0;
}

}  // namespace quillet
