// Undo and redo through the session's one path, against random sequences of the changes the
// program makes: N changes, then N undos give back the first file byte for byte, and N redos the
// changed file again.
#include "core/session/undo_history.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/session/register_session.h"
#include "tests/support/session_changes.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

TransactionRecord random_record(std::mt19937& random) {
    TransactionRecord record;
    record.date = static_cast<DateValue>(random() % 2'000'000'000);
    record.type = random() % 2 == 0 ? "Check" : "Debit";
    record.payee = "Payee " + std::to_string(random() % 7);
    record.description = "Memo";
    record.amount = static_cast<float>(random() % 100000) / 100.0f;
    record.kind = static_cast<std::uint8_t>(random() % 2);
    return record;
}

// A register whose records hold bytes after their texts' ends that another program left there:
// undo must give them back too.
std::string untidy_register(std::mt19937& random, int count) {
    std::string bytes;
    for (int slot = 0; slot < count; ++slot) {
        TransactionRecord record = random_record(random);
        record.record_number = slot;
        RecordBytes encoded = encode_record(record);
        encoded[record_format::kPayeeOffset + 40] = static_cast<std::uint8_t>(random());
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    return bytes;
}

// One random change as the program makes it: an add, an edit, a void or un-void, or a delete.
void random_change(std::mt19937& random, RegisterSession& session) {
    RowChange rows;
    const int what = session.row_count() < 2 ? 0 : static_cast<int>(random() % 4);
    if (what == 0) {
        ASSERT_TRUE(
            testing::add(session, random_record(random), session.list_order() == kListNewestFirst, rows)
                .done());
        return;
    }
    const auto row = static_cast<std::int64_t>(random() % static_cast<unsigned>(session.row_count()));
    if (what == 3) {
        ASSERT_TRUE(testing::delete_row(session, row, rows).done());
        return;
    }
    const std::int64_t slot = session.slot_of(row);
    RecordBytes opened{};
    ASSERT_TRUE(session.read(slot, opened));
    TransactionRecord record = what == 1 ? random_record(random) : decode_record(opened.data());
    if (what == 2) record.void_flag ^= 1;
    ASSERT_TRUE(testing::edit(session, slot, opened, record, rows).done());
}

TEST(UndoHistory, RandomChangesUndoneAndRedoneGiveBackEveryFileByteForByte) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        TempFolder folder;
        const std::string path = folder.write("Cash.qlt", untidy_register(random, 3));
        RegisterSession session;
        session.open(path, static_cast<int>(seed % 2));
        std::vector<std::string> files{read_file(path)};
        const int steps = 5 + static_cast<int>(random() % 40);
        for (int i = 0; i < steps; ++i) {
            random_change(random, session);
            files.push_back(read_file(path));
        }
        // Undo a few, change something else: the steps that could be redone go.
        const int back = static_cast<int>(random() % 4);
        RowChange rows;
        for (int i = 0; i < back; ++i) ASSERT_TRUE(session.undo(rows).done());
        files.resize(files.size() - static_cast<std::size_t>(back));
        ASSERT_EQ(read_file(path), files.back()) << "seed " << seed;
        random_change(random, session);
        files.push_back(read_file(path));
        EXPECT_EQ(session.history().redo_count(), 0u);

        ASSERT_EQ(session.history().undo_count(), files.size() - 1);
        for (std::size_t i = files.size() - 1; i > 0; --i) {
            ASSERT_TRUE(session.undo(rows).done()) << "seed " << seed;
            ASSERT_EQ(read_file(path), files[i - 1]) << "seed " << seed << ", undo to " << i - 1;
        }
        EXPECT_EQ(session.history().next_undo(), nullptr);
        for (std::size_t i = 1; i < files.size(); ++i) {
            ASSERT_TRUE(session.redo(rows).done()) << "seed " << seed;
            ASSERT_EQ(read_file(path), files[i]) << "seed " << seed << ", redo to " << i;
        }
        // The list shows what the file holds after all of it.
        RegisterSession fresh;
        fresh.open(path, session.list_order());
        ASSERT_EQ(fresh.row_count(), session.row_count()) << "seed " << seed;
        for (std::int64_t row = 0; row < fresh.row_count(); ++row) {
            EXPECT_EQ(fresh.slot_of(row), session.slot_of(row)) << "seed " << seed;
            EXPECT_EQ(fresh.balances().running(row), session.balances().running(row)) << "seed " << seed;
        }
        const BalanceSummary& kept = session.balances().summary();
        const BalanceSummary& read = fresh.balances().summary();
        EXPECT_EQ(std::tie(kept.rows, kept.balance, kept.month_rows, kept.month_deposits, kept.month_average),
                  std::tie(read.rows, read.balance, read.month_rows, read.month_deposits, read.month_average))
            << "seed " << seed;
    }
}

