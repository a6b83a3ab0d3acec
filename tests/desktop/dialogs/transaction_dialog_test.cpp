#include "desktop/dialogs/transaction_dialog.h"

#include <sys/stat.h>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "desktop/dialogs/amount_filter.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/views/register_view.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"
#include "ui/toolkit_internal.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace transaction_ids;

TEST(AmountFilter, KeepsDigitsAndTheFirstFullStop) {
    const struct {
        const char* typed;
        int caret;
        const char* text;
        int caret_after;
    } cases[] = {
        {"12a.3.4", 7, "12.34", 5}, {"12a", 3, "12", 2},   {"a12", 1, "12", 0}, {"1.2.3", 2, "1.23", 2},
        {"-5", 2, "5", 1},          {"1,50", 4, "150", 3}, {"", 0, "", 0},      {"..", 2, ".", 1},
        {"1x2", 1, "12", 1},
    };
    for (const auto& c : cases) {
        const FilteredAmount filtered = filter_amount(c.typed, c.caret);
        EXPECT_EQ(filtered.text, c.text) << c.typed;
        EXPECT_EQ(filtered.caret, c.caret_after) << c.typed;
    }
}

TEST(NumberProposal, PadsShortNumbersAndStopsAtTenThousand) {
    prepare_texts();
    EXPECT_EQ(proposed_number(9), texts().number_pads[0] + "9");
    EXPECT_EQ(proposed_number(10), texts().number_pads[1] + "10");
    EXPECT_EQ(proposed_number(100), texts().number_pads[2] + "100");
    EXPECT_EQ(proposed_number(9999), texts().number_pads[3] + "9999");
    EXPECT_EQ(proposed_number(10000), "");
}

class TransactionDialog : public Program {
  protected:
    void fill_and_save(const std::string& type, const std::string& amount) {
        ui::set_text(kType, type);
        ui::set_text(kPayee, "Grocer");
        ui::set_text(kDescription, "Food");
        ui::set_text(kAmount, amount);
        settle();
        ui::click_button(kOk);
        settle();
    }
};

TEST_F(TransactionDialog, ANewTransactionStartsAsAWithdrawalDatedNow) {
    std::vector<TransactionRecord> eight(8, record(current_date(), 1.0f, 0));
    open_register(eight);
    app().pick_lists[kTypeList] = {"Check", "Debit"};
    trigger(kAddTransaction);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_FALSE(ui::is_window_enabled(kMainWindow));
    EXPECT_EQ(ui::window_title(kWindow), texts().new_transaction_title);
    EXPECT_EQ(ui::get_text(kNumber), texts().number_pads[0] + "9");
    EXPECT_EQ(ui::get_state(kDate), current_date());
    EXPECT_EQ(ui::get_state(kWithdrawal), 1);
    EXPECT_EQ(ui::get_state(kDeposit), 0);
    EXPECT_EQ(ui::get_text(kType), "");
    EXPECT_EQ(ui::count_items(kType), 2);
    EXPECT_EQ(ui::get_text(kPayee), "");
    EXPECT_EQ(ui::get_state(kVoid), 0);
    EXPECT_EQ(ui::get_state(kHasSecondDate), 0);
    EXPECT_FALSE(ui::is_gadget_enabled(kSecondDate));
    EXPECT_EQ(ui::get_focus(), kCancel);
    EXPECT_EQ(ui::get_attribute(kAmount, ui::kAttributeTextLimit), 7);
    EXPECT_EQ(ui::get_attribute(kPayee, ui::kAttributeTextLimit), 48);
}

