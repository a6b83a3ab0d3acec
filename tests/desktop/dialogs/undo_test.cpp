// Undo and redo through the real dialogs: each kind of change is undone to the file, list, balance
// and status bar it replaced, and redone to what it made.
#include "core/runtime/file_access.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/undo_command.h"
#include "desktop/program/message_box.h"
#include "desktop/views/register_view.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace transaction_ids;

// Everything undo must put back: the file's bytes, every cell of the list, the status bar, the title.
struct Seen {
    std::string file;
    std::vector<std::string> cells;
    bool operator==(const Seen&) const = default;
};

class Undo : public Program {
  protected:
    static std::vector<TransactionRecord> five() {
        std::vector<TransactionRecord> records;
        for (int i = 0; i < 5; ++i) {
            records.push_back(record(make_date(2026, 12, 1 + i), 10.0f * static_cast<float>(i + 1), i % 2));
            records.back().payee = "Payee " + std::to_string(i);
        }
        return records;
    }
    Seen seen(const std::string& path) const {
        Seen now{file_stamp(path).exists ? read_file(path) : "(none)", {}};
        for (int row = 0; row < ui::count_items(kRegisterList); ++row) {
            for (int column = 0; column < kColumnCount; ++column) now.cells.push_back(cell(row, column));
        }
        for (int field = 1; field <= 5; ++field)
            now.cells.push_back(ui::status_field_text(kStatusBar, field));
        now.cells.push_back(ui::window_title(kMainWindow));
        return now;
    }
    void edit_row(int row, const std::function<void()>& change) {
        ui::set_state(kRegisterList, row);
        settle();
        trigger(kEditTransaction);
        change();
        settle();
        ui::click_button(kOk);
        settle();
    }
    static std::string undo_caption() { return ui::menu_item_text(kMenuBar, kUndo); }
    static std::string redo_caption() { return ui::menu_item_text(kMenuBar, kRedo); }
};

TEST_F(Undo, EveryKindOfChangeGoesBackAndComesAgainStepByStep) {
    const std::string path = open_register(five(), kReverseOrder);
    EXPECT_EQ(undo_caption(), "Nothing to &undo\tAlt+Backspace");
    std::vector<Seen> states{seen(path)};
    std::vector<std::string> captions;

    trigger(kAddTransaction);
    ui::set_text(kType, "Check");
    ui::set_text(kPayee, "Smith & Sons");
    ui::set_text(kDescription, "Fence");
    ui::set_text(kAmount, "48.50");
    settle();
    ui::click_button(kOk);
    settle();
    states.push_back(seen(path));
    captions.push_back("&Undo add of Smith && Sons 48.50\tAlt+Backspace");
    EXPECT_EQ(undo_caption(), captions.back());

    // The new row went to the end, as long as the order option is file order: 4 3 2 1 0 5.
    edit_row(1, [] { ui::set_text(kDescription, "Changed"); });
    states.push_back(seen(path));
    captions.push_back("&Undo edit of Payee 3 40.00\tAlt+Backspace");

    edit_row(3, [] { ui::click_button(kVoid); });
    states.push_back(seen(path));
    captions.push_back("&Undo void of Payee 1 20.00\tAlt+Backspace");

    ui::set_state(kRegisterList, 2);
    settle();
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    states.push_back(seen(path));
    captions.push_back("&Undo delete of Payee 2 30.00\tAlt+Backspace");
    EXPECT_EQ(undo_caption(), captions.back());
    EXPECT_EQ(redo_caption(), "Nothing to &redo\tCtrl+Y");
    for (std::size_t i = 1; i < states.size(); ++i) ASSERT_NE(states[i], states[i - 1]) << i;

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        EXPECT_EQ(undo_caption(), captions[i - 1]);
        trigger(kUndo);
        EXPECT_EQ(seen(path), states[i - 1]) << "undone to " << i - 1;
    }
    EXPECT_EQ(undo_caption(), "Nothing to &undo\tAlt+Backspace");
    EXPECT_EQ(redo_caption(), "&Redo add of Smith && Sons 48.50\tCtrl+Y");
    trigger(kUndo);
    EXPECT_EQ(seen(path), states.front()) << "nothing more to undo changes nothing";

    for (std::size_t i = 1; i < states.size(); ++i) {
        trigger(kRedo);
        EXPECT_EQ(seen(path), states[i]) << "redone to " << i;
    }
    EXPECT_EQ(messages(), std::vector<int>{3});
}

TEST_F(Undo, DeletingTheLastRowComesBackWithTheWholeFile) {
    std::vector<TransactionRecord> records = {record(current_date(), 5.0f, 0, 0, 1),
                                              record(current_date(), 7.0f, 0)};
    const std::string path = open_register(records);
    const Seen before = seen(path);
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    EXPECT_FALSE(file_stamp(path).exists);
    EXPECT_EQ(undo_caption(), "&Undo delete of Payee 7.00\tAlt+Backspace");
    const Seen removed = seen(path);

    trigger(kUndo);
    EXPECT_EQ(seen(path), before) << "the deleted record in the file came back too";
    EXPECT_EQ(app().session.path(), path);
    trigger(kRedo);
    EXPECT_EQ(seen(path), removed);
    EXPECT_EQ(app().session.path(), "");
}

TEST_F(Undo, AChangeByAnotherProgramIsNeverUndoneOver) {
    const std::string path = open_register(five());
    edit_row(0, [] { ui::set_text(kDescription, "Ours"); });
    std::int64_t index = 0;
    ASSERT_TRUE(append_record(path, record(current_date(), 1.0f, 0), index));  // another program
    const std::string theirs = read_file(path);
    messages();
    const int rows = ui::count_items(kRegisterList);
    trigger(kUndo);
    EXPECT_EQ(messages(), std::vector<int>{kMessageUndoRefused});
    EXPECT_EQ(read_file(path), theirs);
    EXPECT_EQ(ui::count_items(kRegisterList), rows + 1) << "the list shows the other program's record";
    EXPECT_EQ(undo_caption(), "Nothing to &undo since another program changed the register\tAlt+Backspace")
        << "the history could never be applied again, and the item says why";
}

TEST_F(Undo, TheHistoryOutlivesReordersAndEndsAtCompaction) {
    const std::string path = open_register(five());
    ui::set_state(kRegisterList, 1);
    settle();
    script->set_next_answer(ui::kAnswerYes);
    trigger(kDeleteTransaction);
    trigger(kReverseOrderItem);
    trigger(kUndo);
    EXPECT_EQ(column(3), (std::vector<std::string>{"Payee 4", "Payee 3", "Payee 2", "Payee 1", "Payee 0"}))
        << "the row went back to its place in the new order";
    trigger(kRedo);
    script->set_next_answer(ui::kAnswerYes);
    trigger(kCompactRegister);
    EXPECT_EQ(count_records(path), 4);
    EXPECT_EQ(undo_caption(), "Nothing to &undo since the register was compacted\tAlt+Backspace");
    trigger(kUndo);
    EXPECT_EQ(count_records(path), 4);
}

}  // namespace
}  // namespace quillet::testing
