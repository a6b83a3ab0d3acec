#include "desktop/app/startup.h"

#include <gtest/gtest.h>

#include <csignal>

#include "core/runtime/instance_lock.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "tests/support/temp_folder.h"
#include "ui/bars.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {
namespace {

using namespace main_ids;

// The whole program, run in a temporary folder.
TEST(Startup, BuildsTheMainWindowRunsUntilItIsClosedAndEndsWithZero) {
    testing::TempFolder folder;
    ui::clear_event_queue();
    ASSERT_TRUE(start_quillet(folder.path()));
    EXPECT_EQ(app().program_folder, folder.path());
    EXPECT_EQ(app().settings_path, folder.path() + texts().settings_file_name);
    EXPECT_EQ(app().reminder_path, folder.path() + texts().reminder_file_name);
    EXPECT_EQ(app().session.path(), "");
    EXPECT_EQ(app().current_row, -1);
    EXPECT_EQ(app().running, 1);
    struct sigaction file_size_limit {};
    ASSERT_EQ(::sigaction(SIGXFSZ, nullptr, &file_size_limit), 0);
    EXPECT_EQ(file_size_limit.sa_handler, SIG_IGN) << "a write past the size limit fails, not the program";
    EXPECT_EQ(ui::window_title(kMainWindow), texts().program_title);
    EXPECT_EQ(ui::window_width(kMainWindow), kInnerWidth);
    EXPECT_EQ(ui::count_columns(kRegisterList), kColumnCount);
    EXPECT_EQ(ui::get_item_text(kRegisterList, -1, 3), texts().column_titles[3]);
    EXPECT_EQ(ui::gadget_rect(kRegisterList).width, kInnerWidth);

    // The list follows the window, which cannot shrink below its first size.
    ui::resize_window(kMainWindow, 1200, 700);
    ui::process_pending_events();
    const int bars = ui::tool_bar_height(kToolBar) + ui::status_bar_height(kStatusBar);
    EXPECT_EQ(ui::gadget_rect(kRegisterList).width, 1200);
    EXPECT_EQ(ui::gadget_rect(kRegisterList).height, 700 - bars);
    ui::resize_window(kMainWindow, 200, 100);
    ui::process_pending_events();
    EXPECT_EQ(ui::window_width(kMainWindow), kInnerWidth);
    EXPECT_EQ(ui::gadget_rect(kRegisterList).height, kInnerHeight - bars);

    ui::post_event(ui::kEventCloseWindow, kMainWindow, 0);
    run_event_loop();
    EXPECT_EQ(app().running, 0);
    EXPECT_EQ(shut_down_quillet(), 0);
    EXPECT_FALSE(ui::is_window(kMainWindow)) << "shutdown closes every window";
}

TEST(Startup, ASecondCopyEndsAtOnceWithoutAWindow) {
    testing::TempFolder folder;
    prepare_texts();
    const InstanceLock first_copy(runtime_folder(), texts().instance_name);
    ASSERT_TRUE(first_copy.held());
    EXPECT_EQ(run_quillet(folder.path()), 0);
    EXPECT_FALSE(ui::is_window(kMainWindow));
    EXPECT_EQ(app().running, 1) << "the second copy never ran its loop";
}

}  // namespace
}  // namespace quillet
