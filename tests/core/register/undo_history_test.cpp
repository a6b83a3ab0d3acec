// The undo history against random sequences of the changes the program makes: N changes, then N
// undos give back the first file byte for byte, and N redos the changed file again.
#include "core/register/undo_history.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

RecordBytes random_record(std::mt19937& random, std::int64_t slot) {
    TransactionRecord record;
    record.record_number = static_cast<std::int32_t>(slot);
    record.date = static_cast<DateValue>(random() % 2'000'000'000);
    record.type = random() % 2 == 0 ? "Check" : "Debit";
    record.payee = "Payee " + std::to_string(random() % 7);
    record.description = "Memo";
    record.amount = static_cast<float>(random() % 100000) / 100.0f;
    record.kind = static_cast<std::uint8_t>(random() % 2);
    RecordBytes bytes = encode_record(record);
    // Bytes after a text's end that another program left there: undo must keep them too.
    bytes[record_format::kPayeeOffset + 40] = static_cast<std::uint8_t>(random());
    return bytes;
}

// Makes one random change as the program does, from the file as it lists it, and records it.
void random_change(std::mt19937& random, const std::string& path, UndoHistory& history) {
    const std::int64_t count = count_records(path);
    WriteCheck check;
    check.listed = file_stamp(path);
    RegisterChange change;
    const int what = count == 0 ? 0 : static_cast<int>(random() % 4);
    change.slot = what == 0 ? count : static_cast<std::int64_t>(random() % static_cast<unsigned>(count));
    if (what == 0) {
        change.kind = ChangeKind::kAdd;
        change.after = random_record(random, count);
        ASSERT_TRUE(write_record_bytes(path, count, change.after, &check));
    } else if (what == 3) {
        change.kind = ChangeKind::kDelete;
        ASSERT_TRUE(set_deleted_flag(path, change.slot, 1, &check, &change.before));
        change.after = change.before;
        change.after[record_format::kDeletedOffset] = 1;
    } else {
        ASSERT_TRUE(read_record_bytes(path, change.slot, change.before));
        change.after = what == 1 ? random_record(random, change.slot) : change.before;
        if (what == 2) change.after[record_format::kVoidOffset] ^= 1;
        change.kind = kind_of_edit(change.before, change.after);
        check.record = change.before;
        ASSERT_TRUE(write_record_bytes(path, change.slot, change.after, &check));
    }
    history.record(change, check);
}

TEST(UndoHistory, RandomChangesUndoneAndRedoneGiveBackEveryFileByteForByte) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        TempFolder folder;
        const std::string path = folder.write("Cash.qlt", "");
        UndoHistory history;
        history.start(path, HistoryEnd::kOpened);
        std::vector<std::string> files{read_file(path)};
        const int steps = 5 + static_cast<int>(random() % 40);
        for (int i = 0; i < steps; ++i) {
            random_change(random, path, history);
            files.push_back(read_file(path));
        }
        // Undo a few, change something else: the steps that could be redone go.
        const int back = static_cast<int>(random() % 4);
        for (int i = 0; i < back; ++i) ASSERT_TRUE(history.undo());
        files.resize(files.size() - static_cast<std::size_t>(back));
        ASSERT_EQ(read_file(path), files.back()) << "seed " << seed;
        random_change(random, path, history);
        files.push_back(read_file(path));
        EXPECT_EQ(history.redo_count(), 0u);

        ASSERT_EQ(history.undo_count(), files.size() - 1);
        for (std::size_t i = files.size() - 1; i > 0; --i) {
            ASSERT_TRUE(history.undo()) << "seed " << seed;
            ASSERT_EQ(read_file(path), files[i - 1]) << "seed " << seed << ", undo to " << i - 1;
        }
        EXPECT_EQ(history.next_undo(), nullptr);
        for (std::size_t i = 1; i < files.size(); ++i) {
            ASSERT_TRUE(history.redo()) << "seed " << seed;
            ASSERT_EQ(read_file(path), files[i]) << "seed " << seed << ", redo to " << i;
        }
    }
}

