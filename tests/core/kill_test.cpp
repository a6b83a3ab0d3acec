// Every write that replaces a user's file, killed at random moments and run out of disk: the file
// is always either its old bytes or its new bytes, and opens. QUILLET_KILL_TRIALS sets the number
// of kills per kind of write (make soak runs a thousand and more).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "core/register/register_file.h"
#include "core/reminders/reminders.h"
#include "core/reports/report.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/session/register_session.h"
#include "core/settings/settings_file.h"
#include "tests/support/session_changes.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using record_format::kRecordSize;
using testing::read_file;
using testing::TempFolder;

int trials() {
    const char* wanted = std::getenv("QUILLET_KILL_TRIALS");
    return wanted != nullptr && std::atoi(wanted) > 0 ? std::atoi(wanted) : 12;
}

std::string register_bytes(int count, int deleted_every = 0) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        TransactionRecord record;
        record.record_number = i;
        record.deleted = deleted_every > 0 && i % deleted_every == 0 ? 1 : 0;
        record.type = "Check";
        record.payee = "Payee " + std::to_string(i);
        record.amount = static_cast<float>(i);
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    return bytes;
}

// Runs the write over and over in a child, kills it with SIGKILL after a random moment, and hands
// the file to the check; as many times as trials() says.
void kill_during(const std::function<void()>& write, const std::function<void(int trial)>& check) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> microseconds(0, 20000);
    for (int trial = 0; trial < trials(); ++trial) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (;;) write();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        check(trial);
        if (::testing::Test::HasFailure()) return;
    }
}

class Killed : public ::testing::Test {
  protected:
    TempFolder folder;
};

TEST_F(Killed, CompactionLeavesTheOldOrTheCompactedRegister) {
    const std::string old = register_bytes(3000, 3);
    const std::string path = folder.write("Cash.qlt", old);
    CompactionCounts counts;
    ASSERT_TRUE(compact_register(folder.write("Expected.qlt", old), counts));
    const std::string compacted = read_file(folder.file("Expected.qlt"));
    kill_during([&] { (void)replace_file_contents(path, old), (void)compact_register(path, counts); },
                [&](int trial) {
                    const std::string now = read_file(path);
                    EXPECT_TRUE(now == old || now == compacted) << "trial " << trial;
                    EXPECT_EQ(check_register_file(path), RegisterCheck::kAccepted);
                });
}

// Adds through the session, over and over: a record that straddles a page boundary may be cut by
// the kill, and the next open takes it back. The register opens with whole records, the old ones
// as they were.
TEST_F(Killed, AppendsLeaveWholeRecordsAndTheOldOnesAsTheyWere) {
    const std::string old = register_bytes(10);
    const std::string path = folder.write("Cash.qlt", old);
    TransactionRecord record;
    record.payee = "Appended";
    RegisterSession session;
    kill_during(
        [&] {
            (void)session.open(path, kListFileOrder);
            RowChange rows;
            (void)testing::add(session, record, false, rows);
        },
        [&](int trial) {
            ASSERT_EQ(settle_and_check(path), RegisterCheck::kAccepted) << "trial " << trial;
            const std::string now = read_file(path);
            EXPECT_EQ(now.size() % kRecordSize, 0u) << "trial " << trial;
            EXPECT_EQ(now.compare(0, old.size(), old), 0) << "trial " << trial;
            for (std::size_t at = old.size(); at < now.size(); at += kRecordSize) {
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(now.data() + at);
                EXPECT_EQ(decode_record(bytes).payee, "Appended") << "trial " << trial;
            }
        });
}

