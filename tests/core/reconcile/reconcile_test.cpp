// Reconciling: the difference finder's cases, and states that stay on their transactions through
// an edit, compaction, undo and another program's append, with the statement's rules.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "core/reconcile/difference_finder.h"
#include "core/reconcile/reconcile_sheet.h"
#include "core/session/register_session.h"
#include "tests/support/session_changes.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::TempFolder;

TEST(DifferenceFinder, NamesEveryTransactionThatExplainsTheSignedDifferenceAndNeverGuesses) {
    struct Case {
        const char* name;
        std::vector<std::int64_t> amounts;  // cents; ticked unless listed below
        std::vector<std::size_t> unticked;
        std::int64_t ending;
        std::vector<std::pair<ClueKind, std::vector<std::size_t>>> clues;
    };
    const std::vector<Case> cases = {
        {"one ticked that the bank has not",
         {10000, -2550, -1999},
         {},
         10000 - 2550,
         {{ClueKind::kAmount, {2}}}},
        {"one the bank has, not ticked",
         {10000, -2550, -1999},
         {2},
         10000 - 2550 - 1999,
         {{ClueKind::kAmount, {2}}}},
        {"a withdrawal typed as a deposit", {10000, 4200}, {}, 10000 - 4200, {{ClueKind::kHalf, {1}}}},
        {"two digits swapped", {10000, -5400}, {}, 10000 - 4500, {{ClueKind::kTransposed, {1}}}},
        // 45.10 typed as 54.10 leaves +9.00: the swap that explains it makes a withdrawal smaller;
        // no swap of 1,234.56's rising digits does.
        {"a swap only where it moves the balance the difference's way",
         {10000, -5410, -123456},
         {},
         10000 - 4510 - 123456,
         {{ClueKind::kTransposed, {1}}}},
        // The bank has a third 12.34 the register lacks: unticking either one would move the
        // balance the other way, so neither is named.
        {"the wrong way is no clue", {10000, -1234, -1234}, {}, 10000 - 1234 - 1234 - 1234, {}},
        {"several of the amount", {10000, -1234, -1234}, {1, 2}, 10000 - 1234, {{ClueKind::kAmount, {1, 2}}}},
        {"none", {10000, -2550}, {}, 10000 - 2550 + 7, {}},
        {"zero", {10000}, {}, 10000, {}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        ReconcileSheet sheet;
        sheet.ending_cents = each.ending;
        for (std::size_t at = 0; at < each.amounts.size(); ++at) {
            const bool unticked =
                std::find(each.unticked.begin(), each.unticked.end(), at) != each.unticked.end();
            sheet.add({0, kNoDate, each.amounts[at], 0}, !unticked);
        }
        std::vector<std::pair<ClueKind, std::vector<std::size_t>>> found;
        for (const DifferenceClue& clue : find_difference(sheet)) found.emplace_back(clue.kind, clue.items);
        EXPECT_EQ(found, each.clues);
    }
    // 1,234.56 received as 1,243.56: putting it right takes 9.00 off a deposit.
    EXPECT_TRUE(transposition_explains(124356, -900));
    EXPECT_FALSE(transposition_explains(124356, 900));
    EXPECT_FALSE(transposition_explains(1000, -90));  // only 10.00 to 1.00 (9.00)
}

TransactionRecord typed(int day, float amount, const char* payee,
                        std::uint8_t kind = record_format::kWithdrawal) {
    TransactionRecord record;
    record.date = make_date(2025, 1, day);
    record.type = "Check";
    record.payee = payee;
    record.amount = amount;
    record.kind = kind;
    return record;
}

class Reconcile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string bytes;
        TransactionRecord gone = typed(1, 1.0f, "Gone");
        gone.deleted = 1;
        for (const TransactionRecord& record :
             {gone, typed(2, 500.0f, "Salary", record_format::kDeposit), typed(3, 20.25f, "Grocer"),
              typed(3, 20.25f, "Grocer"), typed(20, 75.5f, "Power"), typed(28, 9.99f, "Late")}) {
            const RecordBytes encoded = encode_record(record);
            bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        }
        path = folder.write("Checking.qlt", bytes);
        session.open(path, kListFileOrder);
    }
    std::vector<ClearState> states() {
        std::vector<ClearState> all;
        for (std::int64_t row = 0; row < session.row_count(); ++row) all.push_back(session.row_state(row));
        return all;
    }
    ReconcileSheet sheet_to(int day, std::int64_t ending, const std::vector<StoredImport>& imports = {}) {
        ReconcileSheet sheet;
        EXPECT_TRUE(
            build_sheet(session, make_date(2025, 1, day), ending, opening_balance(session, imports), sheet));
        return sheet;
    }
    TempFolder folder;
    std::string path;
    RegisterSession session;
};

