#include "core/register/register_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <string>
#include <vector>

#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using namespace record_format;
using testing::read_file;
using testing::TempFolder;

TransactionRecord make_record(std::int32_t number, std::uint8_t deleted = kLive) {
    TransactionRecord record;
    record.deleted = deleted;
    record.record_number = number;
    record.date = make_date(2020, 1, 1) + (number % 1000) * 86400;
    record.type = "Check";
    record.number = std::to_string(100 + number);
    record.payee = "Payee " + std::to_string(number);
    record.description = "Description " + std::to_string(number);
    record.amount = 10.0f + static_cast<float>(number);
    record.kind = number % 2 == 0 ? kWithdrawal : kDeposit;
    return record;
}

// Writes a register whose records carry the given deleted flags.
std::string write_register(const TempFolder& folder, const std::string& name,
                           const std::vector<int>& deleted) {
    std::string bytes;
    for (std::size_t i = 0; i < deleted.size(); ++i) {
        const RecordBytes record =
            encode_record(make_record(static_cast<std::int32_t>(i), static_cast<std::uint8_t>(deleted[i])));
        bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    return folder.write(name, bytes);
}

std::string data_file(const std::string& name) {
    return std::string(QUILLET_TEST_DATA) + "registers/" + name;
}

class RegisterFile : public ::testing::Test {
  protected:
    void TearDown() override {
        set_clock({});
        inject_replace_fault(ReplaceFault::kNone);
    }
    TempFolder folder;
};

TEST_F(RegisterFile, CountsRecordsDeletedOnesIncluded) {
    EXPECT_EQ(count_records(write_register(folder, "five.qlt", {0, 1, 0, 1, 0})), 5);
    EXPECT_EQ(count_records(data_file("empty.qlt")), 0);
    EXPECT_EQ(count_records(data_file("one_byte_long.qlt")), 1);
    EXPECT_EQ(count_records(folder.file("missing.qlt")), 0);
}

TEST_F(RegisterFile, AppendsAfterTheLastRecordWithItsSlotAsNumber) {
    const std::string path = write_register(folder, "five.qlt", {0, 1, 0, 1, 0});
    const std::int64_t index = count_records(path);
    ASSERT_EQ(index, 5);
    TransactionRecord added = make_record(static_cast<std::int32_t>(index));
    ASSERT_TRUE(write_record(path, index, added));

    const std::string bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 6 * kRecordSize);
    EXPECT_EQ(bytes.substr(1055),
              std::string(reinterpret_cast<const char*>(encode_record(added).data()), kRecordSize));
    TransactionRecord read_back;
    ASSERT_TRUE(read_record(path, 5, read_back));
    EXPECT_EQ(read_back.record_number, 5);
    EXPECT_EQ(read_back, added);
}

TEST_F(RegisterFile, OverwritesARecordInPlace) {
    const std::string path = write_register(folder, "three.qlt", {0, 0, 0});
    TransactionRecord edited = make_record(1);
    edited.payee = "Someone else";
    edited.void_flag = kVoid;
    ASSERT_TRUE(write_record(path, 1, edited));
    TransactionRecord first, middle, last;
    ASSERT_TRUE(read_record(path, 0, first));
    ASSERT_TRUE(read_record(path, 1, middle));
    ASSERT_TRUE(read_record(path, 2, last));
    EXPECT_EQ(first, make_record(0));
    EXPECT_EQ(middle, edited);
    EXPECT_EQ(last, make_record(2));
    EXPECT_EQ(count_records(path), 3);
}

TEST_F(RegisterFile, ReportsAWriteThatCannotHappenAndLeavesTheFileAlone) {
    const std::string path = write_register(folder, "two.qlt", {0, 0});
    const std::string before = read_file(path);
    EXPECT_FALSE(write_record(path, 3, make_record(3))) << "a gap after the last record";
    EXPECT_FALSE(write_record(path, -1, make_record(0)));
    EXPECT_EQ(read_file(path), before);

    EXPECT_FALSE(write_record(folder.file("gone.qlt"), 0, make_record(0)));
    EXPECT_EQ(file_size(folder.file("gone.qlt")), -1) << "a vanished register is not created anew";

    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(write_record(path, 2, make_record(2)));
    EXPECT_FALSE(set_deleted_flag(path, 0, kDeleted));
    EXPECT_EQ(read_file(path), before);
}