TEST_F(TransactionDialog, ANewTransactionGoesAfterTheDeletedRecordsToo) {
    const std::string path =
        open_register({record(current_date(), 10.0f, 0), record(current_date(), 2.0f, 1, 0, 1),
                       record(current_date(), 3.0f, 1)});
    trigger(kAddTransaction);
    fill_and_save("  ATM  ", "5");
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(count_records(path), 4);
    TransactionRecord saved;
    ASSERT_TRUE(read_record(path, 3, saved));
    EXPECT_EQ(saved.record_number, 3);
    EXPECT_EQ(saved.type, "  ATM  ") << "stored as typed";
    EXPECT_EQ(saved.amount, 5.0f);
    EXPECT_EQ(saved.kind, 1);
    EXPECT_EQ(saved.second_date, 0);
    EXPECT_EQ(ui::count_items(kRegisterList), 3);
    EXPECT_EQ(register_session().slot_of(2), 3) << "the record number, not the row";
    EXPECT_EQ(cell(2, 6), "5.00");
    EXPECT_EQ(cell(2, 7), "2.00");
    EXPECT_EQ(app().current_row, 2);
    EXPECT_EQ(app().pick_lists[kTypeList], std::vector<std::string>{"ATM"});
    EXPECT_TRUE(ui::is_window_enabled(kMainWindow));
}

TEST_F(TransactionDialog, EmptyFieldsKeepTheDialogOpen) {
    open_register({record(current_date(), 10.0f, 0)});
    trigger(kAddTransaction);
    fill_and_save("   ", "5");
    EXPECT_EQ(messages(), std::vector<int>{2});
    EXPECT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::get_text(kPayee), "Grocer") << "the dialog keeps what was typed";
    ui::set_text(kType, "Check");
    ui::set_text(kAmount, ".");
    settle();
    ui::click_button(kOk);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow)) << "an amount of a lone full stop is 0 and passes";
}

TEST_F(TransactionDialog, TheSecondDateCountsOnlyWhileItsBoxIsTicked) {
    const std::string path = open_register({record(make_date(2026, 12, 1, 8, 15, 0), 10.0f, 0)});
    trigger(kEditTransaction);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::window_title(kWindow), texts().edit_transaction_title);
    EXPECT_EQ(ui::get_state(kHasSecondDate), 0);
    EXPECT_FALSE(ui::is_gadget_enabled(kSecondDate));
    EXPECT_EQ(ui::get_state(kDate), make_date(2026, 12, 1, 8, 15, 0));
    EXPECT_EQ(ui::get_text(kAmount), "10.00");
    EXPECT_EQ(ui::get_state(kDeposit), 1);
    ui::click_button(kHasSecondDate);
    settle();
    EXPECT_TRUE(ui::is_gadget_enabled(kSecondDate));
    ui::set_state(kSecondDate, make_date(2026, 12, 24, 8, 15, 0));
    ui::click_button(kHasSecondDate);
    settle();
    EXPECT_FALSE(ui::is_gadget_enabled(kSecondDate));
    ui::click_button(kOk);
    settle();
    TransactionRecord saved;
    ASSERT_TRUE(read_record(path, 0, saved));
    EXPECT_EQ(saved.second_date, 0);
}

TEST_F(TransactionDialog, AVoidRecordOpensWithItsFieldsDisabled) {
    TransactionRecord voided = record(current_date(), 10.0f, 1, 1);
    voided.second_date = make_date(2026, 12, 20);
    open_register({voided, record(current_date(), 1.0f, 0)});
    ui::set_state(kRegisterList, 0);
    settle();
    trigger(kEditTransaction);
    EXPECT_EQ(ui::get_state(kVoid), 1);
    EXPECT_EQ(ui::get_focus(), kVoid);
    for (int gadget = kDate; gadget <= kSecondDate; ++gadget)
        EXPECT_FALSE(ui::is_gadget_enabled(gadget)) << gadget;
    EXPECT_EQ(ui::get_state(kHasSecondDate), 0) << "the void toggle clears the second date";
    ui::click_button(kVoid);
    settle();
    for (int gadget = kDate; gadget < kSecondDate; ++gadget)
        EXPECT_TRUE(ui::is_gadget_enabled(gadget)) << gadget;
    EXPECT_FALSE(ui::is_gadget_enabled(kSecondDate));
}