constexpr ClearState U = ClearState::kUncleared;
constexpr ClearState C = ClearState::kCleared;
constexpr ClearState R = ClearState::kReconciled;

TEST_F(Reconcile, StatesStayOnTheirTransactionsThroughEditsCompactionUndoAndAnotherProgramsAppend) {
    // The second of the two same grocer rows and the power bill are cleared.
    ASSERT_TRUE(testing::set_cleared(session, {3, 4}, {true, true}).done());
    EXPECT_EQ(states(), (std::vector<ClearState>{U, U, C, C, U}));
    EXPECT_EQ(session.cleared_balance().cents, -2025 - 7550);

    // A statement to the 25th: 500.00 - 20.25 - 75.50 = 404.25 with the salary and one grocer.
    ReconcileSheet sheet = sheet_to(25, 40425);
    ASSERT_EQ(sheet.size(), 4u);
    EXPECT_EQ(sheet.difference(), (Figure{40425 + 2025 + 7550, false}));
    sheet.tick(0, true);
    EXPECT_EQ(sheet.difference(), (Figure{2025 + 7550 - 50000 + 40425, false}));
    sheet.tick(3, false);  // the power bill was not on this statement after all...
    sheet.tick(3, true);   // ...it was
    EXPECT_TRUE(sheet.balanced());
    RowChange change;
    ASSERT_TRUE(
        testing::finish_statement(
            session,
            {0, sheet.statement_date, sheet.opening_cents, sheet.ending_cents, make_date(2025, 2, 1), false},
            {sheet.items()[0].slot, sheet.items()[1].slot, sheet.items()[2].slot, sheet.items()[3].slot},
            sheet.ticks(), change)
            .done());
    EXPECT_EQ(states(), (std::vector<ClearState>{R, U, R, R, U}));
    EXPECT_EQ(opening_balance(session, {}).cents, 40425);
    EXPECT_EQ(statement_problem(session, make_date(2025, 1, 24)), StatementProblem::kBeforeLastStatement);
    EXPECT_EQ(sheet_to(31, 0).size(), 2u);  // the grocer left out and the late one

    // Undo takes the statement back whole, redo makes it again.
    ASSERT_TRUE(session.undo(change).done());
    EXPECT_EQ(states(), (std::vector<ClearState>{U, U, C, C, U}));
    EXPECT_TRUE(session.statements().empty());
    ASSERT_TRUE(session.redo(change).done());
    EXPECT_EQ(states(), (std::vector<ClearState>{R, U, R, R, U}));

    // Editing a reconciled transaction moves its mark along and marks its statement changed.
    RecordBytes opened{};
    ASSERT_TRUE(session.read(session.slot_of(3), opened));
    TransactionRecord edited = decode_record(opened.data());
    edited.payee = "Power & Light";
    ASSERT_TRUE(testing::edit(session, session.slot_of(3), opened, edited, change).done());
    ASSERT_EQ(session.statements().size(), 1u);
    EXPECT_TRUE(session.statements()[0].changed);

    // Compaction moves every record; another program appends one; the marks are where they were.
    CompactionCounts counts;
    ASSERT_TRUE(testing::compact(session, counts, true).done());
    std::int64_t slot = 0;
    ASSERT_TRUE(append_record(path, typed(29, 3.0f, "Fee"), slot));
    RegisterSession reopened;
    reopened.open(path, kListFileOrder);
    reopened.read_store();
    std::vector<ClearState> after;
    for (std::int64_t row = 0; row < reopened.row_count(); ++row) after.push_back(reopened.row_state(row));
    EXPECT_EQ(after, (std::vector<ClearState>{R, U, R, R, U, U}));
    EXPECT_TRUE(reopened.statements().at(0).changed);

    // A sheet over a file another program changed since it was listed is refused: read it again.
    ASSERT_TRUE(append_record(path, typed(30, 4.0f, "Fee"), slot));
    ReconcileSheet stale;
    EXPECT_EQ(build_sheet(reopened, make_date(2025, 1, 31), 0, {}, stale).error(), ESTALE);
    EXPECT_TRUE(testing::set_cleared(reopened, {1}, {true}).stale());
}

