#include "desktop/views/register_view.h"

#include <sys/stat.h>
#include <unistd.h>
#include "core/register/register_file.h"

#include "core/runtime/number_text.h"
#include "tests/support/app_fixture.h"
#include "tests/support/session_changes.h"
#include "ui/bars.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

std::vector<std::string> status_fields() {
    std::vector<std::string> fields;
    for (int field = 1; field <= 5; ++field) fields.push_back(ui::status_field_text(kStatusBar, field));
    return fields;
}

using RegisterView = Program;

TEST_F(RegisterView, TheSampleRegisterShowsItsRunningBalanceAndMonth) {
    const RecordTexts texts[kSampleRecordCount] = {{"Deposit", "1", "Employer", "Opening balance"},
                                                   {"Check", "2", "Grocer", "Food"},
                                                   {"Debit", "3", "Station", "Fuel"}};
    const std::string path = folder.file("Sample.qlt");
    ASSERT_TRUE(create_sample_register(path, texts));
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));

    EXPECT_EQ(column(7), (std::vector<std::string>{"1200.00", "1151.50", "1132.51"}));
    EXPECT_EQ(column(5), (std::vector<std::string>{"1200.00", "", ""}));
    EXPECT_EQ(column(6), (std::vector<std::string>{"", "48.50", "18.99"}));
    EXPECT_EQ(cell(0, 0), "2026/12/08");
    EXPECT_EQ(cell(0, 8), "2026/12/08");
    EXPECT_EQ(cell(2, 3), "Station");
    EXPECT_EQ(status_fields(),
              (std::vector<std::string>{"Count: 3", "Balance: 1132.51", "Dec deposits: 1200.00",
                                        "Dec paid: 67.49", "Dec average: 1161.34"}));
    EXPECT_EQ(ui::status_field_alignment(kStatusBar, 3), ui::kAlignCentre);
    EXPECT_EQ(ui::window_title(kMainWindow), "Quillet - Sample");
    EXPECT_EQ(app().session.path(), path);
    EXPECT_EQ(ui::get_state(kRegisterList), 0);
    EXPECT_EQ(ui::get_item_colour(kRegisterList, 1, ui::kFrontColour, 6), 0x0000FF);
    EXPECT_EQ(ui::get_item_colour(kRegisterList, 1, ui::kFrontColour, 7), 0xFF0000);
}

