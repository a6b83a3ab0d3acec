#include <sys/stat.h>

#include "core/list/row_search.h"
#include "core/runtime/file_access.h"
#include "desktop/dialogs/delete_command.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/find_dialog.h"
#include "desktop/program/message_box.h"
#include "desktop/views/register_view.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

class DeleteAndFind : public Program {
  protected:
    static std::vector<TransactionRecord> five() {
        std::vector<TransactionRecord> records;
        for (int i = 0; i < 5; ++i) {
            records.push_back(record(make_date(2026, 12, 1 + i), 10.0f * static_cast<float>(i + 1), 0));
            records.back().payee = "Payee " + std::to_string(i);
        }
        return records;
    }
    static std::vector<int> marked_rows() {
        std::vector<int> rows;
        for (int row = 0; row < ui::count_items(kRegisterList); ++row) {
            if (ui::get_item_colour(kRegisterList, row, ui::kBackColour, 3) == app().options.find_highlight)
                rows.push_back(row);
        }
        return rows;
    }
    void find(const std::string& text, bool inverse = false) {
        trigger(kFind);
        ui::set_text(find_ids::kText, text);
        if (inverse) ui::set_state(find_ids::kInverse, 1);
        ui::click_button(find_ids::kOk);
        settle();
    }
};

TEST_F(DeleteAndFind, DeletingTheOnlyRowDeletesTheRegisterFile) {
    const std::string path = open_register({record(current_date(), 10.0f, 0)});
    trigger(kDeleteTransaction);
    EXPECT_EQ(messages(), std::vector<int>{11});
    EXPECT_EQ(file_size(path), 211) << "No changes nothing";
    EXPECT_EQ(ui::count_items(kRegisterList), 1);

    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    EXPECT_EQ(messages(), std::vector<int>{11});
    EXPECT_EQ(file_size(path), -1);
    EXPECT_EQ(ui::count_items(kRegisterList), 0);
    EXPECT_EQ(app().session.path(), "");
    EXPECT_EQ(ui::window_title(kMainWindow), texts().program_title);
    EXPECT_EQ(ui::status_field_text(kStatusBar, 1), texts().idle_status);
    for (int field = 2; field <= 5; ++field) EXPECT_EQ(ui::status_field_text(kStatusBar, field), "");
    trigger(kAddTransaction);
    EXPECT_EQ(messages(), std::vector<int>{0}) << "no register is open any more";
}

TEST_F(DeleteAndFind, DeletingInTheMiddleFlagsTheRecordOfTheRow) {
    const std::string path = open_register(five(), kReverseOrder);
    ui::set_state(kRegisterList, 1);  // record 3 in reverse order
    settle();
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    EXPECT_EQ(messages(), std::vector<int>{3});
    EXPECT_EQ(ui::count_items(kRegisterList), 4);
    EXPECT_EQ(count_records(path), 5);
    TransactionRecord flagged;
    ASSERT_TRUE(read_record(path, 3, flagged));
    EXPECT_EQ(flagged.deleted, 1);
    EXPECT_EQ(flagged.payee, "Payee 3");
    EXPECT_EQ(column(3), (std::vector<std::string>{"Payee 4", "Payee 2", "Payee 1", "Payee 0"}));
    EXPECT_EQ(ui::get_state(kRegisterList), 0);
    EXPECT_EQ(app().current_row, 0);
    EXPECT_EQ(ui::status_field_text(kStatusBar, 2), "Balance: 110.00");
}

TEST_F(DeleteAndFind, AFlagThatCannotBeWrittenKeepsTheRow) {
    const std::string path = open_register(five());
    ::chmod(path.c_str(), 0444);
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    EXPECT_EQ(messages(), (std::vector<int>{3, kMessageRegisterNotChanged}));
    EXPECT_EQ(ui::count_items(kRegisterList), 5);
}

