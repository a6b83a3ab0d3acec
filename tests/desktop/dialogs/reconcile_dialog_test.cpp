// Reconciling as the user meets it: Ctrl+L clears a row, the reconcile window's figures follow the
// ticks, Finish waits for a difference of zero, and a reconciled transaction asks before it changes.
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/program/message_box.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"
#include "ui/requesters.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace reconcile_ids;

class Reconciling : public Program {
  protected:
    std::vector<int> states() {
        std::vector<int> all;
        for (std::int64_t row = 0; row < register_session().row_count(); ++row)
            all.push_back(static_cast<int>(register_session().row_state(row)));
        return all;
    }
};

TEST_F(Reconciling, AFullReconcileFinishesOnlyAtZeroAndGuardsItsTransactions) {
    open_register({record(make_date(2025, 1, 2), 500.0f, 0), record(make_date(2025, 1, 3), 20.25f, 1),
                   record(make_date(2025, 1, 20), 75.5f, 1), record(make_date(2025, 1, 28), 9.99f, 1)});
    ui::set_state(kRegisterList, 1);
    app().current_row = 1;
    trigger(kCleared);
    EXPECT_EQ(states(), (std::vector<int>{0, 1, 0, 0}));
    EXPECT_NE(ui::status_field_tip(kStatusBar, kBalanceField).find("Cleared balance: -20.25"),
              std::string::npos);

    trigger(kReconcile);
    ASSERT_TRUE(ui::is_window(kWindow));
    ui::set_state(kDate, make_date(2025, 1, 25));
    ui::set_text(kEnding, "404.25");
    settle();
    EXPECT_EQ(ui::count_items(kList), 3);  // the 28th is after the statement
    EXPECT_EQ(ui::get_text(kFigures), "Cleared balance: -20.25     Difference: 424.50");
    EXPECT_FALSE(ui::is_gadget_enabled(kFinish));
    ui::set_text(kEnding, "404.255");
    settle();
    EXPECT_EQ(ui::get_text(kFigures), "The ending balance is not an amount to the cent: 404.255");
    ui::set_text(kEnding, "404.25");
    ui::click_button(kTickAll);
    settle();
    EXPECT_EQ(ui::get_text(kFigures), "Cleared balance: 404.25     Difference: .00");
    ASSERT_TRUE(ui::is_gadget_enabled(kFinish));
    ui::click_button(kFinish);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_EQ(states(), (std::vector<int>{2, 2, 2, 0}));
    EXPECT_EQ(ui::menu_item_text(kMenuBar, kUndo), "&Undo reconcile of statement 2025/01/25\tAlt+Backspace");

    // Editing a reconciled transaction asks first; No leaves it as it is.
    app().current_row = 2;
    ui::set_state(kRegisterList, 2);
    trigger(kEditTransaction);
    EXPECT_EQ(messages(), std::vector<int>{kMessageReconciledChange});
    EXPECT_FALSE(ui::is_window(transaction_ids::kWindow));
    // The next statement opens where this one ended, and names a difference one transaction explains.
    trigger(kReconcile);
    ui::set_state(kDate, make_date(2025, 1, 31));
    ui::set_text(kEnding, "394.26");
    settle();
    EXPECT_EQ(ui::get_text(kOpening), "Opening balance: 404.25");
    EXPECT_EQ(ui::get_text(kClues), "Its amount is the difference: 2025/01/28 Payee 9.99");

    // A difference booked anyway is a transaction of its own, asked first, ticked with the rest.
    ui::set_text(kEnding, "394.00");
    settle();
    ui::click_button(kAdjust);  // No: nothing is added
    settle();
    EXPECT_EQ(register_session().row_count(), 4);
    script->set_next_answer(ui::kAnswerYes);
    ui::click_button(kAdjust);
    settle();
    EXPECT_EQ(messages(), (std::vector<int>{kMessageConfirmAdjustment, kMessageConfirmAdjustment}));
    EXPECT_EQ(register_session().row_count(), 5);
    EXPECT_EQ(ui::get_text(kFigures), "Cleared balance: 394.00     Difference: .00");
    EXPECT_TRUE(ui::is_gadget_enabled(kFinish));
}

// A statement's transactions arrive cleared, and the first reconcile opens from the balance the
// statement starts from, saying so: ticking nothing more balances it.
TEST_F(Reconciling, TheFirstReconcileAfterAnImportOpensFromTheStatementsOwnBalance) {
    open_register({record(make_date(2025, 1, 15), 1000.0f, 0)});
    script->set_next_file_name(std::string(QUILLET_TEST_DATA) + "statements/camt_two_statements.xml");
    trigger(kImport);
    ASSERT_TRUE(ui::is_window(import_ids::kWindow));
    EXPECT_EQ(ui::get_state(import_ids::kMarkCleared), 1);
    ui::click_button(import_ids::kOk);
    settle();
    EXPECT_EQ(states(), (std::vector<int>{0, 1, 1, 1}));

    trigger(kReconcile);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::get_text(kOpening), "Opening balance: 1000.00");
    EXPECT_EQ(
        ui::get_text(kChangedNote),
        "The opening balance is the one camt_two_statements.xml states; what is dated before 2025/02/03 is "
        "in it.");
    EXPECT_EQ(ui::count_items(kList), 3) << "the deposit before the statement is in its opening balance";
    EXPECT_EQ(ui::get_text(kFigures), "Cleared balance: 1020.50     Difference: .00");
    ui::click_button(kFinish);
    settle();
    EXPECT_EQ(states(), (std::vector<int>{2, 2, 2, 2}));
}

}  // namespace
}  // namespace quillet::testing
