// The schedule editor as the user meets it: Schedule this... starts a monthly schedule from the
// selected transaction (the 31st falls on February's last day and returns), the next five due days
// follow the rule as it changes, a rule that never falls due is refused with its reason, and what is
// saved is listed in the schedules window and taken back by undo.
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/program/message_box.h"
#include "tests/support/app_fixture.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace schedule_editor_ids;

TEST_F(Program, TheScheduleEditorStartsFromATransactionAndShowsTheNextDueDays) {
    TransactionRecord rent = record(make_date(2026, 1, 31), 1450.0f, 1);
    rent.payee = "Landlord";
    open_register({rent});
    ui::set_state(kRegisterList, 0);
    app().current_row = 0;
    trigger(kScheduleThis);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::get_text(kPayee), "Landlord");
    EXPECT_EQ(ui::get_text(kAmount), "1450.00");
    EXPECT_EQ(ui::get_text(kNextDue), "Next due: 2026/02/28, 2026/03/31, 2026/04/30, 2026/05/31, 2026/06/30");
    // Every 0 months never falls due: said below the rule, and refused when saved.
    ui::set_text(kEvery, "0");
    settle();
    EXPECT_EQ(ui::get_text(kNextDue), "Every is a count of 1 or more.");
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(last_message_text().find("Every is a count of 1 or more."), 0u);
    EXPECT_EQ(messages(), std::vector<int>{kMessageScheduleRefused});
    // Every 2 months, three times, a weekend day moved to the Friday before.
    ui::set_text(kEvery, "2");
    ui::set_state(kEnds, 2);
    ui::set_text(kCount, "3");
    ui::set_state(kWeekend, 1);
    settle();
    EXPECT_EQ(ui::get_text(kNextDue), "Next due: 2026/02/27, 2026/04/30, 2026/06/30");
    ui::click_button(kOk);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    trigger(kSchedules);
    ASSERT_TRUE(ui::is_window(schedules_ids::kWindow));
    ASSERT_EQ(ui::count_items(schedules_ids::kList), 1);
    EXPECT_EQ(ui::get_item_text(schedules_ids::kList, 0, 0), "2026/02/27");
    EXPECT_EQ(ui::get_item_text(schedules_ids::kList, 0, 3),
              "every 2 months on day 31, 3 times, a weekend day to the Friday before");
    ui::post_event(ui::kEventMenu, schedules_ids::kWindow, schedules_ids::kClose);
    settle();
    trigger(kUndo);
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    ASSERT_TRUE(register_session().look_up_schedules(schedules, used));
    EXPECT_TRUE(schedules.empty());
}

}  // namespace
}  // namespace quillet::testing
