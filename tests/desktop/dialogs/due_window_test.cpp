// What fell due as the user meets it: a register opened three months after its schedules began
// lists every missed occurrence grouped under its schedule, enters what enters itself unasked,
// takes a changed amount, enters the ticked lines in one step that undo takes back, and skips the
// rest for good.
#include "desktop/dialogs/due_window.h"
#include "core/session/put_schedule.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/program/message_box.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"
#include "ui/requesters.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace due_ids;

Schedule monthly(const char* payee, std::int64_t cents, DateValue first, std::int32_t day) {
    Schedule schedule;
    schedule.type = "Check";
    schedule.payee = payee;
    schedule.cents = cents;
    schedule.rule = {first, Repeat::kMonthsOnDay, 1, day};
    return schedule;
}

class DueWindow : public Program {
  protected:
    void add_schedule(const Schedule& schedule) {
        RowChange none;
        ASSERT_TRUE(register_session().apply(std::make_shared<PutSchedule>(schedule), none).done());
    }
    static std::vector<std::string> list_column(int at) { return column(at, kList); }
};

TEST_F(DueWindow, AThreeMonthAbsenceIsListedEnteredOnceAndTakenBack) {
    const std::string path = open_register({record(make_date(2026, 8, 1), 5000.0f, 0)});
    // Today is 2026/12/08: rent on the 31st since August, a phone bill that enters itself.
    add_schedule(monthly("Rent", 145000, make_date(2026, 8, 31), 31));
    Schedule phone = monthly("Phone", 4500, make_date(2026, 10, 15), 15);
    phone.enters_itself = true;
    add_schedule(phone);
    trigger(kDue);
    ASSERT_TRUE(ui::is_window(kWindow));
    // The phone bill entered itself (two months), and the status bar says so.
    EXPECT_EQ(register_session().row_count(), 3);
    EXPECT_EQ(ui::status_field_text(kStatusBar, kScheduleField),
              "2 scheduled transactions entered.   Balance falls to -2385.00 on 2026/12/31");
    // Rent: a heading, then each month's last day in order, the 31st where the month has one.
    EXPECT_EQ(list_column(0),
              (std::vector<std::string>{"", "2026/08/31", "2026/09/30", "2026/10/31", "2026/11/30"}));
    EXPECT_EQ(list_column(3), (std::vector<std::string>{"4 due", "99 days late", "69 days late",
                                                        "38 days late", "8 days late"}));
    // The last one's amount changed before entering; September's unticked.
    ui::set_state(kList, 4);
    settle();
    ui::set_text(kAmount, "1460.50");
    ui::set_state(kList, 2);
    settle();
    activate(kWindow);
    ui::set_focus(kList);
    press(Qt::Key_Space);
    EXPECT_EQ(ui::get_item_text(kList, 4, 2), "-1460.50");
    ui::click_button(kEnter);
    settle();
    EXPECT_EQ(register_session().row_count(), 6);
    EXPECT_EQ(ui::menu_item_text(kMenuBar, kUndo), "&Undo entry of 3 transactions\tAlt+Backspace");
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(list_column(0), std::vector<std::string>{"2026/09/30"});
    // Skipped, September never falls due again.
    ui::click_button(kSkip);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    // Deleting an entered one asks what becomes of its occurrence: No makes it due again, and undo
    // takes both back.
    (void)messages();
    const int last = ui::count_items(kRegisterList) - 1;
    ui::set_state(kRegisterList, last);
    app().current_row = last;
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    EXPECT_EQ(messages(), (std::vector<int>{kMessageConfirmDelete, kMessageScheduledDelete}));
    EXPECT_EQ(app().due_waiting, 1u);
    trigger(kUndo);
    EXPECT_EQ(app().due_waiting, 0u);
    trigger(kDue);
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_EQ(last_message_text().find("Nothing scheduled is due."), 0u);

    // Undo takes the skip back, then the entry: three months are due again, none entered twice.
    trigger(kUndo);
    trigger(kUndo);
    EXPECT_EQ(register_session().row_count(), 3);
    trigger(kDue);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::count_items(kList), 5);
    ui::click_button(kLater);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_EQ(app().due_waiting, 4u);
    (void)path;
}

}  // namespace
}  // namespace quillet::testing
