// Two processes on one register: appends and compactions of several processes never lose an
// acknowledged record, nor put two records in one place.
#include <gtest/gtest.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/register/register_file.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::TempFolder;

TransactionRecord marked(const std::string& payee) {
    TransactionRecord record;
    record.type = "Check";
    record.payee = payee;
    record.amount = 1.0f;
    return record;
}

// Appends count records marked with the writer's name in a child process, and lists in a file
// the marks of those whose append reported success. Returns the child's pid.
pid_t start_appender(const std::string& path, const std::string& name, int count,
                     const std::string& acknowledged) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    std::ofstream out(acknowledged);
    for (int i = 0; i < count; ++i) {
        const std::string payee = name + "-" + std::to_string(i);
        std::int64_t index = 0;
        // A lock held past the wait (a compaction on a loaded machine) is tried again, as a user
        // would: every append is to be made, and acknowledged only once made.
        IoStatus appended;
        do {
            appended = append_record(path, marked(payee), index);
        } while (appended.error() == EWOULDBLOCK);
        if (appended) out << payee << '\n' << std::flush;
    }
    ::_exit(0);
}

std::set<std::string> lines_of(const std::string& path) {
    std::set<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.insert(line);
    return lines;
}

// Every acknowledged record is in the register once, and every record's number is its slot.
void expect_all_there(const std::string& path, const std::set<std::string>& acknowledged) {
    std::multiset<std::string> found;
    ASSERT_TRUE(visit_records(path, [&](std::int64_t slot, const std::uint8_t* bytes) {
        const TransactionRecord record = decode_record(bytes);
        EXPECT_EQ(record.record_number, slot);
        found.insert(record.payee);
        return true;
    }));
    for (const std::string& payee : acknowledged) EXPECT_EQ(found.count(payee), 1u) << payee;
}

TEST(SharedRegister, TwoProcessesAppendingNeverTakeOnePlace) {
    TempFolder folder;
    const std::string path = folder.write("shared.qlt", "");
    const pid_t first = start_appender(path, "a", 300, folder.file("a.txt"));
    const pid_t second = start_appender(path, "b", 300, folder.file("b.txt"));
    ASSERT_EQ(::waitpid(first, nullptr, 0), first);
    ASSERT_EQ(::waitpid(second, nullptr, 0), second);
    std::set<std::string> acknowledged = lines_of(folder.file("a.txt"));
    acknowledged.merge(lines_of(folder.file("b.txt")));
    EXPECT_EQ(acknowledged.size(), 600u);
    EXPECT_EQ(count_records(path), 600);
    expect_all_there(path, acknowledged);
}

TEST(SharedRegister, ACompactionLosesNoAppendOfAnotherProcess) {
    TempFolder folder;
    std::string bytes;
    for (int i = 0; i < 2000; ++i) {
        TransactionRecord record = marked("old-" + std::to_string(i));
        record.record_number = i;
        record.deleted = i % 2 == 0 ? 1 : 0;
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    const std::string path = folder.write("shared.qlt", bytes);
    const pid_t appender = start_appender(path, "new", 400, folder.file("new.txt"));
    int compactions = 0;
    while (::waitpid(appender, nullptr, WNOHANG) == 0) {
        CompactionCounts counts;
        EXPECT_TRUE(compact_register(path, counts));
        ++compactions;
    }
    EXPECT_GT(compactions, 0);
    const std::set<std::string> acknowledged = lines_of(folder.file("new.txt"));
    EXPECT_EQ(acknowledged.size(), 400u);
    expect_all_there(path, acknowledged);
}

// What a killed write left beside the register goes when the register is next opened, but only
// when it is older than an hour: a younger one may be another process's write in progress.
TEST(SharedRegister, StaleTemporaryFilesBesideTheRegisterAreRemoved) {
    TempFolder folder;
    const std::string path = folder.write("Cash.qlt", "");
    const std::string stale = folder.write(".Cash.qlt.tmp-AbC123", "left by a kill");
    const std::string live = folder.write(".Cash.qlt.tmp-XyZ789", "being written");
    const std::string other = folder.write(".Other.qlt.tmp-AbC123", "not ours to touch");
    const timeval two_hours_ago[2] = {{::time(nullptr) - 7200, 0}, {::time(nullptr) - 7200, 0}};
    ASSERT_EQ(::utimes(stale.c_str(), two_hours_ago), 0);
    ASSERT_EQ(::utimes(other.c_str(), two_hours_ago), 0);
    tidy_register_folder(path);
    EXPECT_EQ(folder.listing(), ".Cash.qlt.tmp-XyZ789\n.Other.qlt.tmp-AbC123\nCash.qlt\n");
}

}  // namespace
}  // namespace quillet
