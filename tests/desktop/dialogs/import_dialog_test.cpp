// The import as the user meets it: the requester, the preview with its tick boxes and counts, the
// question a file's dates leave, Import adding the ticked lines (the list, the figures and the pick
// lists follow) as one step that undo takes back, and the messages for a file or a store that
// cannot be used.
#include "core/store/companion_store.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/undo_captions.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace import_ids;

class Import : public Program {
  protected:
    void start(const char* sample) {
        script->set_next_file_name(std::string(QUILLET_TEST_DATA) + "import/" + sample);
        trigger(kImport);
    }
    static std::vector<std::string> preview_column(int at) { return column(at, kPreview); }
};

TEST_F(Import, AddsTheTickedLinesAndUndoTakesTheWholeImportBack) {
    const std::string path = open_register({record(make_date(2024, 11, 30), 25.0f, 1)});
    start("german_giro.csv");
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(preview_column(5), (std::vector<std::string>{"1234.56", "3105.00", "7.80", "950.00"}));
    EXPECT_EQ(ui::count_items(kSkipped), 1);
    EXPECT_EQ(ui::get_text(kCounts),
              "Found 5: 4 new, 0 duplicates, 1 refused or skipped. 4 ticked to import.");

    // Space unticks the current line (the rent), as a click on its box would.
    activate(kWindow);
    ui::set_focus(kPreview);
    ui::set_state(kPreview, 3);
    press(Qt::Key_Space);
    EXPECT_FALSE(ui::is_item_ticked(kPreview, 3));
    EXPECT_EQ(ui::get_text(kCounts),
              "Found 5: 4 new, 0 duplicates, 1 refused or skipped. 3 ticked to import.");
    ui::click_button(kOk);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_EQ(count_records(path), 4);
    EXPECT_EQ(ui::count_items(kRegisterList), 4);
    EXPECT_EQ(ui::status_field_text(kStatusBar, 2), "Balance: 1837.64");
    EXPECT_EQ(app().pick_lists[kPayeeList].front(),
              "B\xE4"
              "ckerei M\xFC"
              "ller");
    EXPECT_EQ(ui::menu_item_text(kMenuBar, kUndo), "&Undo import of 3 transactions\tAlt+Backspace");

    trigger(kUndo);
    EXPECT_EQ(count_records(path), 1);
    EXPECT_EQ(ui::count_items(kRegisterList), 1);
    EXPECT_EQ(ui::status_field_text(kStatusBar, 2), "Balance: -25.00");
    trigger(kRedo);
    EXPECT_EQ(ui::count_items(kRegisterList), 4);

    // The same file again: said at once; only the line left out before is ticked.
    start("german_giro.csv");
    EXPECT_EQ(messages(), std::vector<int>{kMessageImportedBefore});
    EXPECT_EQ(ui::get_text(kCounts),
              "Found 5: 1 new, 3 duplicates, 1 refused or skipped. 1 ticked to import.");
    EXPECT_TRUE(ui::is_item_ticked(kPreview, 3));
    EXPECT_EQ(preview_column(6)[0], "imported on 2026/12/08");
}

TEST_F(Import, AFileWhoseDatesNoValueDecidesAsksAndTheChoiceIsKeptForTheBank) {
    open_register({record(make_date(2024, 11, 30), 25.0f, 1)});
    start("ambiguous.csv");
    EXPECT_EQ(ui::count_items(kPreview), 0);
    EXPECT_EQ(ui::get_text(kCounts), texts().conventions_wanted);
    EXPECT_FALSE(ui::is_gadget_enabled(kOk));
    EXPECT_EQ(ui::get_item_text(kDateOrder, 0), texts().choose_one);
    ui::set_state(kDateOrder, 2);  // month/day/year
    settle();
    EXPECT_EQ(preview_column(0), (std::vector<std::string>{"2025/03/04", "2025/05/06", "2025/07/08"}));
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(ui::count_items(kRegisterList), 4);

    // The next file with that header gets the columns and the order chosen, without a question.
    start("ambiguous.csv");
    script->forget_requests();
    EXPECT_EQ(ui::get_item_text(kDateOrder, ui::get_state(kDateOrder)), "month/day/year");
    EXPECT_EQ(ui::count_items(kPreview), 3);
}