// Edits in place, delete flags, undo and redo through the session: every record the changes do not
// touch keeps its bytes, and each one they touch holds its old bytes or the bytes a change writes.
TEST_F(Killed, SessionChangesLeaveEveryRecordOldOrAsWritten) {
    // Slot 19 straddles the first page boundary.
    const std::string old = register_bytes(20);
    const std::string path = folder.write("Cash.qlt", old);
    const auto old_record = [&old](std::size_t slot) { return old.substr(slot * kRecordSize, kRecordSize); };
    TransactionRecord edited =
        decode_record(reinterpret_cast<const std::uint8_t*>(old.data()) + 19 * kRecordSize);
    edited.description = "Edited in place";
    const RecordBytes edited_bytes = encode_record(edited);
    std::string flagged = old_record(5);
    flagged[0] = 1;
    RegisterSession session;
    kill_during(
        [&] {
            (void)session.open(path, kListFileOrder);
            RowChange change;
            RecordBytes opened{};
            if (session.read(19, opened)) (void)testing::edit(session, 19, opened, edited, change);
            (void)testing::delete_row(session, session.row_of_slot(5), change);
            (void)session.undo(change);
            (void)session.undo(change);
            (void)session.redo(change);
            (void)session.undo(change);
        },
        [&](int trial) {
            ASSERT_EQ(settle_and_check(path), RegisterCheck::kAccepted) << "trial " << trial;
            const std::string now = read_file(path);
            ASSERT_EQ(now.size(), old.size()) << "trial " << trial;
            for (std::size_t slot = 0; slot < 20; ++slot) {
                const std::string record = now.substr(slot * kRecordSize, kRecordSize);
                const bool as_written =
                    (slot == 19 && record == std::string(edited_bytes.begin(), edited_bytes.end())) ||
                    (slot == 5 && record == flagged);
                EXPECT_TRUE(record == old_record(slot) || as_written)
                    << "trial " << trial << " slot " << slot;
            }
        });
}

// The last row deleted with its register, and the register put back by undo: the file is there
// whole, or not at all.
TEST_F(Killed, ARegisterDeletedAndPutBackIsWholeOrAbsent) {
    const std::string old = register_bytes(1);
    const std::string path = folder.write("One.qlt", old);
    RegisterSession session;
    kill_during(
        [&] {
            if (file_size(path) < 0) (void)replace_file_contents(path, old);
            (void)session.open(path, kListFileOrder);
            RowChange change;
            (void)testing::delete_row(session, 0, change);
            (void)session.undo(change);
        },
        [&](int trial) {
            EXPECT_TRUE(file_size(path) == -1 || read_file(path) == old) << "trial " << trial;
        });
}

// The settings, a copy (save-as, the exit backup, a report's copy), a report, a new register and
// the reminder file: each replaced in one step.
TEST_F(Killed, ReplacedFilesAreOldOrNew) {
    Settings first;
    first.open_path = "/home/ann/Cash.qlt";
    first.lists[1] = {"Rent", "Grocer"};
    Settings second = first;
    second.open_path = "/home/ann/Savings.qlt";
    second.lists[1] = std::vector<std::string>(20, "A payee of some length");
    const std::string settings = folder.file("Quillet.ini");
    ASSERT_TRUE(write_settings(folder.file("first.ini"), first));
    ASSERT_TRUE(write_settings(folder.file("second.ini"), second));
    const std::string settings_a = read_file(folder.file("first.ini"));
    const std::string settings_b = read_file(folder.file("second.ini"));
    ASSERT_TRUE(write_settings(settings, first));
    bool flip = false;
    kill_during([&] { (void)write_settings(settings, (flip = !flip) ? second : first); },
                [&](int trial) {
                    const std::string now = read_file(settings);
                    EXPECT_TRUE(now == settings_a || now == settings_b) << "trial " << trial;
                });

    const std::string small = folder.write("small.qlt", register_bytes(2));
    const std::string large = folder.write("large.qlt", register_bytes(20000));
    const std::string copy = folder.write("copy.qlt", read_file(small));
    kill_during([&] { (void)copy_register((flip = !flip) ? large : small, copy); },
                [&](int trial) {
                    const std::string now = read_file(copy);
                    EXPECT_TRUE(now == read_file(small) || now == read_file(large)) << "trial " << trial;
                });

    ReportRequest request;
    request.today = make_date(2026, 12, 8);
    const std::string report = folder.file("report.htm");
    ASSERT_TRUE(write_report_file(small, request, report));
    const std::string small_report = read_file(report);
    ASSERT_TRUE(write_report_file(large, request, report));
    const std::string large_report = read_file(report);
    kill_during([&] { (void)write_report_file((flip = !flip) ? small : large, request, report); },
                [&](int trial) {
                    const std::string now = read_file(report);
                    EXPECT_TRUE(now == small_report || now == large_report) << "trial " << trial;
                });

    set_clock([] { return make_date(2026, 12, 8, 9, 30, 0); });
    const std::string fresh = folder.write("fresh.qlt", read_file(large));
    ASSERT_TRUE(create_new_register(folder.file("made.qlt"), "100", 0, {"a", "b", "c", "d"}));
    const std::string made = read_file(folder.file("made.qlt"));
    kill_during(
        [&] {
            (void)replace_file_contents(fresh, read_file(large));
            (void)create_new_register(fresh, "100", 0, {"a", "b", "c", "d"});
        },
        [&](int trial) {
            const std::string now = read_file(fresh);
            EXPECT_TRUE(now == made || now == read_file(large)) << "trial " << trial;
        });
    set_clock({});

    const ReminderTexts texts{" ", "\n", "%yyyy/%mm/%dd ", "Today: ", "unreadable"};
    const std::string reminders = folder.file("reminders.txt");
    kill_during([&] { (void)add_reminder(reminders, make_date(2026, 12, 8), "Pay the rent", texts); },
                [&](int trial) {
                    const std::string now = read_file(reminders);
                    const std::string line = "2026/12/08 Pay the rent\n";
                    EXPECT_EQ(now.size() % line.size(), 0u) << "trial " << trial << ": a line cut short";
                    for (std::size_t at = 0; at < now.size(); at += line.size()) {
                        EXPECT_EQ(now.compare(at, line.size(), line), 0) << "trial " << trial;
                    }
                });
}