TEST(UndoHistory, ARemovedRegisterComesBackAndGoesAgain) {
    TempFolder folder;
    std::mt19937 random(7);
    std::string bytes;
    for (int i = 0; i < 3; ++i) {
        const RecordBytes record = random_record(random, i);
        bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    bytes[2 * record_format::kRecordSize + record_format::kDeletedOffset] = 1;
    const std::string path = folder.write("Cash.qlt", bytes);
    UndoHistory history;
    history.start(path, HistoryEnd::kOpened);
    RegisterChange change;
    change.kind = ChangeKind::kDeleteRegister;
    change.removed_file = bytes;
    std::copy_n(bytes.begin(), record_format::kRecordSize, change.after.begin());
    WriteCheck check;
    check.listed = history.stamp();
    ASSERT_TRUE(delete_file(path));
    check.after = file_stamp(path);
    history.record(change, check);

    AppliedStep applied;
    ASSERT_TRUE(history.undo(&applied));
    EXPECT_TRUE(applied.register_restored);
    EXPECT_EQ(read_file(path), bytes);
    ASSERT_TRUE(history.redo(&applied));
    EXPECT_TRUE(applied.register_removed);
    EXPECT_FALSE(file_stamp(path).exists);
    // A file made under the name meanwhile is never written over.
    folder.write("Cash.qlt", "another program's");
    EXPECT_EQ(history.undo().error(), ESTALE);
    EXPECT_EQ(read_file(path), "another program's");
}

TEST(UndoHistory, AChangeByAnotherProgramRefusesUndoAndRedoAndEndsTheOlderSteps) {
    TempFolder folder;
    const std::string path = folder.write("Cash.qlt", "");
    std::mt19937 random(3);
    UndoHistory history;
    history.start(path, HistoryEnd::kOpened);
    for (int i = 0; i < 4; ++i) random_change(random, path, history);
    ASSERT_TRUE(history.undo());

    std::int64_t index = 0;
    ASSERT_TRUE(append_record(path, TransactionRecord(), index));  // another program
    const std::string theirs = read_file(path);
    EXPECT_EQ(history.undo().error(), ESTALE);
    EXPECT_EQ(history.redo().error(), ESTALE);
    EXPECT_EQ(read_file(path), theirs);
    EXPECT_EQ(history.undo_count(), 3u) << "a refusal leaves the history as it was";

    // Our next change starts from their file: what came before it cannot be undone any more.
    random_change(random, path, history);
    EXPECT_EQ(history.undo_count(), 1u);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(read_file(path), theirs);
}

TEST(UndoHistory, EditsOfTheVoidFlagAloneAreVoidsAndTheRestEdits) {
    std::mt19937 random(5);
    const RecordBytes plain = random_record(random, 0);
    RecordBytes voided = plain;
    voided[record_format::kVoidOffset] = 1;
    RecordBytes both = voided;
    both[record_format::kAmountOffset] ^= 1;
    EXPECT_EQ(kind_of_edit(plain, voided), ChangeKind::kVoid);
    EXPECT_EQ(kind_of_edit(voided, plain), ChangeKind::kUnvoid);
    EXPECT_EQ(kind_of_edit(plain, both), ChangeKind::kEdit);
    EXPECT_EQ(kind_of_edit(plain, plain), ChangeKind::kEdit);
}

TEST(UndoHistory, AHistoryThatEndsWithStepsSaysWhy) {
    TempFolder folder;
    const std::string path = folder.write("Cash.qlt", "");
    std::mt19937 random(9);
    UndoHistory history;
    history.start(path, HistoryEnd::kOpened);
    EXPECT_EQ(history.ended(), HistoryEnd::kNone) << "nothing ended: there were no steps";
    random_change(random, path, history);
    history.start(path, HistoryEnd::kCompacted);
    EXPECT_EQ(history.ended(), HistoryEnd::kCompacted);
    EXPECT_EQ(history.next_undo(), nullptr);
}

}  // namespace
}  // namespace quillet
