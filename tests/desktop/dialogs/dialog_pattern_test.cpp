#include "desktop/dialogs/dialog_pattern.h"

#include <QTest>

#include "desktop/program/message_box.h"
#include "desktop/views/register_view.h"
#include "tests/support/app_fixture.h"
#include "ui/toolkit_internal.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

constexpr int kDialog = 202;
constexpr int kCancel = 410;

class DialogPattern : public Program {
  protected:
    void open_test_dialog() {
        open_dialog(kDialog, 300, 200, "Test dialog");
        ui::create_option(401, 10, 10, 100, 20, "Deposit");
        ui::create_option(402, 10, 30, 100, 20, "Withdrawal");
        ui::create_option(403, 10, 50, 100, 20, "Transfer");
        ui::create_string(404, 10, 80, 100, 20, "");
        ui::create_check_box(405, 10, 110, 100, 20, "Void");
        ui::create_button(kCancel, 200, 160, 80, 24, "Cancel");
        install_dialog_shortcuts(kDialog, kCancel, kCancel, kCancel + 1);
        ASSERT_TRUE(QTest::qWaitForWindowActive(ui::detail::window_widget(kDialog)));
        settle();
    }
};

TEST_F(DialogPattern, ADialogDisablesTheMainWindowAndItsClosingGivesTheListBack) {
    const std::string path =
        write_register("two.qlt", {record(current_date(), 5.0f, 0), record(current_date(), 2.0f, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    ui::set_state(kRegisterList, 1);
    settle();
    ASSERT_EQ(app().current_row, 1);
    open_test_dialog();
    EXPECT_FALSE(ui::is_window_enabled(kMainWindow));
    EXPECT_EQ(ui::get_focus(), kCancel);
    ui::set_item_colour(kRegisterList, -1, ui::kFrontColour, 0, 6);

    QTest::keyClick(ui::detail::window_widget(kDialog), Qt::Key_Escape);
    ASSERT_EQ(ui::wait_event_for(1000), ui::kEventMenu);
    EXPECT_EQ(ui::event_menu(), kCancel);
    EXPECT_EQ(ui::event_window(), kDialog);
    close_dialog(kDialog);
    EXPECT_FALSE(ui::is_window(kDialog));
    EXPECT_TRUE(ui::is_window_enabled(kMainWindow));
    EXPECT_EQ(ui::get_state(kRegisterList), 1);
    EXPECT_EQ(ui::get_item_colour(kRegisterList, 0, ui::kFrontColour, 6), 0x0000FF)
        << "withdrawals are red again";
}

TEST_F(DialogPattern, CtrlTabCyclesTheOptionsAndWrapsAround) {
    open_test_dialog();
    ui::set_state(403, 1);
    cycle_options(401, 403);
    EXPECT_EQ(ui::get_state(401), 1);
    EXPECT_EQ(ui::get_focus(), 401);
    cycle_options(401, 403);
    EXPECT_EQ(ui::get_state(402), 1);
    EXPECT_EQ(ui::get_state(401), 0);
    QTest::keyClick(ui::detail::gadget_widget(402), Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(ui::wait_event_for(1000), ui::kEventMenu);
    EXPECT_EQ(ui::event_menu(), kDialogNextOption);
}

TEST_F(DialogPattern, ReturnClicksTheFocusedGadget) {
    open_test_dialog();
    ui::set_focus(405);
    click_focused_gadget();
    EXPECT_EQ(ui::get_state(405), 1) << "a check box toggles";
    ui::set_focus(404);
    ui::set_text(404, "typed");
    settle();
    click_focused_gadget();
    EXPECT_EQ(ui::queued_event_count(), 0) << "a string field ignores the click";
    ui::set_focus(kCancel);
    QTest::keyClick(ui::detail::gadget_widget(kCancel), Qt::Key_Return);
    ASSERT_EQ(ui::wait_event_for(1000), ui::kEventMenu);
    EXPECT_EQ(ui::event_menu(), kDialogReturn);
    click_focused_gadget();
    ASSERT_EQ(ui::wait_event_for(1000), ui::kEventGadget);
    EXPECT_EQ(ui::event_gadget(), kCancel);
}

TEST_F(DialogPattern, MessagesPutTheExtraTextFirst) {
    show_message(kMessageNoRegister, kMainWindow);
    EXPECT_EQ(last_message_text(), texts().messages[0]);
    show_message(kMessageReadOnly, kMainWindow, ShownText::of_path("/home/ann/Cash.qlt"));
    EXPECT_EQ(last_message_text(), "/home/ann/Cash.qlt" + texts().message_separator + texts().messages[9]);
    EXPECT_EQ(script->requests().back().caption, "Quillet");
    EXPECT_EQ(script->requests().back().style, ui::MessageStyle::kInformation);
    script->set_next_answer(ui::kAnswerYes);
    EXPECT_EQ(show_message(kMessageConfirmDelete, kMainWindow), ui::kAnswerYes);
    EXPECT_EQ(script->requests().back().style, ui::MessageStyle::kQuestion);
    EXPECT_EQ(show_message(kMessageConfirmDeleteLast, kMainWindow), ui::kAnswerNo);
    EXPECT_EQ(messages(), (std::vector<int>{0, 9, 3, 11}));
}

}  // namespace
}  // namespace quillet::testing
