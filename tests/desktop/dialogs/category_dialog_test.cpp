// The transaction dialog's category: a new name is added on asking, the payee's rule is learned
// with the transaction in one undo step, a bank's variant of the payee then gets it proposed, and
// the payee's tool tip names it; the split table allows OK only once its parts add up, and an edit
// of the amount spreads the difference when asked.
#include <QAbstractItemView>
#include <QTest>

#include "core/category/category_edits.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/transaction_dialog.h"
#include "desktop/program/message_box.h"
#include "desktop/program/undo_captions.h"
#include "desktop/views/register_view.h"
#include "desktop/views/settings_and_exit.h"
#include "tests/support/app_fixture.h"
#include "ui/menus.h"
#include "ui/toolkit_internal.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace transaction_ids;

class CategoryField : public Program {
  protected:
    void SetUp() override {
        Program::SetUp();
        open_register({record(make_date(2026, 12, 1), 10.0f, 1), record(make_date(2026, 12, 2), 20.0f, 1)});
    }
    void new_transaction(const std::string& payee, const std::string& amount) {
        trigger(kAddTransaction);
        ASSERT_TRUE(ui::is_window(kWindow));
        activate(kWindow);
        ui::set_text(kType, "Check");
        ui::set_text(kPayee, payee);
        ui::set_text(kDescription, "Food");
        ui::set_text(kAmount, amount);
        // Leaving the payee proposes its category.
        ui::set_focus(kPayee);
        ui::set_focus(kNumber);
        settle();
    }
    static std::string payee_tip(int row) {
        auto* view = dynamic_cast<QAbstractItemView*>(ui::detail::gadget_widget(kRegisterList));
        return view->model()
            ->data(view->model()->index(row, kPayeeColumn), Qt::ToolTipRole)
            .toString()
            .toStdString();
    }
    static const CategoryBook& book() { return register_session().categories(); }
};

TEST_F(CategoryField, ANewNameIsAddedTheRuleLearnedAndAVariantOfThePayeeGetsItProposed) {
    new_transaction("CORNER SHOP #12", "12.00");
    EXPECT_EQ(ui::get_text(kCategory), "") << "nothing is known of this payee";
    ui::set_text(kCategory, "Groceries");
    script->set_next_answer(ui::kAnswerYes);
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(messages(), std::vector<int>{kMessageNewCategory});
    ASSERT_FALSE(ui::is_window(kWindow));
    const std::int64_t groceries = find_category(book().lists(), "groceries");
    ASSERT_NE(groceries, 0);
    EXPECT_EQ(book().category_of(register_session().slot_of(2)), groceries);
    ASSERT_EQ(book().lists().rules.size(), 1u);
    EXPECT_TRUE(book().lists().rules.front().learned);
    EXPECT_EQ(payee_tip(2), "Category: Groceries");
    EXPECT_EQ(payee_tip(0), "") << "a transaction without a category has no tip";

    // The bank's other spelling of the payee gets it proposed: no key for the category.
    new_transaction("Corner Shop 0042", "14.00");
    EXPECT_EQ(ui::get_text(kCategory), "Groceries");
    EXPECT_EQ(ui::get_text(kProposal), texts().categories.proposed);
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(book().category_of(register_session().slot_of(3)), groceries);

    // Undo takes the first add back whole: the record, its category, the new name and the rule.
    trigger(kUndo);
    trigger(kUndo);
    EXPECT_EQ(register_session().row_count(), 2);
    EXPECT_EQ(find_category(book().lists(), "Groceries"), 0);
    EXPECT_TRUE(book().lists().rules.empty());
    EXPECT_EQ(ui::menu_item_text(kMenuBar, kRedo).rfind("&Redo add of CORNER SHOP #12", 0), 0u)
        << ui::menu_item_text(kMenuBar, kRedo);
}

