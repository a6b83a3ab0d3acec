#include "app/startup.h"

#include "app/app_state.h"
#include "app/dispatcher.h"
#include "app/main_window.h"
#include "app/main_window_ids.h"
#include "app/texts.h"
#include "runtime/file_access.h"
#include "runtime/help_viewer.h"
#include "runtime/instance_lock.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/toolkit.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

std::string program_folder_of_this_process() { return folder_part(program_file_path()); }

int run_quillet(const std::string& program_folder) {
    ui::start_toolkit();
    prepare_texts();
    reset_app_state(program_folder);

    // Held until the process ends; a second copy leaves at once, silently.
    const InstanceLock instance(runtime_folder(), texts().instance_name);
    if (instance.held()) {
        build_main_window();
        ui::bind_event(ui::kEventSizeWindow, [](int) { main_layout(); });
        ui::set_size_bounds(kMainWindow, kInnerWidth, kInnerHeight, -1, -1);
        ui::accept_file_drops(kRegisterList);
        while (dispatch_event(ui::wait_event()) != 0) {
        }
    }

    close_help();
    close_file(kAllFiles);
    ui::stop_toolkit();
    return 0;
}

}  // namespace quillet