// Amounts without a sign are asked about, never taken as deposits; a bank's lines above its table
// leave the separator to the table, "Skip at top" counts the file's lines, blank ones too, and
// another separator splits the file again.
TEST_F(Import, UnsignedAmountsAskAndTheSeparatorAndLinesAboveTheTableAreTheUsers) {
    open_register({record(make_date(2024, 11, 30), 25.0f, 1)});
    start("../statements/csv_card_unsigned.csv");
    EXPECT_EQ(ui::get_text(kCounts), texts().conventions_wanted);
    EXPECT_FALSE(ui::is_gadget_enabled(kOk));
    ASSERT_TRUE(ui::is_gadget_enabled(kPlain));
    EXPECT_EQ(ui::get_item_text(kPlain, 0), texts().choose_one);
    ui::set_state(kPlain, 2);  // money out
    settle();
    EXPECT_EQ(preview_column(4), (std::vector<std::string>{"Withdrawal", "Withdrawal", "Withdrawal"}));
    EXPECT_TRUE(ui::is_gadget_enabled(kOk));
    ui::click_button(kCancel);
    settle();

    start("../statements/csv_balance_line_above.csv");
    EXPECT_FALSE(ui::is_gadget_enabled(kPlain)) << "the amounts carry their signs";
    EXPECT_EQ(ui::get_state(kSeparator), 1) << "a semicolon, whatever the balance line above holds";
    EXPECT_EQ(ui::get_text(kSkipTop), "4") << "the header stands on the file's fifth line";
    EXPECT_EQ(preview_column(2),
              (std::vector<std::string>{"Hausverwaltung Sonnig", "Elektro Blitz GmbH", "Drogerie Rossberg"}));
    ui::set_state(kSeparator, 0);  // a comma splits no header
    settle();
    EXPECT_EQ(ui::count_items(kPreview), 0);
    ui::set_state(kSeparator, 1);
    settle();
    EXPECT_EQ(ui::count_items(kPreview), 3);
    // Two lines fewer skipped: the header on line 5 is read as a transaction, and said as a line
    // left out, with its text.
    ui::set_text(kSkipTop, "2");
    settle();
    EXPECT_EQ(ui::get_text(kSkipTop), "2");
    EXPECT_EQ(ui::count_items(kPreview), 3);
    ASSERT_EQ(ui::count_items(kSkipped), 1);
    EXPECT_EQ(ui::get_item_text(kSkipped, 0, 0), "5");
    EXPECT_EQ(ui::get_item_text(kSkipped, 0, 2).substr(0, 27), "Buchungsdatum;Wertstellung;");
}

TEST_F(Import, AFileOfSeveralAccountsLetsTheUserChooseAndAnotherCurrencyIsSaid) {
    const std::string path = open_register({record(make_date(2024, 11, 30), 25.0f, 1)});
    start("two_accounts.ofx");
    EXPECT_EQ(ui::count_items(kAccount), 2);
    EXPECT_TRUE(ui::is_gadget_enabled(kAccount));
    EXPECT_EQ(preview_column(2), (std::vector<std::string>{"Caf\xE9 Lumi\xE8re", "ATM WITHDRAWAL"}));
    ui::set_state(kAccount, 1);
    settle();
    EXPECT_EQ(preview_column(2), std::vector<std::string>{"INTEREST PAID"});
    ui::click_button(kOk);
    settle();
    EXPECT_EQ(count_records(path), 2);

    // Euros after dollars: said, and the amounts stay as the file gives them.
    start("camt_same_day.xml");
    EXPECT_EQ(messages(), std::vector<int>{kMessageOtherCurrency});
    EXPECT_EQ(ui::count_items(kPreview), 3);
    EXPECT_FALSE(ui::is_gadget_enabled(kAccount));
}

TEST_F(Import, AStatementOrAStoreThatCannotBeReadIsSaidWithItsCause) {
    const std::string path = open_register({record(make_date(2024, 11, 30), 25.0f, 1)});
    const std::string binary = folder.write("photo.csv", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    script->set_next_file_name(binary);
    trigger(kImport);
    EXPECT_NE(last_message_text().find("It is not a text file."), std::string::npos);
    EXPECT_EQ(messages(), std::vector<int>{kMessageStatementUnreadable});
    EXPECT_FALSE(ui::is_window(kWindow));

    // A damaged store is said once when the register is painted; the register works on.
    folder.write("Cash.qlt.qstore", "not a database");
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    settle();
    read_store_after_painting();
    EXPECT_EQ(messages(), std::vector<int>{kMessageStoreUnusable});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    settle();
    read_store_after_painting();
    EXPECT_EQ(messages(), std::vector<int>{});
    EXPECT_EQ(ui::count_items(kRegisterList), 1);
    start("us_checking.csv");
    EXPECT_EQ(messages(), std::vector<int>{kMessageStoreUnusable});
    EXPECT_FALSE(ui::is_window(kWindow));
}

}  // namespace
}  // namespace quillet::testing
