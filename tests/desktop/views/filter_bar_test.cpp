// The filter bar in the running program: typing narrows the rows as the typing rests, each shown
// row keeps its balance in the whole register, the selection stays on its transaction, the status
// bar sums the shown rows, wrong fields are framed and named without a message, a deleted row goes
// under the filter, Escape clears the filter and then hides the bar, and another register opens
// unfiltered.
#include <QApplication>
#include <QLineEdit>

#include "desktop/views/filter_bar.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"

namespace quillet::testing {
namespace {

class FilterBar : public Program {
  protected:
    void SetUp() override {
        Program::SetUp();
        std::vector<TransactionRecord> records;
        const struct {
            const char* payee;
            float amount;
            std::uint8_t kind;
        } rows[] = {{"Employer", 2500.0f, 0}, {"Rent Co", 900.0f, 1}, {"Grocer", 45.5f, 1},
                    {"rent co", 100.0f, 1},   {"Grocer", 12.25f, 1},  {"Employer", 2500.0f, 0},
                    {"RENT CO", 900.0f, 1},   {"Grocer", 80.0f, 1}};
        int day = 1;
        for (const auto& row : rows) {
            records.push_back(record(make_date(2026, 11, day++), row.amount, row.kind));
            records.back().payee = row.payee;
        }
        open_register(records);
        activate(kMainWindow);
    }
    // Types into the focused field as the user does and lets the typing come to rest.
    void type(const char* text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        settle();
        QTest::qWait(120);
        settle();
    }
    // Types the text over a field's own.
    void type_into(int field, const char* text) {
        ui::set_focus(field);
        ui::select_all(field);
        press(Qt::Key_Delete);
        type(text);
    }
    static std::string figures() { return ui::status_field_text(kStatusBar, kScheduleField); }
};

TEST_F(FilterBar, NarrowsAsTheUserTypesKeepsBalancesAndSelectionAndEscapeClearsThenHides) {
    const std::vector<std::string> balances = column(kBalanceColumn);
    select_register_row(6);
    trigger(kFilter);
    ASSERT_TRUE(filter_bar_shown());
    EXPECT_EQ(ui::get_focus(), filter_bar::kText);

    type("rent");
    EXPECT_EQ(column(kPayeeColumn), (std::vector<std::string>{"Rent Co", "rent co", "RENT CO"}));
    EXPECT_EQ(column(kBalanceColumn), (std::vector<std::string>{balances[1], balances[3], balances[6]}));
    EXPECT_EQ(app().current_row, 6) << "the selected transaction is still shown";
    EXPECT_EQ(ui::get_state(kRegisterList), 2);
    EXPECT_EQ(figures(), "3 of 8 transactions, deposits .00, payments 1900.00");

    // Delete edits the text, not the register; an amount that is none is framed and named.
    press(Qt::Key_Backspace);
    press(Qt::Key_Delete);
    EXPECT_EQ(ui::get_text(filter_bar::kText), "ren");
    EXPECT_EQ(ui::count_items(kRegisterList), 3);
    type_into(filter_bar::kLeast, "1x");
    type_into(filter_bar::kMost, "500");
    EXPECT_EQ(column(kPayeeColumn), (std::vector<std::string>{"rent co"}));
    EXPECT_NE(ui::tool_tip(filter_bar::kText).find("\"1x\" is not an amount"), std::string::npos);
    EXPECT_TRUE(messages().empty());

    // A period that ends before it starts keeps its days, shows nothing and says why.
    type_into(filter_bar::kFrom, "2026/11/05");
    type_into(filter_bar::kTo, "2026/11/01");
    EXPECT_EQ(ui::count_items(kRegisterList), 0);
    EXPECT_NE(ui::tool_tip(filter_bar::kText).find(texts().filter.ends_before_start), std::string::npos);

    // The filter stays through a delete, which takes the row from the shown ones.
    for (const int field : {filter_bar::kFrom, filter_bar::kTo, filter_bar::kLeast, filter_bar::kMost})
        type_into(field, "");
    select_register_row(3);
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    EXPECT_EQ(column(kPayeeColumn), (std::vector<std::string>{"Rent Co", "RENT CO"}));
    EXPECT_EQ(figures(), "2 of 7 transactions, deposits .00, payments 1800.00");

    ui::set_focus(filter_bar::kText);
    trigger(kEscapeKey);
    EXPECT_EQ(ui::get_text(filter_bar::kText), "");
    EXPECT_EQ(ui::count_items(kRegisterList), 7);
    EXPECT_EQ(figures(), "");
    EXPECT_TRUE(filter_bar_shown());
    trigger(kEscapeKey);
    EXPECT_FALSE(filter_bar_shown());

    // Another register opens unfiltered.
    trigger(kFilter);
    type("grocer");
    ASSERT_EQ(ui::count_items(kRegisterList), 3);
    ASSERT_TRUE(fill_register_view(write_register("Other.qlt", {record(make_date(2026, 11, 2), 5.0f, 1)}),
                                   kKeepOrder));
    settle();
    EXPECT_EQ(ui::count_items(kRegisterList), 1);
    EXPECT_EQ(ui::get_text(filter_bar::kText), "");
    EXPECT_EQ(figures(), "");
}

}  // namespace
}  // namespace quillet::testing
