// Fast entry in the transaction dialog: access keys to every field and button, and a known payee
// filling what the user has not typed, so that a repeated check takes a handful of keys.
#include <QApplication>
#include <QTest>
#include <set>

#include "desktop/dialogs/dialog_ids.h"
#include "desktop/views/register_view.h"
#include "tests/support/app_fixture.h"
#include "ui/toolkit_internal.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace transaction_ids;

class FastEntry : public Program {
  protected:
    std::string open_payee_register() {
        TransactionRecord rent = record(make_date(2026, 11, 1), 900.0f, 1);
        rent.payee = "Landlord";
        rent.type = "Transfer";
        rent.description = "Rent";
        TransactionRecord older = record(make_date(2026, 11, 2), 30.0f, 1);
        older.payee = "Groceries";
        older.description = "Food";
        older.number = "1007";
        TransactionRecord pay = record(make_date(2026, 11, 3), 2000.0f, 0);
        pay.payee = "Employer";
        TransactionRecord latest = record(make_date(2026, 11, 9), 48.5f, 1);
        latest.payee = "Groceries";
        latest.type = "Debit";
        latest.description = "Weekly food";
        const std::string path = open_register({rent, older, pay, latest});
        app().pick_lists[kPayeeList] = {"Landlord", "Groceries"};
        return path;
    }
    void press(int& count, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ++count;
        Program::press(key, modifiers);
    }
    static void activate_dialog() { activate(kWindow); }
    // Moves the focus off the payee and handles the event that raises.
    void leave_payee() {
        ui::set_focus(kPayee);
        ui::set_focus(kNumber);
        settle();
    }
};

TEST_F(FastEntry, ARepeatedCheckToAKnownPayeeTakesEightKeys) {
    const std::string path = open_payee_register();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui::detail::window_widget(kMainWindow)));
    int keys = 0;
    press(keys, Qt::Key_Insert);
    ASSERT_TRUE(ui::is_window(kWindow));
    activate_dialog();
    EXPECT_EQ(ui::get_focus(), kCancel) << "the focus starts on Cancel";
    press(keys, Qt::Key_Y, Qt::AltModifier);
    EXPECT_EQ(ui::get_focus(), kPayee);
    press(keys, Qt::Key_G);
    press(keys, Qt::Key_R);
    EXPECT_EQ(ui::get_text(kPayee), "gr") << "what is typed stays as typed";
    press(keys, Qt::Key_Down);
    press(keys, Qt::Key_Return);
    EXPECT_EQ(ui::get_text(kPayee), "Groceries") << "the match chosen from the pop-up";
    press(keys, Qt::Key_Tab);
    EXPECT_EQ(ui::get_text(kPayee), "Groceries") << "spelt as the register spells it";
    EXPECT_EQ(ui::get_selection(kAmount), (std::pair<int, int>{0, 5})) << "the amount is selected";
    press(keys, Qt::Key_O, Qt::AltModifier);
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_EQ(keys, 8);

    TransactionRecord saved;
    ASSERT_TRUE(read_record(path, 4, saved));
    EXPECT_EQ(saved.payee, "Groceries");
    EXPECT_EQ(saved.type, "Debit");
    EXPECT_EQ(saved.description, "Weekly food");
    EXPECT_EQ(saved.amount, 48.5f);
    EXPECT_EQ(saved.kind, record_format::kWithdrawal);
    EXPECT_EQ(saved.number, "1008") << "the next check's number, proposed and kept by the payee fill";
}