TEST_F(RegisterFile, ReadsOnlyRecordsThatExist) {
    const std::string path = write_register(folder, "two.qlt", {0, 0});
    TransactionRecord record = make_record(9);
    EXPECT_FALSE(read_record(path, 2, record));
    EXPECT_FALSE(read_record(path, -1, record));
    EXPECT_FALSE(read_record(folder.file("missing.qlt"), 0, record));
    EXPECT_FALSE(read_record(data_file("one_byte_short.qlt"), 0, record));
    EXPECT_EQ(record, make_record(9)) << "a failed read leaves the record alone";
}

TEST_F(RegisterFile, DeletingOnlyFlagsTheRecordAndKeepsItsData) {
    const std::string path = write_register(folder, "three.qlt", {0, 0, 0});
    ASSERT_TRUE(set_deleted_flag(path, 1, kDeleted));
    EXPECT_EQ(count_records(path), 3);
    TransactionRecord record;
    ASSERT_TRUE(read_record(path, 1, record));
    TransactionRecord expected = make_record(1);
    expected.deleted = kDeleted;
    EXPECT_EQ(record, expected);
    EXPECT_FALSE(set_deleted_flag(path, 3, kDeleted));
}

struct CheckCase {
    const char* file;
    RegisterCheck expected;
};

void PrintTo(const CheckCase& check, std::ostream* out) { *out << check.file; }

class BrokenRegister : public ::testing::TestWithParam<CheckCase> {};