TEST_F(TransactionDialog, TheAmountFieldFiltersWhatIsTyped) {
    open_register({record(current_date(), 10.0f, 0)});
    trigger(kAddTransaction);
    ui::set_text(kAmount, "12a.3.4");
    settle();
    EXPECT_EQ(ui::get_text(kAmount), "12.34");
    EXPECT_EQ(ui::get_selection(kAmount), (std::pair<int, int>{5, 5}));
}

TEST_F(TransactionDialog, AnUnchangedEditRewritesTheSameBytes) {
    const std::string path =
        open_register({record(current_date(), 18.99f, 1), record(current_date(), 1.0f, 0)});
    const std::string before = read_file(path);
    const std::string row = ui::get_item_text(kRegisterList, 0, 3);
    trigger(kEditTransaction);
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(ui::get_item_text(kRegisterList, 0, 3), row);
    EXPECT_EQ(cell(0, 6), "18.99");
}

// An imported transaction without a number or a memo can be re-dated: a field it already had empty
// may stay so; a field emptied by the edit may not.
TEST_F(TransactionDialog, AnEditMayLeaveEmptyWhatTheRecordHadEmpty) {
    TransactionRecord imported = record(make_date(2025, 3, 2), 84.0f, 1);
    imported.number.clear();
    imported.description.clear();
    const std::string path = open_register({imported});
    trigger(kEditTransaction);
    ui::set_state(kDate, make_date(2025, 3, 3));
    ui::click_button(kOk);
    settle();
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_EQ(cell(0, 0), "2025/03/03");

    trigger(kEditTransaction);
    ui::set_text(kPayee, "");
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(messages(), std::vector<int>{2}) << "the payee was there before";
    EXPECT_TRUE(ui::is_window(kWindow));
}

TEST_F(TransactionDialog, CancelWritesNothingButKeepsThePickListOrder) {
    TransactionRecord edited = record(current_date(), 1.0f, 0);
    edited.payee = "Landlord";
    const std::string path = open_register({edited});
    const std::string before = read_file(path);
    app().pick_lists[kPayeeList] = {"Grocer", "Landlord", "Station"};
    trigger(kEditTransaction);
    EXPECT_EQ(ui::get_text(kPayee), "Landlord");
    ui::set_text(kPayee, "Someone else");
    ui::post_event(ui::kEventMenu, kWindow, kCancel);  // Escape
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(app().pick_lists[kPayeeList], (std::vector<std::string>{"Landlord", "Grocer", "Station"}));
}

// A failed write says why over the dialog, which stays open with everything typed, so that the
// entry can be saved once the cause is gone.
TEST_F(TransactionDialog, AWriteThatFailsKeepsTheEntryToSaveAgain) {
    const std::string path = open_register({record(current_date(), 10.0f, 0)});
    const std::string before = read_file(path);
    const std::string balance = ui::status_field_text(kStatusBar, 2);
    ::chmod(path.c_str(), 0444);
    trigger(kAddTransaction);
    fill_and_save("Check", "5");
    ASSERT_EQ(script->requests().size(), 1u);
    EXPECT_EQ(script->requests().back().owner_window, kWindow);
    EXPECT_EQ(last_message_text(),
              path + "\nPermission denied.\n\n" + texts().messages[kMessageRegisterNotChanged]);
    EXPECT_EQ(messages(), std::vector<int>{kMessageRegisterNotChanged});
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(ui::count_items(kRegisterList), 1);
    EXPECT_EQ(ui::status_field_text(kStatusBar, 2), balance);
    EXPECT_TRUE(app().pick_lists[kTypeList].empty());
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::get_text(kType), "Check");
    EXPECT_EQ(ui::get_text(kAmount), "5");

    ::chmod(path.c_str(), 0644);
    ui::click_button(kOk);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_TRUE(ui::is_window_enabled(kMainWindow));
    EXPECT_EQ(count_records(path), 2);
    EXPECT_EQ(cell(1, 6), "5.00");
}

