#include "desktop/dialogs/new_register_dialog.h"

#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/register_requester.h"
#include "desktop/program/message_box.h"
#include "desktop/views/register_view.h"
#include "tests/support/app_fixture.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace new_register_ids;

TEST(RegisterRequester, AppendsTheExtensionAndIgnoresTinyNames) {
    EXPECT_EQ(register_path_from_choice("/home/ann/Cash"), "/home/ann/Cash.qlt");
    EXPECT_EQ(register_path_from_choice("  /home/ann/Cash  "), "/home/ann/Cash.qlt");
    EXPECT_EQ(register_path_from_choice("/home/ann/CASH.QLT"), "/home/ann/CASH.QLT");
    EXPECT_EQ(register_path_from_choice("/home/ann/cash.qlt.bak"), "/home/ann/cash.qlt.bak.qlt");
    EXPECT_EQ(register_path_from_choice("a.ql"), "");
    EXPECT_EQ(register_path_from_choice("x"), "");
    EXPECT_EQ(register_path_from_choice(""), "");
}

using NewRegister = Program;

TEST_F(NewRegister, TheDialogOffersTheDefaultNameAndADeposit) {
    trigger(kNewRegister);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::shown_text(kName), folder.path() + texts().default_register_name);
    EXPECT_FALSE(ui::is_gadget_enabled(kName));
    EXPECT_EQ(ui::get_state(kDeposit), 1);
    EXPECT_EQ(ui::get_focus(), kAmount);
    ui::set_text(kAmount, "1x2.5.0");
    settle();
    EXPECT_EQ(ui::get_text(kAmount), "12.50");
}

TEST_F(NewRegister, CreatesAOneRecordRegisterAndOpensIt) {
    const std::string path =
        write_register("Old.qlt", {record(current_date(), 1.0f, 0), record(current_date(), 2.0f, 0)});
    trigger(kNewRegister);
    script->set_next_file_name(folder.file("Old"));
    ui::click_button(kBrowse);
    settle();
    EXPECT_EQ(ui::shown_text(kName), path);
    ui::set_text(kAmount, "250.75");
    ui::set_state(kWithdrawal, 1);
    settle();
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(messages(), std::vector<int>{kMessageConfirmReplace}) << "answered No";
    EXPECT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(count_records(path), 2);

    script->set_next_answer(ui::kAnswerYes);
    ui::click_button(kOk);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    ASSERT_EQ(count_records(path), 1);
    TransactionRecord opening;
    ASSERT_TRUE(read_record(path, 0, opening));
    EXPECT_EQ(opening.date, current_date());
    EXPECT_EQ(opening.second_date, current_date());
    EXPECT_EQ(opening.kind, 1);
    EXPECT_EQ(opening.amount, 250.75f);
    EXPECT_EQ(opening.description, texts().opening_amount_caption);
    EXPECT_EQ(app().session.path(), path);
    EXPECT_EQ(ui::window_title(kMainWindow), "Quillet - Old");
    EXPECT_EQ(cell(0, 6), "250.75");
}

// A register that cannot be written says why over the dialog, which stays open with the entry.
TEST_F(NewRegister, ACreateThatFailsKeepsTheDialogAndItsEntry) {
    trigger(kNewRegister);
    ui::set_text(kAmount, "120");
    settle();
    inject_replace_fault(ReplaceFault::kWrite);  // as a full disk would
    ui::click_button(kOk);
    settle();
    ASSERT_EQ(script->requests().size(), 1u);
    EXPECT_EQ(script->requests().back().owner_window, kWindow);
    EXPECT_EQ(last_message_text(), folder.path() + "Register.qlt\nThe disk is full.\n\n" +
                                       texts().messages[kMessageRegisterNotChanged]);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::get_text(kAmount), "120");
    EXPECT_EQ(file_size(folder.path() + "Register.qlt"), -1);
    ui::click_button(kOk);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow)) << "the same entry is saved once the disk has room";
    EXPECT_EQ(count_records(folder.path() + "Register.qlt"), 1);
}

TEST_F(NewRegister, AMissingAmountIsAsked) {
    trigger(kNewRegister);
    ui::set_text(kAmount, "   ");
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(messages(), std::vector<int>{kMessageNewRegisterMissing});
    EXPECT_TRUE(ui::is_window(kWindow));
}

TEST_F(NewRegister, OpeningAMissingFileSaysSo) {
    const std::string path = write_register("Savings.qlt", {record(current_date(), 3.0f, 0)});
    script->set_next_file_name(folder.file("Savings"));
    trigger(kOpenRegister);
    EXPECT_EQ(app().session.path(), path);
    script->set_next_file_name(folder.file("Nothing here"));
    trigger(kOpenRegister);
    EXPECT_EQ(last_message_text(), folder.file("Nothing here.qlt") + "\n" + texts().missing_file + "\n\n" +
                                       texts().messages[kMessageNotARegister]);
    EXPECT_EQ(messages(), std::vector<int>{kMessageNotARegister});
    EXPECT_EQ(app().session.path(), path);
    script->set_next_file_name("abc");
    trigger(kOpenRegister);
    EXPECT_TRUE(messages().empty());
}

TEST_F(NewRegister, SaveAsCopiesAndGoesOnUnderTheNewName) {
    const std::string path =
        write_register("Cash.qlt", {record(current_date(), 3.0f, 0), record(current_date(), 4.0f, 0)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    script->set_next_file_name(path);
    trigger(kSaveRegisterAs);
    EXPECT_EQ(messages(), std::vector<int>{kMessageConfirmReplace}) << "its own name exists";
    EXPECT_EQ(app().session.path(), path);

    script->set_next_file_name(folder.file("Copy"));
    trigger(kSaveRegisterAs);
    EXPECT_EQ(read_file(folder.file("Copy.qlt")), read_file(path));
    EXPECT_EQ(app().session.path(), folder.file("Copy.qlt"));
    EXPECT_EQ(ui::window_title(kMainWindow), "Quillet - Copy");

    // The copy is the register now: a delete goes to it, unhindered, and undo stays with it.
    const std::string original = read_file(path);
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    EXPECT_EQ(messages(), std::vector<int>{kMessageConfirmDelete});
    EXPECT_EQ(ui::count_items(kRegisterList), 1);
    EXPECT_EQ(read_file(path), original);
    trigger(kUndo);
    EXPECT_EQ(read_file(folder.file("Copy.qlt")), original);
}

}  // namespace
}  // namespace quillet::testing
