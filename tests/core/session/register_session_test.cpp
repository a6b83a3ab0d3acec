// The register session's one protocol, over every kind of change: each refuses a register that
// another program appended to, compacted or truncated since it was listed, and writes nothing then;
// each puts back what it changed when its write fails; and undo gives back the file byte for byte.
// Then the three ways a second process once made us lose records.
#include "core/session/register_session.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "core/runtime/atomic_replace.h"
#include "core/session/enter_scheduled.h"
#include "core/session/intent.h"
#include "tests/support/session_changes.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

TransactionRecord named(const std::string& payee, bool deleted = false) {
    TransactionRecord record;
    record.deleted = deleted ? 1 : 0;
    record.type = "Check";
    record.payee = payee;
    record.description = "Memo";
    record.amount = 12.5f;
    record.kind = 1;
    return record;
}

// Slot 0 "Zero" deleted, then "Alpha", "Bravo", "Charlie": three rows.
std::string four_records(int count = 4) {
    std::string bytes;
    const char* payees[] = {"Zero", "Alpha", "Bravo", "Charlie"};
    for (int slot = 0; slot < count; ++slot) {
        TransactionRecord record = named(payees[slot], slot == 0 && count > 1);
        record.record_number = slot;
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    return bytes;
}

std::vector<std::string> payees_in(const std::string& path) {
    std::vector<std::string> payees;
    EXPECT_TRUE(visit_records(path, [&](std::int64_t, const std::uint8_t* bytes) {
        const TransactionRecord record = decode_record(bytes);
        payees.push_back(record.deleted != 0 ? "-" + record.payee : record.payee);
        return true;
    }));
    return payees;
}

// The seam a write's failure comes through.
enum class Fault { kRecordWrite, kReplacement, kNone };

struct Kind {
    const char* name;
    std::function<SessionResult(RegisterSession&, RowChange&)> change;
    Fault fault = Fault::kRecordWrite;
    bool undone_byte_for_byte = true;
    bool one_record = false;       // works on a register of one live record
    const char* destination = "";  // a file the change writes besides the register
    // Our own steps before the change (what undo and redo take back).
    std::function<void(RegisterSession&)> prepare = [](RegisterSession&) {};
};

SessionResult edit_bravo(RegisterSession& session, RowChange& change, bool void_it = false) {
    RecordBytes opened{};
    if (const IoStatus read = session.read(2, opened); !read) return SessionResult::of(read);
    TransactionRecord record = decode_record(opened.data());
    if (void_it) record.void_flag = 1;
    if (!void_it) record.description = "Edited";
    return testing::edit(session, 2, opened, record, change);
}

void edit_then(RegisterSession& session, bool undo) {
    RowChange change;
    ASSERT_TRUE(edit_bravo(session, change).done());
    if (undo) {
        ASSERT_TRUE(session.undo(change).done());
    }
}

const std::vector<Kind>& kinds() {
    static const std::vector<Kind> all = {
        {"add", [](RegisterSession& s, RowChange& c) { return testing::add(s, named("Delta"), false, c); }},
        {"edit", [](RegisterSession& s, RowChange& c) { return edit_bravo(s, c); }},
        {"void", [](RegisterSession& s, RowChange& c) { return edit_bravo(s, c, true); }},
        {"delete", [](RegisterSession& s, RowChange& c) { return testing::delete_row(s, 0, c); }},
        {"delete the last row", [](RegisterSession& s, RowChange& c) { return testing::delete_row(s, 0, c); },
         Fault::kNone, true, true},
        {"compact",
         [](RegisterSession& s, RowChange&) {
             CompactionCounts counts;
             return testing::compact(s, counts, true);
         },
         Fault::kReplacement, false},
        {"save as",
         [](RegisterSession& s, RowChange&) { return s.save_as(folder_part(s.path()) + "Copy.qlt"); },
         Fault::kReplacement, false, false, "Copy.qlt"},
        {"save under its own name", [](RegisterSession& s, RowChange&) { return s.save_as(s.path()); },
         Fault::kNone, false},
        {"undo", [](RegisterSession& s, RowChange& c) { return s.undo(c); }, Fault::kRecordWrite, true, false,
         "", [](RegisterSession& s) { edit_then(s, false); }},
        {"import",
         [](RegisterSession& s, RowChange& c) {
             return testing::import(s, ImportBatch{{named("Bank"), named("Fee")}, {"id-1", "id-2"}, {}}, c);
         }},
        {"set cleared",
         [](RegisterSession& s, RowChange&) {
             return testing::set_cleared(s, {1, 2}, {true, true});
         },
         Fault::kNone, false},
        {"finish a statement",
         [](RegisterSession& s, RowChange& c) {
             return testing::finish_statement(s, {0, 1, 0, 0, 2, false}, {1, 2}, {true, false}, c);
         },
         Fault::kNone},
        {"redo", [](RegisterSession& s, RowChange& c) { return s.redo(c); }, Fault::kRecordWrite, true, false,
         "", [](RegisterSession& s) { edit_then(s, true); }},
    };
    return all;
}

// What another program does to the register meanwhile.
struct Outside {
    const char* name;
    std::function<void(const std::string& path)> act;
};

const std::vector<Outside>& outside_changes() {
    static const std::vector<Outside> changes = {
        {"an append",
         [](const std::string& path) {
             std::int64_t slot = 0;
             ASSERT_TRUE(append_record(path, named("Theirs"), slot));
         }},
        {"a compaction",
         [](const std::string& path) {
             std::int64_t slot = 0;
             ASSERT_TRUE(append_record(path, named("Gone", true), slot));
             CompactionCounts counts;
             ASSERT_TRUE(compact_register(path, counts));
         }},
        {"a truncation",
         [](const std::string& path) {
             const std::string bytes = read_file(path);
             ASSERT_TRUE(
                 replace_file_contents(path, bytes.substr(0, bytes.size() - record_format::kRecordSize)));
         }},
    };
    return changes;
}

class Session : public ::testing::Test {
  protected:
    std::string open(RegisterSession& session, const Kind& kind) {
        const std::string path = folder.write("Cash.qlt", four_records(kind.one_record ? 1 : 4));
        EXPECT_TRUE(session.open(path, kListFileOrder).read);
        return path;
    }
    TempFolder folder;
};

TEST_F(Session, EveryChangeRefusesARegisterChangedElsewhereAndWritesNothing) {
    for (const Kind& kind : kinds()) {
        for (const Outside& outside : outside_changes()) {
            SCOPED_TRACE(std::string(kind.name) + " after " + outside.name);
            RegisterSession session;
            const std::string path = open(session, kind);
            kind.prepare(session);
            outside.act(path);
            const std::string theirs = read_file(path);
            const std::int64_t rows = session.row_count();
            RowChange change;
            EXPECT_TRUE(kind.change(session, change).stale());
            EXPECT_EQ(read_file(path), theirs);
            EXPECT_EQ(session.row_count(), rows);
            if (*kind.destination != '\0') {
                EXPECT_EQ(file_size(folder.file(kind.destination)), -1);
            }
            // Read again, the list is the other program's register, and our history has ended.
            (void)session.open(path, kListFileOrder);
            EXPECT_EQ(session.history().undo_count() + session.history().redo_count(), 0u);
        }
    }
}

TEST_F(Session, EveryChangeThatFailsLeavesTheRegisterAsItWasAndUndoGivesBackEveryByte) {
    for (const Kind& kind : kinds()) {
        SCOPED_TRACE(kind.name);
        if (kind.fault != Fault::kNone) {
            RegisterSession session;
            const std::string path = open(session, kind);
            kind.prepare(session);
            const std::string before = read_file(path);
            // Half a record written, or a replacement that cannot be written: either is put back.
            if (kind.fault == Fault::kRecordWrite) inject_record_write_fault();
            if (kind.fault == Fault::kReplacement) inject_replace_fault(ReplaceFault::kWrite);
            RowChange change;
            EXPECT_TRUE(kind.change(session, change).failed());
            EXPECT_EQ(read_file(path), before);
            EXPECT_EQ(session.row_count(), 3);
            if (*kind.destination != '\0') {
                EXPECT_EQ(file_size(folder.file(kind.destination)), -1);
            }
        }
        if (!kind.undone_byte_for_byte) continue;
        RegisterSession session;
        const std::string path = open(session, kind);
        const std::string before = read_file(path);
        kind.prepare(session);
        RowChange change;
        ASSERT_TRUE(kind.change(session, change).done());
        while (session.history().undo_count() > 0) ASSERT_TRUE(session.undo(change).done());
        EXPECT_EQ(read_file(path), before);
    }
}

TEST_F(Session, RowsFollowEveryChange) {
    RegisterSession session;
    const std::string path = folder.write("Cash.qlt", four_records());
    (void)session.open(path, kListNewestFirst);
    EXPECT_EQ(session.slot_of(0), 3) << "newest first";
    RowChange change;
    ASSERT_TRUE(testing::add(session, named("Delta"), true, change).done());
    EXPECT_EQ(change.kind, RowChange::Kind::kInserted);
    EXPECT_EQ(change.row, 0);
    EXPECT_EQ(session.slot_of(0), 4);
    EXPECT_EQ(session.list().latest_slot_of_payee("  delta "), 4);
    ASSERT_TRUE(testing::delete_row(session, 1, change).done());  // Charlie
    EXPECT_EQ(change.kind, RowChange::Kind::kRemoved);
    EXPECT_EQ(session.row_count(), 3);
    EXPECT_FALSE(session.list().latest_slot_of_payee("Charlie"));
    ASSERT_TRUE(session.undo(change).done());
    EXPECT_EQ(change.kind, RowChange::Kind::kInserted);
    EXPECT_EQ(change.row, 1) << "back in its place in the list's order";
    EXPECT_EQ(session.list().latest_slot_of_payee("charlie"), 3);
    EXPECT_EQ(session.balances().summary().balance.cents, -5000);
}

// A statement's transactions are the bank's own: they arrive cleared, the marks kept with their
// links, and undo takes the marks back with the records.
TEST_F(Session, AnImportMarkedClearedKeepsItsMarksUntilUndone) {
    const std::string path = folder.write("Cash.qlt", four_records());
    auto bank_and_fee = [](bool cleared) {
        ImportBatch batch{{named("Bank"), named("Fee")}, {"id-1", "id-2"}, {}};
        batch.cleared = cleared;
        return batch;
    };
    RowChange change;
    {
        RegisterSession session;
        (void)session.open(path, kListFileOrder);
        ASSERT_TRUE(testing::import(session, bank_and_fee(true), change).done());
        EXPECT_EQ(session.row_state(3), ClearState::kCleared);
        EXPECT_EQ(session.row_state(4), ClearState::kCleared);
        EXPECT_EQ(session.row_state(0), ClearState::kUncleared);
        ASSERT_TRUE(session.undo(change).done());
        // The same records again, at the same places: no mark of the undone import is left for them.
        ASSERT_TRUE(testing::import(session, bank_and_fee(false), change).done());
        EXPECT_EQ(session.row_state(4), ClearState::kUncleared);
        ASSERT_TRUE(session.undo(change).done());
        ASSERT_TRUE(testing::import(session, bank_and_fee(true), change).done());
    }
    RegisterSession session;
    (void)session.open(path, kListFileOrder);
    EXPECT_EQ(session.row_state(4), ClearState::kCleared) << "read again from the store";
    EXPECT_EQ(session.cleared_balance().cents, -2500);
}

// Entering what fell due: the records and their occurrences together, never one twice (a second
// session that entered or skipped it first refuses the change whole), and undo opens them again.
TEST_F(Session, ScheduledOccurrencesAreEnteredOnceAndUndoOpensThemAgain) {
    const std::string path = folder.write("Cash.qlt", four_records());
    RegisterSession session;
    (void)session.open(path, kListFileOrder);
    RegisterSession other;
    (void)other.open(path, kListFileOrder);
    RowChange change;
    const auto enter = [](std::int64_t index) {
        return std::make_shared<EnterScheduled>(std::vector<ScheduledEntry>{{7, index, named("Landlord")}});
    };
    ASSERT_TRUE(session
                    .apply(std::make_shared<EnterScheduled>(std::vector<ScheduledEntry>{
                               {7, 0, named("Landlord")}, {7, 1, named("Landlord")}}),
                           change)
                    .done());
    EXPECT_EQ(session.row_count(), 5);
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    ASSERT_TRUE(session.look_up_schedules(schedules, used));
    ASSERT_EQ(used.size(), 2u);
    EXPECT_EQ(used[1].state, OccurrenceState::kEntered);
    EXPECT_NE(used[1].fingerprint, 0u);

    // The other session, listed before: it reads the register again, and the occurrence is refused.
    (void)other.open(path, kListFileOrder);
    const SessionResult twice = other.apply(enter(1), change);
    EXPECT_EQ(twice.cause().error(), EALREADY);
    EXPECT_EQ(count_records(path), 6) << "nothing appended";
    ASSERT_TRUE(
        other.apply(std::make_shared<SkipScheduled>(std::vector<UsedOccurrence>{{7, 2}}), change).done());
    EXPECT_EQ(other.apply(enter(2), change).cause().error(), EALREADY) << "a skipped one is used up";

    (void)session.open(path, kListFileOrder);
    ASSERT_TRUE(session.apply(enter(3), change).done());
    ASSERT_TRUE(session.undo(change).done());
    ASSERT_TRUE(session.look_up_schedules(schedules, used));
    EXPECT_EQ(used.size(), 3u) << "the entry of #3 taken back";
    EXPECT_EQ(count_records(path), 6);
    ASSERT_TRUE(session.redo(change).done());
    EXPECT_EQ(count_records(path), 7);
}

// Runs the other program's change in a process of its own, and waits for it.
void in_another_process(const std::function<void()>& act) {
    const pid_t child = ::fork();
    if (child == 0) {
        act();
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// The fingerprints are made after the list: a write by another program in between leaves every
// row to be read again rather than fingerprints of records the list does not show.
TEST_F(Session, ARegisterChangedBeforeItsFingerprintsWereMadeIsReadAgain) {
    RegisterSession session;
    const std::string path = folder.write("Cash.qlt", four_records());
    (void)session.open(path, kListFileOrder);
    std::string text;
    EXPECT_TRUE(session.row_text(1, text));
    ASSERT_TRUE(write_record(path, 2, named("Theirs")));
    EXPECT_FALSE(session.row_text(1, text));
    session.make_places();
    EXPECT_FALSE(session.row_text(0, text));
    RowChange change;
    EXPECT_TRUE(testing::delete_row(session, 0, change).stale());
    (void)session.open(path, kListFileOrder);
    session.make_places();
    EXPECT_TRUE(session.row_text(1, text));
    EXPECT_NE(text.find("Theirs"), std::string::npos);
    EXPECT_TRUE(testing::delete_row(session, 1, change).done());
    EXPECT_EQ(payees_in(path), (std::vector<std::string>{"-Zero", "Alpha", "-Theirs", "Charlie"}));
}

TEST_F(Session, TheLastRowIsNotDeletedWithARecordAnotherProgramAppended) {
    RegisterSession session;
    const std::string path = folder.write("Cash.qlt", four_records(1));
    (void)session.open(path, kListFileOrder);
    in_another_process([&] {
        std::int64_t slot = 0;
        ASSERT_TRUE(append_record(path, named("Theirs"), slot));
    });
    RowChange change;
    EXPECT_TRUE(testing::delete_row(session, 0, change).stale());
    EXPECT_EQ(payees_in(path), (std::vector<std::string>{"Zero", "Theirs"}));
}

TEST_F(Session, SaveAsAfterAnotherProgramCompactedCopiesNothingAndTheNextDeleteHitsItsRow) {
    for (const bool own_name : {false, true}) {
        SCOPED_TRACE(own_name ? "under its own name" : "to another file");
        RegisterSession session;
        const std::string path = folder.write("Cash.qlt", four_records());
        const std::string copy = own_name ? path : folder.file("S.qlt");
        (void)session.open(path, kListFileOrder);
        in_another_process([&] {
            CompactionCounts counts;
            ASSERT_TRUE(compact_register(path, counts));
        });
        EXPECT_TRUE(session.save_as(copy).stale());
        if (!own_name) {
            EXPECT_EQ(file_size(copy), -1);
        }
        // Read again, as the program does after a refusal: row 0 is Alpha, wherever it now stands.
        (void)session.open(path, kListFileOrder);
        RowChange change;
        ASSERT_TRUE(testing::delete_row(session, 0, change).done());
        EXPECT_EQ(payees_in(path), (std::vector<std::string>{"-Alpha", "Bravo", "Charlie"}));
    }
}

TEST_F(Session, ARegisterReachedThroughALinkStaysTheLinksTarget) {
    ASSERT_EQ(::mkdir(folder.file("synced").c_str(), 0700), 0);
    const std::string target = folder.write("synced/Cash.qlt", four_records());
    const std::string link = folder.file("Cash.qlt");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    RegisterSession session;
    (void)session.open(link, kListFileOrder);
    // The store goes beside the register itself, where it is found however the register is opened.
    ASSERT_TRUE(testing::set_cleared(session, {1}, {true}).done());
    EXPECT_EQ(session.store_path(), target + ".qstore");
    EXPECT_FALSE(names_anything(link + ".qstore"));
    RegisterSession by_name;
    (void)by_name.open(target, kListFileOrder);
    EXPECT_EQ(by_name.row_state(0), ClearState::kCleared);
    // One that an earlier version made beside the link moves beside the register when opened.
    const std::string old = folder.write("synced/Old.qlt", four_records());
    ASSERT_EQ(::symlink(old.c_str(), folder.file("Old.qlt").c_str()), 0);
    const std::string beside_link = folder.write("Old.qlt.qstore", read_file(session.store_path()));
    (void)session.open(folder.file("Old.qlt"), kListFileOrder);
    EXPECT_FALSE(names_anything(beside_link));
    EXPECT_EQ(session.row_state(0), ClearState::kCleared);
    (void)session.open(link, kListFileOrder);
    CompactionCounts counts;
    ASSERT_TRUE(testing::compact(session, counts, true).done());
    (void)session.open(link, kListFileOrder);
    RowChange change;
    ASSERT_TRUE(testing::add(session, named("Delta"), false, change).done());
    struct stat status {};
    ASSERT_EQ(::lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(payees_in(target), (std::vector<std::string>{"Alpha", "Bravo", "Charlie", "Delta"}));
    // The last row's delete takes the file the link leads to, and undo puts it back there.
    const std::string one = folder.write("synced/One.qlt", four_records(1));
    const std::string one_link = folder.file("One.qlt");
    ASSERT_EQ(::symlink(one.c_str(), one_link.c_str()), 0);
    (void)session.open(one_link, kListFileOrder);
    ASSERT_TRUE(testing::delete_row(session, 0, change).done());
    EXPECT_EQ(file_size(one), -1);
    ASSERT_TRUE(session.undo(change).done());
    EXPECT_EQ(read_file(one), four_records(1));
    ASSERT_EQ(::lstat(one_link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
}

// A register a killed append left ending in part of a record: cut back only when an intent names
// the tail, refused (never cut) when nothing does.
TEST_F(Session, OnlyATailAnIntentNamesIsCutBack) {
    const std::string whole = four_records();
    const std::string path = folder.write("Cash.qlt", whole + std::string(300, 'x'));
    EXPECT_EQ(settle_and_check(path), RegisterCheck::kWrongLength);
    EXPECT_EQ(read_file(path).size(), whole.size() + 300) << "never cut";
    Intent intent;
    intent.number = 1;
    intent.old_length = static_cast<std::int64_t>(whole.size());
    ASSERT_TRUE(write_intent(path, intent));
    EXPECT_EQ(settle_and_check(path), RegisterCheck::kAccepted);
    EXPECT_EQ(read_file(path), whole);
    EXPECT_FALSE(names_anything(intent_path_of(path)));
}

}  // namespace
}  // namespace quillet