TEST_F(FastEntry, APayeeFillsOnlyWhatTheUserHasNotChanged) {
    open_payee_register();
    trigger(kAddTransaction);
    activate_dialog();
    ui::set_text(kType, "Check");
    ui::set_text(kPayee, "  GROCERIES ");
    leave_payee();
    EXPECT_EQ(ui::get_text(kPayee), "Groceries");
    EXPECT_EQ(ui::get_text(kType), "Check") << "typed by the user";
    EXPECT_EQ(ui::get_text(kDescription), "Weekly food");
    EXPECT_EQ(ui::get_text(kAmount), "48.50");
    EXPECT_EQ(ui::get_state(kWithdrawal), 1);

    // Another payee fills again what the first one filled, and still not what the user typed.
    ui::set_text(kPayee, "Employer");
    leave_payee();
    EXPECT_EQ(ui::get_text(kType), "Check");
    EXPECT_EQ(ui::get_text(kAmount), "2000.00");
    EXPECT_EQ(ui::get_state(kDeposit), 1);
    ui::set_text(kAmount, "12.00");
    ui::set_text(kPayee, "Groceries");
    leave_payee();
    EXPECT_EQ(ui::get_text(kAmount), "12.00");
    EXPECT_EQ(ui::get_text(kDescription), "Weekly food");

    ui::set_text(kPayee, "Nobody yet");
    leave_payee();
    EXPECT_EQ(ui::get_text(kDescription), "Weekly food") << "an unknown payee fills nothing";
    ui::click_button(kCancel);
    settle();

    ui::set_state(kRegisterList, 2);
    settle();
    trigger(kEditTransaction);
    activate_dialog();
    ui::set_text(kPayee, "Groceries");
    leave_payee();
    EXPECT_EQ(ui::get_text(kAmount), "2000.00") << "an edit is never filled";
}

// The pick lists' matches are offered, never put in unasked: what the user types is stored as typed,
// and a payee the user did not choose whole fills nothing.
TEST_F(FastEntry, CompletionNeverChangesWhatIsTyped) {
    open_payee_register();
    app().pick_lists[kTypeList] = {"Cash", "Check"};
    app().pick_lists[kDescriptionList] = {"Monthly Bill"};
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui::detail::window_widget(kMainWindow)));
    int keys = 0;
    press(keys, Qt::Key_Insert);
    activate_dialog();
    press(keys, Qt::Key_T, Qt::AltModifier);
    press(keys, Qt::Key_C);
    press(keys, Qt::Key_A);
    press(keys, Qt::Key_M, Qt::AltModifier);
    press(keys, Qt::Key_M);
    press(keys, Qt::Key_Y, Qt::AltModifier);
    for (const Qt::Key key : {Qt::Key_G, Qt::Key_R, Qt::Key_O}) press(keys, key);
    press(keys, Qt::Key_Tab);
    EXPECT_EQ(ui::get_text(kType), "ca");
    EXPECT_EQ(ui::get_text(kDescription), "m");
    EXPECT_EQ(ui::get_text(kPayee), "gro");
    EXPECT_EQ(ui::get_text(kAmount), "") << "a payee not chosen whole fills nothing";
}

TEST_F(FastEntry, EveryCaptionAndButtonHasItsOwnAccessKey) {
    open_payee_register();
    trigger(kAddTransaction);
    activate_dialog();
    const TextTable& t = texts();
    std::set<char> letters;
    const auto key_of = [&letters](const std::string& caption) {
        const std::size_t at = caption.find('&');
        EXPECT_NE(at, std::string::npos) << caption;
        if (at == std::string::npos) return Qt::Key_unknown;
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(caption[at + 1])));
        EXPECT_TRUE(letters.insert(letter).second) << "the access key of " << caption << " clashes";
        return static_cast<Qt::Key>(letter);
    };
    const int fields[] = {kDate, kType, kNumber, kPayee, kDescription};
    int keys = 0;
    for (int row = 0; row < 5; ++row) {
        press(keys, key_of(t.transaction_captions[static_cast<std::size_t>(row)]), Qt::AltModifier);
        EXPECT_EQ(ui::get_focus(), fields[row]) << t.transaction_captions[static_cast<std::size_t>(row)];
    }
    // The kind's keys go on to the amount, which has no caption of its own.
    press(keys, key_of(t.deposit_option), Qt::AltModifier);
    EXPECT_EQ(ui::get_state(kDeposit), 1);
    EXPECT_EQ(ui::get_focus(), kAmount);
    press(keys, key_of(t.withdrawal_option), Qt::AltModifier);
    EXPECT_EQ(ui::get_state(kWithdrawal), 1);
    EXPECT_EQ(ui::get_focus(), kAmount);
    press(keys, key_of(t.void_box), Qt::AltModifier);
    EXPECT_EQ(ui::get_focus(), kVoid);
    EXPECT_EQ(t.void_mark, "Void") << "the list's void mark keeps no access key";
    for (const std::string* caption : {&t.second_date_box, &t.transaction_ok}) (void)key_of(*caption);
    press(keys, key_of(t.transaction_cancel), Qt::AltModifier);
    EXPECT_FALSE(ui::is_window(kWindow));
}

}  // namespace
}  // namespace quillet::testing