// A full disk (the file-size limit stands in for it) at every write path: each write fails, says
// why, and leaves the file as it was, with nothing left beside it.
TEST_F(Killed, AFullDiskLeavesEveryFileAsItWas) {
    const std::string registered = folder.write("Cash.qlt", register_bytes(40, 4));
    const std::string settings = folder.write("Quillet.ini", "[Files]\r\nOpen=x\r\n");
    const std::string reminders = folder.write("reminders.txt", "2026/12/07 Old\n");
    const std::string copy = folder.write("copy.qlt", "old copy");
    const std::string big = folder.write("big.qlt", register_bytes(400));
    const std::string before = folder.listing();
    const auto limited = [](const std::function<IoStatus()>& write) {
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 300;
        ::setrlimit(RLIMIT_FSIZE, &small);
        const IoStatus result = write();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
        return result;
    };
    const std::string register_before = read_file(registered);
    std::int64_t index = 0;
    TransactionRecord record;
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(append_record(registered, record, index));
    const std::string grown = read_file(registered);
    EXPECT_EQ(limited([&] { return append_record(registered, record, index); }).error(), EFBIG);
    EXPECT_EQ(read_file(registered), grown);
    CompactionCounts counts;
    EXPECT_EQ(limited([&] { return compact_register(registered, counts); }).error(), EFBIG);
    EXPECT_EQ(read_file(registered), grown);
    Settings settings_record;
    settings_record.lists[0] = std::vector<std::string>(20, "A type that takes some room");
    EXPECT_EQ(limited([&] { return write_settings(settings, settings_record); }).error(), EFBIG);
    EXPECT_EQ(read_file(settings), "[Files]\r\nOpen=x\r\n");
    const std::string long_text(40, 'x');
    EXPECT_EQ(
        limited([&] {
            for (int i = 0; i < 20; ++i) {
                const ReminderTexts texts{" ", "\n", "%yyyy/%mm/%dd ", "", ""};
                if (const IoStatus added = add_reminder(reminders, make_date(2026, 12, 8), long_text, texts);
                    !added) {
                    return added;
                }
            }
            return IoStatus();
        }).error(),
        EFBIG);
    EXPECT_LE(file_size(reminders), 300);
    EXPECT_EQ(limited([&] { return copy_register(big, copy); }).error(), EFBIG);
    EXPECT_EQ(read_file(copy), "old copy");
    EXPECT_EQ(limited([&] { return write_report_file(big, ReportRequest(), copy); }).error(), EFBIG);
    EXPECT_EQ(read_file(copy), "old copy");
    EXPECT_EQ(limited([&] {
                  return create_new_register(copy, "5", 0, {"a", "b", "c", "d"});
              }).error(),
              0)
        << "a one-record register fits";
    EXPECT_EQ(folder.listing(), before) << "nothing left beside the files";
    EXPECT_NE(register_before, grown);
}

}  // namespace
}  // namespace quillet