TEST_F(DeleteAndFind, FindMarksRowsWhateverTheCaseAndColumn) {
    std::vector<TransactionRecord> records = five();
    records[2].payee = "Corner GROCERY";
    open_register(records);
    find("grocery");
    EXPECT_EQ(marked_rows(), std::vector<int>{2});
    EXPECT_EQ(ui::get_state(kRegisterList), -1) << "no row stays selected";
    find("150.00");  // only in the balance column of the last row
    EXPECT_EQ(marked_rows(), std::vector<int>{4});
    find("description", true);
    EXPECT_TRUE(marked_rows().empty()) << "every row holds it";
    find("nowhere at all", true);
    EXPECT_EQ(marked_rows(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(app().pick_lists[kMaskList],
              (std::vector<std::string>{"nowhere at all", "description", "150.00", "grocery"}));
    find("  150.00 ");
    EXPECT_EQ(app().pick_lists[kMaskList],
              (std::vector<std::string>{"150.00", "nowhere at all", "description", "grocery"}));
}

TEST_F(DeleteAndFind, AnEmptySearchClearsTheMarksAndEscapeChangesNothing) {
    open_register(five());
    find("Payee 1");
    ASSERT_EQ(marked_rows(), std::vector<int>{1});
    trigger(kFind);
    EXPECT_EQ(ui::get_text(find_ids::kText), "Payee 1") << "the last search text is offered";
    EXPECT_EQ(ui::get_selection(find_ids::kText), (std::pair<int, int>{0, 7}))
        << "selected: typing replaces it";
    ui::set_text(find_ids::kText, "Payee 3");
    ui::post_event(ui::kEventMenu, find_ids::kWindow, find_ids::kCancel);
    settle();
    EXPECT_EQ(marked_rows(), std::vector<int>{1});
    find("   ");
    EXPECT_TRUE(marked_rows().empty());
    EXPECT_EQ(app().pick_lists[kMaskList], std::vector<std::string>{"Payee 1"});
}

TEST_F(DeleteAndFind, ReturnInTheSearchFieldSearches) {
    open_register(five());
    trigger(kFind);
    ui::set_text(find_ids::kText, "payee 4");
    ui::set_focus(find_ids::kText);
    ui::post_event(ui::kEventMenu, find_ids::kWindow, 100);
    settle();
    EXPECT_FALSE(ui::is_window(find_ids::kWindow));
    EXPECT_EQ(marked_rows(), std::vector<int>{4});
}

TEST(FindText, IgnoresTheCaseOfEveryLetter) {
    EXPECT_TRUE(contains_ignoring_case("Corner GROCERY", "grocery"));
    EXPECT_TRUE(contains_ignoring_case("Caf\xC9", "caf\xE9"));
    EXPECT_TRUE(
        contains_ignoring_case("\x8A"
                               "koda",
                               "\x9A"
                               "KODA"));
    EXPECT_FALSE(contains_ignoring_case("Grocer", "grocery"));
    EXPECT_TRUE(contains_ignoring_case("anything", ""));
}

// Each row leads to the slot it was read from, even where a record's stored number went astray:
// the numbers 1, 2, 3 in slots 0, 1, 2 must not make the first row edit or delete the second.
TEST_F(DeleteAndFind, RowsLeadToTheirSlotsWhateverNumberTheRecordsCarry) {
    std::string bytes;
    std::vector<TransactionRecord> records = five();
    for (std::size_t i = 0; i < 3; ++i) {
        records[i].record_number = static_cast<std::int32_t>(i + 1);
        const RecordBytes encoded = encode_record(records[i]);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    const std::string path = folder.write("Astray.qlt", bytes);
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    EXPECT_EQ(messages(), std::vector<int>{kMessageMisnumbered}) << "said when it is opened";
    ASSERT_TRUE(fill_register_view(path, kToggleOrder));
    EXPECT_TRUE(messages().empty()) << "and only once";
    ASSERT_TRUE(fill_register_view(path, kToggleOrder));

    select_register_row(0);
    trigger(kEditTransaction);
    EXPECT_EQ(ui::get_text(transaction_ids::kPayee), "Payee 0");
    ui::click_button(transaction_ids::kOk);
    settle();
    TransactionRecord first, second;
    ASSERT_TRUE(read_record(path, 0, first));
    ASSERT_TRUE(read_record(path, 1, second));
    EXPECT_EQ(first.payee, "Payee 0");
    EXPECT_EQ(first.record_number, 0) << "the edit wrote its slot's own number";
    EXPECT_EQ(second.payee, "Payee 1") << "the second record untouched";

    select_register_row(2);
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    ASSERT_TRUE(read_record(path, 2, first));
    ASSERT_TRUE(read_record(path, 1, second));
    EXPECT_EQ(first.deleted, 1) << "the third row flagged its own slot";
    EXPECT_EQ(second.deleted, 0);
}

// Another program compacts the register under the list: a delete then writes nothing, the list
// is filled again from the file, and the user is told; an edit keeps what was typed.
TEST_F(DeleteAndFind, AChangeByAnotherProgramIsNeverWrittenOver) {
    std::vector<TransactionRecord> records = five();
    records[1].deleted = 1;
    const std::string path = open_register(records);
    CompactionCounts counts;
    ASSERT_TRUE(compact_register(path, counts)) << "another program compacts";
    const std::string compacted = read_file(path);

    select_register_row(1);
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    EXPECT_EQ(messages(), (std::vector<int>{kMessageConfirmDelete, kMessageChangedElsewhere}));
    EXPECT_EQ(read_file(path), compacted) << "nothing flagged";
    EXPECT_EQ(column(3), (std::vector<std::string>{"Payee 0", "Payee 2", "Payee 3", "Payee 4"}))
        << "refilled";

    select_register_row(0);
    trigger(kEditTransaction);
    ui::set_text(transaction_ids::kPayee, "Typed");
    std::int64_t index = 0;
    ASSERT_TRUE(append_record(path, record(current_date(), 1.0f, 0), index)) << "another program appends";
    ui::click_button(transaction_ids::kOk);
    settle();
    EXPECT_EQ(messages(), std::vector<int>{kMessageChangedElsewhere});
    ASSERT_TRUE(ui::is_window(transaction_ids::kWindow)) << "the entry stays to save again";
    EXPECT_EQ(ui::get_text(transaction_ids::kPayee), "Typed");
    ui::click_button(transaction_ids::kOk);
    settle();
    EXPECT_FALSE(ui::is_window(transaction_ids::kWindow));
    TransactionRecord saved;
    ASSERT_TRUE(read_record(path, 0, saved));
    EXPECT_EQ(saved.payee, "Typed");
    EXPECT_EQ(cell(0, 3), "Typed");
    EXPECT_EQ(ui::count_items(kRegisterList), 5);
}

}  // namespace
}  // namespace quillet::testing