TEST_F(Reconcile, TicksAreKeptByFingerprintAndAnImportProposesItsStatement) {
    ReconcileSheet sheet = sheet_to(31, 0);
    sheet.tick(2, true);  // the second grocer row: the same bytes as the first
    sheet.tick(3, true);
    ReconcileSheet again = sheet_to(31, 0);
    again.tick_fingerprints(sheet.ticked_fingerprints());
    EXPECT_EQ(again.ticked_count(), 2u);
    EXPECT_EQ(again.ticked_cents(), sheet.ticked_cents());

    std::vector<StoredImport> imports(2);
    imports[0].closing_cents = 100;
    imports[0].closing_date = make_date(2025, 1, 15);
    const ProposedStatement proposed = proposed_statement(imports);
    EXPECT_EQ(proposed.date, make_date(2025, 1, 15));
    EXPECT_EQ(proposed.ending_cents, 100);
}

// Before the first statement, the opening balance is the last imported statement's: its own when
// it states one, else the register's balance before its first day. What is dated before that day
// is in the opening balance: not listed, and reconciled with the statement.
TEST_F(Reconcile, TheFirstStatementOpensFromTheImportedStatement) {
    std::vector<StoredImport> imports(1);
    imports[0].file_name = "/downloads/january.csv";
    imports[0].first_date = make_date(2025, 1, 20);
    OpeningBalance opening = opening_balance(session, imports);
    EXPECT_EQ(opening.source, OpeningBalance::Source::kBalanceBefore);
    ReconcileSheet sheet = sheet_to(31, 0, imports);
    EXPECT_EQ(sheet.opening_cents, 50000 - 2025 - 2025) << "the salary and the two grocer rows";
    EXPECT_EQ(sheet.size(), 2u);
    EXPECT_EQ(sheet.carried.size(), 3u);

    imports[0].opening_cents = 100000;  // as a CAMT.053 statement's OPBD says
    opening = opening_balance(session, imports);
    EXPECT_EQ(opening.source, OpeningBalance::Source::kStatementSays);
    sheet = sheet_to(31, 100000 - 7550 - 999, imports);
    EXPECT_EQ(sheet.opening_cents, 100000);
    sheet.tick_all(true);
    EXPECT_TRUE(sheet.balanced());
    RowChange change;
    ASSERT_TRUE(testing::finish_statement(session,
                                          {0, sheet.statement_date, sheet.opening_cents, sheet.ending_cents,
                                           make_date(2025, 2, 1), false},
                                          sheet.finish_slots(), sheet.finish_ticks(), change)
                    .done());
    EXPECT_EQ(states(), (std::vector<ClearState>{R, R, R, R, R}));
    opening = opening_balance(session, imports);
    EXPECT_EQ(opening.source, OpeningBalance::Source::kLastStatement)
        << "the next one opens where this ended";
    EXPECT_EQ(opening.cents, 100000 - 7550 - 999);
}

}  // namespace
}  // namespace quillet