// What the program puts into a field is never cut to what the user may type there.
TEST_F(TransactionDialog, AnUnchangedEditRewritesTheSameRecord) {
    std::vector<TransactionRecord> records;
    for (const float amount : {12345678.0f, 10000.05f, 167772.16f})
        records.push_back(record(current_date(), amount, 1));
    records[0].number = std::string(48, '7');
    records[1].payee = std::string(48, 'P');
    records[2].description = std::string(48, 'D');
    const std::string path = open_register(records);
    const std::string before = read_file(path);
    for (int row = 0; row < 3; ++row) {
        select_register_row(row);
        trigger(kEditTransaction);
        ASSERT_TRUE(ui::is_window(kWindow));
        ui::click_button(kOk);
        settle();
        EXPECT_FALSE(ui::is_window(kWindow)) << row;
    }
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(column(6), (std::vector<std::string>{"12345678.00", "10000.05", "167772.16"}));

    // The limit still holds for what the user types: an over-long text takes no more characters.
    select_register_row(0);
    trigger(kEditTransaction);
    QLineEdit* amount = qobject_cast<QLineEdit*>(ui::detail::gadget_widget(kAmount));
    ASSERT_NE(amount, nullptr);
    amount->setFocus();
    amount->end(false);
    QTest::keyClicks(amount, "9");
    EXPECT_EQ(ui::get_text(kAmount), "12345678.00");
    QTest::keyClick(amount, Qt::Key_Backspace);
    EXPECT_EQ(ui::get_text(kAmount), "12345678.0") << "deleting still works";
    amount->selectAll();
    QTest::keyClicks(amount, "123456789");
    EXPECT_EQ(ui::get_text(kAmount), "1234567") << "typing over it keeps to seven characters";
}

// A register from another program may hold control characters in its texts: the row keeps its
// columns (a line feed is not taken for the next column), shows a visible mark, and an unchanged
// edit still writes the original bytes.
TEST_F(TransactionDialog, ControlCharactersInTextsNeitherShiftColumnsNorChange) {
    TransactionRecord odd = record(current_date(), 12.5f, 0);
    odd.payee = "Smith\nJones";
    odd.description = "tab\there";
    const std::string path = open_register({odd, record(current_date(), 2.0f, 1)});
    const std::string before = read_file(path);
    EXPECT_EQ(cell(0, 3), "Smith\xB6Jones");
    EXPECT_EQ(cell(0, 4), "tab\xB6here");
    EXPECT_EQ(cell(0, 5), "12.50") << "the deposit stays in its column";
    EXPECT_EQ(column(7), (std::vector<std::string>{"12.50", "10.50"}));
    select_register_row(0);
    trigger(kEditTransaction);
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(read_file(path), before);
}

// A character the register's code page lacks shows as "?" the moment it is typed or pasted, as it will be
// stored; the code page's own letters stay.
TEST_F(TransactionDialog, WhatTheRegisterCannotHoldShowsAsItWillBeStored) {
    open_register({record(current_date(), 1.0f, 0)});
    trigger(kAddTransaction);
    auto* payee = static_cast<QComboBox*>(ui::detail::gadget_widget(kPayee));
    payee->lineEdit()->insert(
        QString::fromUtf8("\xD0\x9F\xD1\x80\xD0\xB8 Caf\xC3\xA9 \xE2\x82\xAC\xF0\x9F\x98\x80!"));
    EXPECT_EQ(payee->currentText().toStdString(), "??? Caf\xC3\xA9 \xE2\x82\xAC?!");
    EXPECT_EQ(ui::get_text(kPayee), "??? Caf\xE9 \x80?!");
}

}  // namespace
}  // namespace quillet::testing