TEST_P(BrokenRegister, IsCheckedBeforeItIsOpened) {
    EXPECT_EQ(check_register_file(data_file(GetParam().file)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(DataFiles, BrokenRegister,
                         ::testing::Values(CheckCase{"empty.qlt", RegisterCheck::kAccepted},
                                           CheckCase{"two_records.qlt", RegisterCheck::kAccepted},
                                           CheckCase{"one_byte_short.qlt", RegisterCheck::kWrongLength},
                                           CheckCase{"one_byte_long.qlt", RegisterCheck::kWrongLength},
                                           CheckCase{"deleted_flag_2.qlt",
                                                     RegisterCheck::kDamagedFirstRecord},
                                           CheckCase{"void_flag_255.qlt", RegisterCheck::kDamagedFirstRecord},
                                           CheckCase{"no_such_file.qlt", RegisterCheck::kMissing}),
                         [](const ::testing::TestParamInfo<CheckCase>& param_info) {
                             std::string name = param_info.param.file;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST_F(RegisterFile, CheckRefusesFoldersAndReadOnlyFiles) {
    EXPECT_EQ(check_register_file(folder.path()), RegisterCheck::kFolder);
    EXPECT_EQ(check_register_file(""), RegisterCheck::kMissing);
    const std::string path = write_register(folder, "locked.qlt", {0});
    EXPECT_EQ(check_register_file(path), RegisterCheck::kAccepted);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(check_register_file(path), RegisterCheck::kReadOnly);
}

TEST_F(RegisterFile, VisitsEveryRecordInOrderAcrossBlocks) {
    std::vector<int> flags(9000, 0);
    const std::string path = write_register(folder, "many.qlt", flags);
    std::int64_t visited = 0;
    ASSERT_TRUE(visit_records(path, [&](std::int64_t index, const std::uint8_t* bytes) {
        EXPECT_EQ(get_i32(bytes + kRecordNumberOffset), index);
        ++visited;
        return true;
    }));
    EXPECT_EQ(visited, 9000);

    visited = 0;
    ASSERT_TRUE(
        visit_records(path, [&](std::int64_t index, const std::uint8_t*) { return ++visited, index < 9; }));
    EXPECT_EQ(visited, 10);
    EXPECT_FALSE(
        visit_records(folder.file("missing.qlt"), [](std::int64_t, const std::uint8_t*) { return true; }));
}

TEST_F(RegisterFile, NewRegisterHoldsTheOpeningTransactionOnly) {
    const DateValue now = make_date(2026, 12, 8, 9, 41, 0);
    set_clock([now] { return now; });
    const std::string path = write_register(folder, "existing.qlt", {0, 0, 0, 0});
    ASSERT_TRUE(create_new_register(path, "250.75", kDeposit, {"Opening", "0", "Bank", "Opening balance"}));
    ASSERT_EQ(count_records(path), 1);
    TransactionRecord opening;
    ASSERT_TRUE(read_record(path, 0, opening));
    EXPECT_EQ(opening.deleted, kLive);
    EXPECT_EQ(opening.record_number, 0);
    EXPECT_EQ(opening.date, now);
    EXPECT_EQ(opening.second_date, now);
    EXPECT_EQ(opening.type, "Opening");
    EXPECT_EQ(opening.number, "0");
    EXPECT_EQ(opening.payee, "Bank");
    EXPECT_EQ(opening.description, "Opening balance");
    EXPECT_EQ(opening.amount, 250.75f);
    EXPECT_EQ(opening.kind, kDeposit);
    EXPECT_EQ(opening.void_flag, kNotVoid);

    ASSERT_TRUE(
        create_new_register(folder.file("overdrawn.qlt"), "12abc", kWithdrawal, {"a", "b", "c", "d"}));
    ASSERT_TRUE(read_record(folder.file("overdrawn.qlt"), 0, opening));
    EXPECT_EQ(opening.amount, 12.0f);
    EXPECT_EQ(opening.kind, kWithdrawal);
}

TEST_F(RegisterFile, SampleRegisterIsWrittenOnlyWhereNoneIs) {
    const DateValue now = make_date(2026, 12, 8, 9, 41, 0);
    set_clock([now] { return now; });
    const RecordTexts texts[kSampleRecordCount] = {
        {"Deposit", "1", "Employer", "Opening balance"},
        {"Check", "2", "Grocer", "Food"},
        {"Debit", "3", "Station", "Fuel"},
    };
    const std::string path = folder.write("Sample.qlt", "");
    ASSERT_TRUE(create_sample_register(path, texts));
    ASSERT_EQ(count_records(path), 3);
    const float amounts[] = {1200.0f, 48.5f, 18.99f};
    const std::uint8_t kinds[] = {kDeposit, kWithdrawal, kWithdrawal};
    for (int i = 0; i < 3; ++i) {
        TransactionRecord record;
        ASSERT_TRUE(read_record(path, i, record));
        EXPECT_EQ(record.record_number, i);
        EXPECT_EQ(record.deleted, kLive);
        EXPECT_EQ(record.void_flag, kNotVoid);
        EXPECT_EQ(record.date, now);
        EXPECT_EQ(record.second_date, now);
        EXPECT_EQ(record.amount, amounts[i]);
        EXPECT_EQ(record.kind, kinds[i]);
        EXPECT_EQ(record.payee, texts[i].payee);
        EXPECT_EQ(record.description, texts[i].description);
    }

    const std::string kept = folder.write("Kept.qlt", "not a register but not empty");
    EXPECT_TRUE(create_sample_register(kept, texts));
    EXPECT_EQ(read_file(kept), "not a register but not empty");
}

TEST_F(RegisterFile, CompactionDropsDeletedRecordsAndRenumbers) {
    const std::string path = write_register(folder, "five.qlt", {0, 1, 0, 1, 1});
    CompactionCounts counts;
    ASSERT_TRUE(compact_register(path, counts));
    EXPECT_EQ(counts.kept, 2);
    EXPECT_EQ(counts.removed, 3);
    EXPECT_EQ(counts.percent_removed(), 60);
    ASSERT_EQ(count_records(path), 2);
    TransactionRecord first, second;
    ASSERT_TRUE(read_record(path, 0, first));
    ASSERT_TRUE(read_record(path, 1, second));
    TransactionRecord expected_second = make_record(2);
    expected_second.record_number = 1;
    EXPECT_EQ(first, make_record(0));
    EXPECT_EQ(second, expected_second);
    EXPECT_EQ(folder.listing(), "five.qlt\n");
}

TEST_F(RegisterFile, CompactionAcrossManyBlocksKeepsOrderAndNumbers) {
    std::vector<int> flags(10001);
    for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = i % 3 == 1 ? 1 : 0;
    const std::string path = write_register(folder, "many.qlt", flags);
    CompactionCounts counts;
    ASSERT_TRUE(compact_register(path, counts));
    EXPECT_EQ(counts.kept, 6667);
    EXPECT_EQ(counts.removed, 3334);
    EXPECT_EQ(counts.percent_removed(), 33);
    std::int64_t expected_index = 0;
    std::int32_t original = 0;
    ASSERT_TRUE(visit_records(path, [&](std::int64_t index, const std::uint8_t* bytes) {
        if (original % 3 == 1) ++original;
        EXPECT_EQ(index, expected_index++);
        EXPECT_EQ(get_i32(bytes + kRecordNumberOffset), index);
        EXPECT_EQ(get_text(bytes + kPayeeOffset), "Payee " + std::to_string(original));
        ++original;
        return !::testing::Test::HasFailure();
    }));
    EXPECT_EQ(expected_index, 6667);
}

TEST_F(RegisterFile, CompactionWithNothingToRemoveRewritesTheSameBytes) {
    const std::string path = write_register(folder, "clean.qlt", {0, 0, 0});
    const std::string before = read_file(path);
    CompactionCounts counts;
    ASSERT_TRUE(compact_register(path, counts));
    EXPECT_EQ(counts.removed, 0);
    EXPECT_EQ(counts.percent_removed(), 0);
    EXPECT_EQ(read_file(path), before);

    const std::string empty = folder.write("empty.qlt", "");
    CompactionCounts none;
    ASSERT_TRUE(compact_register(empty, none));
    EXPECT_EQ(none.kept, 0);
    EXPECT_EQ(none.percent_removed(), 0);
    EXPECT_EQ(file_size(empty), 0);
}

TEST_F(RegisterFile, CompactionThatCannotRenameLeavesTheRegisterIntact) {
    const std::string path = write_register(folder, "precious.qlt", {0, 1, 0, 1});
    const std::string before = read_file(path);
    inject_replace_fault(ReplaceFault::kRename);
    CompactionCounts counts;
    EXPECT_EQ(compact_register(path, counts).error(), ENOENT);
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(folder.listing(), "precious.qlt\n");
}

// Runs the step with a file-size limit: the disk then refuses bytes past it like a full disk.
template <typename Step>
IoStatus with_file_size_limit(std::int64_t limit, Step step) {
    rlimit saved{};
    if (::getrlimit(RLIMIT_FSIZE, &saved) != 0) return IoStatus::from_errno();
    const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(limit);
    if (::setrlimit(RLIMIT_FSIZE, &small) != 0) return IoStatus::from_errno();
    const IoStatus result = step();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous_handler);
    return result;
}

TEST_F(RegisterFile, CompactionThatCannotWriteLeavesTheRegisterIntact) {
    const std::string path = write_register(folder, "precious.qlt", std::vector<int>(50, 0));
    const std::string before = read_file(path);
    CompactionCounts counts;
    EXPECT_EQ(with_file_size_limit(2 * kRecordSize, [&] { return compact_register(path, counts); }).error(),
              EFBIG);
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(folder.listing(), "precious.qlt\n");
}

// An append that the disk takes only in part must leave no part of a record behind: the register
// keeps its old length and opens as before.
TEST_F(RegisterFile, AFailedAppendPutsTheFileBackToItsOldLength) {
    const std::string path = write_register(folder, "full.qlt", std::vector<int>(19, 0));
    const std::string before = read_file(path);
    // Room for 100 more bytes: the 20th record would be written in part.
    const IoStatus appended =
        with_file_size_limit(19 * kRecordSize + 100, [&] { return write_record(path, 19, make_record(19)); });
    EXPECT_EQ(appended.error(), EFBIG);
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(check_register_file(path), RegisterCheck::kAccepted);

    const std::string small = write_register(folder, "small.qlt", {0});
    EXPECT_EQ(
        with_file_size_limit(kRecordSize, [&] { return write_record(small, 1, make_record(1)); }).error(),
        EFBIG);
    EXPECT_EQ(file_size(small), static_cast<std::int64_t>(kRecordSize));
}

TEST_F(RegisterFile, WritesSayWhyTheyFailed) {
    const std::string path = write_register(folder, "three.qlt", {0, 0, 0});
    EXPECT_EQ(write_record(path, 5, make_record(5)).error(), EINVAL) << "a gap";
    EXPECT_EQ(write_record(folder.file("gone.qlt"), 0, make_record(0)).error(), ENOENT);
    TransactionRecord record;
    EXPECT_EQ(read_record(path, 3, record).error(), ESPIPE) << "no such record";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(set_deleted_flag(path, 1, kDeleted).error(), EACCES);
}

TEST_F(RegisterFile, CompactionRefusesAFileOfTheWrongLength) {
    const std::string path = folder.write("odd.qlt", read_file(data_file("one_byte_long.qlt")));
    CompactionCounts counts;
    EXPECT_EQ(compact_register(path, counts).error(), EINVAL);
    EXPECT_EQ(read_file(path), read_file(data_file("one_byte_long.qlt")));
    EXPECT_EQ(compact_register(folder.file("missing.qlt"), counts).error(), ENOENT);
}

}  // namespace
}  // namespace quillet