TEST_F(CategoryField, TheSplitAllowsOkOnlyWhenItsPartsAddUpAndAnEditSpreadsTheDifference) {
    new_transaction("Garage", "50.00");
    ui::set_text(kCategory, "Car:Fuel");
    ui::click_button(kSplit);
    settle();
    ASSERT_TRUE(ui::is_window(split_ids::kWindow));
    EXPECT_EQ(ui::get_text(split_ids::kFirstCategory), "Car:Fuel") << "the split starts from the field";
    ui::set_text(split_ids::kFirstAmount, "30.00");
    ui::set_text(split_ids::kFirstCategory + 1, "Car:Repairs");
    ui::set_text(split_ids::kFirstAmount + 1, "15.00");
    settle();
    EXPECT_EQ(ui::get_text(split_ids::kRemainder), texts().categories.remainder + "5.00");
    EXPECT_FALSE(ui::is_gadget_enabled(split_ids::kOk));
    ui::set_text(split_ids::kFirstAmount + 1, "20.00");
    settle();
    ASSERT_TRUE(ui::is_gadget_enabled(split_ids::kOk));
    script->set_next_answer(ui::kAnswerYes);  // Car:Fuel
    script->set_next_answer(ui::kAnswerYes);  // Car:Repairs
    ui::click_button(split_ids::kOk);
    settle();
    ASSERT_FALSE(ui::is_window(split_ids::kWindow));
    EXPECT_EQ(ui::get_text(kCategory), texts().categories.split_shown);
    EXPECT_FALSE(ui::is_gadget_enabled(kCategory));
    ui::click_button(kOk);
    settle();
    const std::int64_t slot = register_session().slot_of(2);
    const std::int64_t fuel = find_category(book().lists(), "Car:Fuel");
    const std::int64_t repairs = find_category(book().lists(), "Car:Repairs");
    EXPECT_EQ(book().lines_of(slot), (CategoryLines{{fuel, 3000}, {repairs, 2000}}));
    EXPECT_EQ(payee_tip(2), "Category: Split\nCar:Fuel  30.00\nCar:Repairs  20.00");
    // The tenth column, when the user turns it on.
    EXPECT_EQ(ui::count_columns(kRegisterList), kColumnCount);
    app().options.category_column = 1;
    apply_options(false);
    ASSERT_EQ(ui::count_columns(kRegisterList), kColumnCount + 1);
    EXPECT_EQ(column(kColumnCount), (std::vector<std::string>{"", "", texts().categories.split_shown}));
    app().options.category_column = 0;
    apply_options(false);
    EXPECT_EQ(ui::count_columns(kRegisterList), kColumnCount);

    // The amount edited to 60.00: Yes gives the difference to the first part.
    app().current_row = 2;
    trigger(kEditTransaction);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::get_text(kCategory), texts().categories.split_shown);
    ui::set_text(kAmount, "60.00");
    script->set_next_answer(ui::kAnswerYes);
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(messages().back(), kMessageSplitSpread);
    EXPECT_EQ(book().lines_of(slot), (CategoryLines{{fuel, 4000}, {repairs, 2000}}));
}

// A damaged store never stops the register: the dialog says categories cannot be used, and a
// transaction is still added.
TEST_F(Program, ADamagedStoreLeavesTheCategoryFieldOffAndTheRegisterWorking) {
    const std::string path = write_register("Cash.qlt", {record(make_date(2026, 12, 1), 10.0f, 1)});
    folder.write("Cash.qlt.qstore", std::string(4096, 'x'));
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    read_store_after_painting();
    settle();
    EXPECT_EQ(messages(), std::vector<int>{kMessageStoreUnusable});
    trigger(kAddTransaction);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_FALSE(ui::is_gadget_enabled(kCategory));
    EXPECT_FALSE(ui::is_gadget_enabled(kSplit));
    EXPECT_EQ(ui::get_text(kProposal), texts().categories.unavailable);
    ui::set_text(kType, "Check");
    ui::set_text(kPayee, "Grocer");
    ui::set_text(kDescription, "Food");
    ui::set_text(kAmount, "5.00");
    ui::click_button(kOk);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_EQ(register_session().row_count(), 2);
}

}  // namespace
}  // namespace quillet::testing
