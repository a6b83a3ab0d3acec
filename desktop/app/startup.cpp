#include "desktop/app/startup.h"

#include <csignal>
#include <memory>

#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/help_viewer.h"
#include "core/runtime/instance_lock.h"
#include "core/runtime/program_folders.h"
#include "desktop/app/dispatcher.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "desktop/views/reminder_indicator.h"
#include "desktop/views/report_export.h"
#include "desktop/views/settings_and_exit.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/toolkit.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

std::string program_folder_of_this_process() {
    prepare_texts();
    return choose_program_folder(folder_part(program_file_path()),
                                 path_from_text(texts().settings_file_name));
}

namespace {

// Held from a successful start until the process ends; a second copy never gets it.
std::unique_ptr<InstanceLock>& instance_lock() {
    static std::unique_ptr<InstanceLock> lock;
    return lock;
}

}  // namespace

bool start_quillet(const std::string& program_folder) {
    // A write past the file-size limit then fails with EFBIG, which is reported like a full disk,
    // instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    ui::start_toolkit();
    prepare_texts();
    reset_app_state(program_folder);  // with a session whose undo history is this run's only
    app().package_entry = package_desktop_entry(folder_part(program_file_path()), texts().package_entry_name);
    auto lock = std::make_unique<InstanceLock>(runtime_folder(), texts().instance_name);
    // A second copy leaves at once, silently, and the first notices nothing. A lock that cannot be
    // taken for another reason (a folder that cannot be written) does not keep the program from
    // running.
    if (lock->another_holds()) return false;
    instance_lock() = std::move(lock);
    // A report's work file that a killed copy of the program left behind.
    (void)remove_if_stale(report_work_path());
    build_main_window();
    load_settings();
    refresh_reminder_indicator();
    // What falls due is looked for again when the day changes.
    ui::add_window_timer(kMainWindow, kDayTimer, 60 * 1000);
    ui::bind_event(ui::kEventSizeWindow, [](int) { main_layout(); });
    ui::set_size_bounds(kMainWindow, kInnerWidth, kInnerHeight, -1, -1);
    ui::accept_file_drops(kRegisterList);
    return true;
}

void run_event_loop() {
    while (dispatch_event(ui::wait_event()) != 0) {
    }
}

int shut_down_quillet() {
    close_help();
    (void)close_file(kAllFiles);  // none is open for writing when the program ends
    ui::stop_toolkit();
    instance_lock().reset();
    return 0;
}

int run_quillet(const std::string& program_folder) {
    if (start_quillet(program_folder)) run_event_loop();
    return shut_down_quillet();
}

}  // namespace quillet