TEST_F(RegisterView, VoidRowsShowTheirMarkAndCountForNothingButTheRowCount) {
    const DateValue today = current_date();
    const std::string path =
        write_register("void.qlt", {record(today, 50.0f, 0, 1), record(today, 20.0f, 1, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    EXPECT_EQ(column(7), (std::vector<std::string>{"Void", "Void"}));
    EXPECT_EQ(status_fields(), (std::vector<std::string>{"Count: 2", "Balance: .00", "Dec deposits: .00",
                                                         "Dec paid: .00", "Dec average: .00"}));
}

TEST_F(RegisterView, DeletedRecordsLeaveNoRow) {
    const DateValue today = current_date();
    const std::string path =
        write_register("deleted.qlt", {record(today, 50.0f, 0, 0, 1), record(today, 20.0f, 1, 0, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    EXPECT_EQ(ui::count_items(kRegisterList), 0);
    EXPECT_EQ(status_fields()[1], "Balance: .00");
    EXPECT_EQ(status_fields()[4], "Dec average: .00");
}

TEST_F(RegisterView, ReverseOrderStillAddsUpInFileOrderAndToggles) {
    const std::string path = write_register(
        "three.qlt", {record(make_date(2026, 11, 1), 100.0f, 0), record(make_date(2026, 11, 2), 30.0f, 1),
                      record(make_date(2026, 12, 3), 5.5f, 1)});
    ASSERT_TRUE(fill_register_view(path, kReverseOrder));
    EXPECT_EQ(column(2), (std::vector<std::string>{"7", "7", "7"}));
    EXPECT_EQ(column(7), (std::vector<std::string>{"64.50", "70.00", "100.00"}));
    EXPECT_EQ(register_session().slot_of(0), 2);
    EXPECT_EQ(app().list_order, 1);
    const std::string reversed_total = status_fields()[1];
    ASSERT_TRUE(fill_register_view(path, kToggleOrder));
    EXPECT_EQ(column(7), (std::vector<std::string>{"100.00", "70.00", "64.50"}));
    ASSERT_TRUE(fill_register_view(path, kToggleOrder));
    EXPECT_EQ(column(7), (std::vector<std::string>{"64.50", "70.00", "100.00"}));
    EXPECT_EQ(status_fields()[1], reversed_total);
    EXPECT_EQ(status_fields()[1], "Balance: 64.50");
}

TEST_F(RegisterView, OnlyThisMonthOfThisYearCounts) {
    const std::string path = write_register(
        "years.qlt", {record(make_date(2025, 12, 8), 100.0f, 0), record(make_date(2026, 12, 1), 10.0f, 0)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    EXPECT_EQ(status_fields()[2], "Dec deposits: 10.00");
    EXPECT_EQ(status_fields()[4], "Dec average: 110.00");
}

TEST_F(RegisterView, BalancesPastTheReachOfFloatsKeepTheirCents) {
    std::vector<TransactionRecord> records;
    for (int i = 0; i < 40; ++i) records.push_back(record(make_date(2026, 1, 1), 9999.99f, 0));
    records.push_back(record(make_date(2026, 1, 2), 0.01f, 0));
    const std::string path = write_register("big.qlt", records);
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    EXPECT_EQ(cell(16, 7), "169999.83");
    EXPECT_EQ(cell(39, 7), "399999.60");
    EXPECT_EQ(cell(40, 7), "399999.61");
    EXPECT_EQ(status_fields()[1], "Balance: 399999.61");
}

TEST_F(RegisterView, ANewRowLandsAtTheEndWhenOnlyTheLiveOrderWasReversed) {
    const std::string path = write_register(
        "two.qlt", {record(make_date(2026, 12, 1), 100.0f, 0), record(make_date(2026, 12, 2), 30.0f, 1)});
    ASSERT_TRUE(fill_register_view(path, kReverseOrder));
    ASSERT_EQ(app().options.list_order, 0);
    TransactionRecord added = record(make_date(2026, 12, 8), 1.25f, 1);
    added.type = "  ATM  ";
    added.payee = "Bank";
    RowChange change;
    ASSERT_TRUE(testing::add(register_session(), added, false, change).done());
    show_row_change(change);
    EXPECT_EQ(ui::count_items(kRegisterList), 3);
    EXPECT_EQ(cell(2, 6), "1.25");
    EXPECT_EQ(register_session().slot_of(2), 2);
    EXPECT_EQ(app().current_row, 2);
    EXPECT_EQ(ui::get_state(kRegisterList), 2);
    // Visited from the bottom, the new row comes first: 0 - 1.25, then the file's two rows.
    EXPECT_EQ(column(7), (std::vector<std::string>{"68.75", "98.75", "-1.25"}));
}

TEST_F(RegisterView, EditingReplacesTheCurrentRowAndRemovingKeepsTheBalanceInStep) {
    const std::string path = write_register(
        "three.qlt", {record(make_date(2026, 12, 1), 100.0f, 0), record(make_date(2026, 12, 2), 30.0f, 1),
                      record(make_date(2026, 12, 3), 5.0f, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    app().current_row = 1;
    TransactionRecord edited = record(make_date(2026, 12, 2), 30.0f, 1, 1);
    edited.second_date = make_date(2026, 12, 9);
    RegisterSession& session = register_session();
    RecordBytes opened{};
    ASSERT_TRUE(session.read(1, opened));
    RowChange change;
    ASSERT_TRUE(testing::edit(session, 1, opened, edited, change).done());
    show_row_change(change);
    EXPECT_EQ(column(7), (std::vector<std::string>{"100.00", "Void", "95.00"}));
    EXPECT_EQ(cell(1, 8), "2026/12/09") << "the row shows the record as the file holds it";
    ASSERT_TRUE(testing::delete_row(session, 0, change).done());
    show_row_change(change);
    EXPECT_EQ(column(7), (std::vector<std::string>{"Void", "-5.00"}));
    EXPECT_EQ(status_fields()[0], "Count: 2");
}

TEST_F(RegisterView, ARefusedFileLeavesEverythingAsItWas) {
    const std::string good = write_register("good.qlt", {record(make_date(2026, 12, 1), 100.0f, 0)});
    ASSERT_TRUE(fill_register_view(good, kKeepOrder));
    const std::string odd = folder.write("odd.qlt", std::string(212, '\0'));
    EXPECT_FALSE(fill_register_view(odd, kToggleOrder));
    EXPECT_EQ(last_message_text(), odd + "\n" + texts().wrong_length_file + "\n\n" + texts().messages[10])
        << "the path comes first, then why";
    EXPECT_EQ(messages(), std::vector<int>{10});
    EXPECT_FALSE(fill_register_view(folder.file("missing.qlt"), kKeepOrder));
    EXPECT_EQ(last_message_text(),
              folder.file("missing.qlt") + "\n" + texts().missing_file + "\n\n" + texts().messages[9]);
    EXPECT_EQ(messages(), std::vector<int>{9});
    EXPECT_EQ(app().session.path(), good);
    EXPECT_EQ(app().list_order, 0);
    EXPECT_EQ(ui::count_items(kRegisterList), 1);
    EXPECT_EQ(ui::window_title(kMainWindow), "Quillet - good");
}

// An amount too large for the balance shows as read, and every figure it reaches says "out of
// range" instead of a wrong number.
TEST_F(RegisterView, AnAmountTooLargeForTheBalanceShowsOutOfRange) {
    const std::string path =
        write_register("huge.qlt", {record(current_date(), 100.0f, 0), record(current_date(), 1e30f, 0),
                                    record(current_date(), 5.0f, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    EXPECT_EQ(cell(1, 5), amount_text(1e30f));
    EXPECT_EQ(column(7), (std::vector<std::string>{"100.00", "out of range", "out of range"}));
    EXPECT_EQ(status_fields()[1], "Balance: out of range");
    EXPECT_EQ(status_fields()[2], "Dec deposits: out of range");
}

// A named pipe is no register: it is refused at once instead of blocking the program in open().
TEST_F(RegisterView, ANamedPipeIsRefusedWithoutWaiting) {
    const std::string pipe = folder.file("pipe.qlt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ::alarm(10);  // a hang fails the test instead of the whole run
    EXPECT_FALSE(fill_register_view(pipe, kKeepOrder));
    EXPECT_EQ(count_records(pipe), 0);
    ::alarm(0);
    EXPECT_EQ(last_message_text(), pipe + "\n" + texts().not_a_file + "\n\n" + texts().messages[9]);
}

// The list keeps no texts: a row is made from its record when shown. A record another program wrote
// over since the list was filled has the register read again, and the list shows what the file holds.
TEST_F(RegisterView, ARowWhoseRecordChangedElsewhereHasTheRegisterReadAgain) {
    const std::string path = write_register(
        "two.qlt", {record(make_date(2026, 12, 1), 100.0f, 0), record(make_date(2026, 12, 2), 30.0f, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    TransactionRecord theirs = record(make_date(2026, 12, 2), 45.0f, 1);
    theirs.record_number = 1;
    theirs.payee = "Theirs";
    ASSERT_TRUE(write_record(path, 1, theirs));  // another program
    EXPECT_EQ(cell(1, 3), "Theirs") << "shown as the file holds it";
    settle();
    EXPECT_EQ(column(7), (std::vector<std::string>{"100.00", "55.00"})) << "and the balance follows";
    EXPECT_EQ(status_fields()[1], "Balance: 55.00");
}

}  // namespace
}  // namespace quillet::testing