TEST(UndoHistory, ARemovedRegisterComesBackAndGoesAgain) {
    TempFolder folder;
    std::mt19937 random(7);
    std::string bytes = untidy_register(random, 3);
    bytes[0 * record_format::kRecordSize + record_format::kDeletedOffset] = 1;
    bytes[2 * record_format::kRecordSize + record_format::kDeletedOffset] = 1;
    const std::string path = folder.write("Cash.qlt", bytes);
    RegisterSession session;
    session.open(path, kListFileOrder);
    RowChange rows;
    ASSERT_TRUE(testing::delete_row(session, 0, rows).done());
    EXPECT_EQ(rows.kind, RowChange::Kind::kClosed);
    EXPECT_FALSE(session.is_open());
    EXPECT_FALSE(file_stamp(path).exists);

    ASSERT_TRUE(session.undo(rows).done());
    EXPECT_EQ(rows.kind, RowChange::Kind::kReloaded);
    EXPECT_EQ(read_file(path), bytes);
    session.open(path, kListFileOrder);
    ASSERT_TRUE(session.redo(rows).done());
    EXPECT_FALSE(file_stamp(path).exists);
    // A file made under the name meanwhile is never written over.
    folder.write("Cash.qlt", "another program's");
    EXPECT_TRUE(session.undo(rows).stale());
    EXPECT_EQ(read_file(path), "another program's");
}

TEST(UndoHistory, AChangeByAnotherProgramRefusesUndoAndRedoAndEndsTheHistoryWhenReadAgain) {
    TempFolder folder;
    std::mt19937 random(3);
    const std::string path = folder.write("Cash.qlt", untidy_register(random, 2));
    RegisterSession session;
    session.open(path, kListFileOrder);
    for (int i = 0; i < 4; ++i) random_change(random, session);
    RowChange rows;
    ASSERT_TRUE(session.undo(rows).done());

    std::int64_t index = 0;
    ASSERT_TRUE(append_record(path, TransactionRecord(), index));  // another program
    const std::string theirs = read_file(path);
    EXPECT_TRUE(session.undo(rows).stale());
    EXPECT_TRUE(session.redo(rows).stale());
    EXPECT_EQ(read_file(path), theirs);
    EXPECT_EQ(session.history().undo_count(), 3u) << "a refusal leaves the history as it was";

    // Read again, the register starts a history of its own, and says why the old one ended.
    session.open(path, kListFileOrder);
    EXPECT_EQ(session.history().undo_count(), 0u);
    EXPECT_EQ(session.history().ended(), HistoryEnd::kChangedElsewhere);
    random_change(random, session);
    ASSERT_TRUE(session.undo(rows).done());
    EXPECT_EQ(read_file(path), theirs);
}

TEST(UndoHistory, EditsOfTheVoidFlagAloneAreVoidsAndTheRestEdits) {
    std::mt19937 random(5);
    const RecordBytes plain = encode_record(random_record(random));
    RecordBytes voided = plain;
    voided[record_format::kVoidOffset] = 1;
    RecordBytes both = voided;
    both[record_format::kAmountOffset] ^= 1;
    RecordBytes deleted = plain;
    deleted[record_format::kDeletedOffset] = 1;
    EXPECT_EQ(kind_of_rewrite(plain, voided), ChangeKind::kVoid);
    EXPECT_EQ(kind_of_rewrite(voided, plain), ChangeKind::kUnvoid);
    EXPECT_EQ(kind_of_rewrite(plain, both), ChangeKind::kEdit);
    EXPECT_EQ(kind_of_rewrite(plain, plain), ChangeKind::kEdit);
    EXPECT_EQ(kind_of_rewrite(plain, deleted), ChangeKind::kDelete);
}

TEST(UndoHistory, AHistoryThatEndsWithStepsSaysWhy) {
    TempFolder folder;
    std::mt19937 random(9);
    const std::string path = folder.write("Cash.qlt", untidy_register(random, 2));
    RegisterSession session;
    session.open(path, kListFileOrder);
    EXPECT_EQ(session.history().ended(), HistoryEnd::kNone) << "nothing ended: there were no steps";
    random_change(random, session);
    CompactionCounts counts;
    ASSERT_TRUE(testing::compact(session, counts, true).done());
    EXPECT_EQ(session.history().ended(), HistoryEnd::kCompacted);
    EXPECT_EQ(session.history().next_undo(), nullptr);
}

}  // namespace
}  // namespace quillet
