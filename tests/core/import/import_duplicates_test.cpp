// Imports through the register session: duplicates found in both stages (imported before, deleted
// after import, typed by hand), links that keep to their transactions through edits, compaction and
// another program's append, one undo step for a whole import, and a companion store that is
// damaged, newer or held by another program.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "core/import/import_preview.h"
#include "core/import/statement_file.h"
#include "core/runtime/file_access.h"
#include "core/schedule/schedule.h"
#include "core/session/enter_scheduled.h"
#include "core/session/put_schedule.h"
#include "core/session/register_session.h"
#include "core/store/companion_store.h"
#include "tests/support/session_changes.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

TransactionRecord typed(DateValue date, float amount, const char* number, const char* payee,
                        bool deleted = false) {
    TransactionRecord record;
    record.deleted = deleted ? 1 : 0;
    record.date = date;
    record.type = "Check";
    record.number = number;
    record.payee = payee;
    record.amount = amount;
    record.kind = record_format::kWithdrawal;
    return record;
}

class Imports : public ::testing::Test {
  protected:
    void SetUp() override {
        // A deleted record first (compaction then moves every other one), and two typed by hand
        // that the US statement also holds.
        std::string bytes;
        for (const TransactionRecord& record : {typed(make_date(2024, 11, 1), 1.0f, "", "Gone", true),
                                                typed(make_date(2024, 11, 30), 120.0f, "1043", "Landlord"),
                                                typed(make_date(2024, 12, 4), 4.25f, "", "Coffee")}) {
            const RecordBytes encoded = encode_record(record);
            bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        }
        path = folder.write("Checking.qlt", bytes);
        session.open(path, kListFileOrder);
    }

    ImportPreview preview_of(const std::string& statement_path) {
        StatementFile file;
        EXPECT_TRUE(read_statement_file(statement_path, file));
        const Conventions conventions = conventions_of(file.raw);
        ImportPreview preview;
        preview.file_name = statement_path;
        preview.fingerprint = file.fingerprint;
        preview.format = format_name(file.format);
        const IoStatus built = preview_import(
            session, finish_statement(file.raw, conventions.date_orders.front(), conventions.marks.front()),
            preview);
        EXPECT_TRUE(built) << built.error();
        return preview;
    }
    std::string sample(const char* name) { return std::string(QUILLET_TEST_DATA) + "import/" + name; }

    // Each line's verdict: "new", "imported", "deleted", "typed 2024/11/30".
    static std::vector<std::string> verdicts(const ImportPreview& preview) {
        std::vector<std::string> all;
        for (const PreviewLine& line : preview.lines) {
            switch (line.verdict) {
                case Verdict::kNew: all.push_back("new"); break;
                case Verdict::kImported: all.push_back("imported"); break;
                case Verdict::kDeletedAfterImport: all.push_back("deleted"); break;
                case Verdict::kTypedByHand:
                    all.push_back("typed " + format_date(kDisplayDateMask, line.verdict_date));
                    break;
                case Verdict::kImportedElsewhere:
                    all.push_back("elsewhere " + std::string(line.verdict_file_name()));
                    break;
            }
        }
        return all;
    }

    SessionResult import(const ImportPreview& preview) {
        RowChange change;
        return testing::import(session, batch_of(preview), change);
    }

    TempFolder folder;
    std::string path;
    RegisterSession session;
};

TEST_F(Imports, DuplicatesAreFoundByIdentityThenAgainstTypedTransactions) {
    // The check typed two days early and one of the two coffees (the nearer date first) were typed.
    ImportPreview first = preview_of(sample("us_checking.csv"));
    EXPECT_EQ(verdicts(first), (std::vector<std::string>{"new", "new", "typed 2024/11/30", "new",
                                                         "typed 2024/12/04", "new", "new", "new"}));
    EXPECT_EQ(first.ticked_count(), 6);
    ASSERT_TRUE(import(first).done());
    EXPECT_EQ(session.row_count(), 2 + 6);

    // The same file again is known as a whole, and every line by its identity.
    ImportPreview again = preview_of(sample("us_checking.csv"));
    ASSERT_TRUE(again.earlier);
    EXPECT_EQ(again.earlier->added, 6);
    EXPECT_EQ(again.ticked_count(), 0);

    // A later download overlaps: its first lines were imported, one since deleted; two identical
    // coffees of one day stay two; the typed check stays typed.
    const std::string overlap =
        folder.write("overlap.csv",
                     "Date,Description,Check Number,Amount\n12/02/2024,CHECK,1043,-120.00\n12/03/2024,COFFEE "
                     "HOUSE,,-4.25\n"
                     "12/03/2024,COFFEE HOUSE,,-4.25\n12/05/2024,\"ELECTRIC CO  \"\"AUTOPAY\"\"\",,-96.40\n"
                     "12/13/2024,ATM WITHDRAWAL,,-60.00\n12/16/2024,BOOKSHOP,,-18.00\n");
    const std::int64_t atm_row = session.row_count() - 1;
    RowChange change;
    ASSERT_TRUE(testing::delete_row(session, atm_row, change).done());
    EXPECT_EQ(verdicts(preview_of(overlap)),
              (std::vector<std::string>{"typed 2024/11/30", "typed 2024/12/04", "imported", "imported",
                                        "deleted", "new"}));
}

// The bank's own IDs decide: an overlapping OFX or CAMT statement adds only what it has anew, even
// a line that looks like one imported before; the last statement's closing balance is kept.
TEST_F(Imports, BankIdsFindEveryTransactionImportedBeforeAndTheClosingBalanceIsKept) {
    ImportPreview first = preview_of(sample("checking.ofx"));
    EXPECT_EQ(first.skipped.size(), 1u);  // three decimals
    ASSERT_TRUE(import(first).done());
    const ImportPreview next = preview_of(sample("checking_next.ofx"));
    EXPECT_EQ(verdicts(next), (std::vector<std::string>{"imported", "imported", "new", "new"}));
    ASSERT_TRUE(import(next).done());

    ASSERT_TRUE(import(preview_of(sample("camt_same_day.xml"))).done());
    EXPECT_EQ(verdicts(preview_of(sample("camt_same_day.xml"))),
              (std::vector<std::string>{"imported", "imported", "imported"}));

    CompanionStore store;
    ASSERT_TRUE(store.open(session.store_path(), false));
    std::vector<StoredImport> imports;
    ASSERT_TRUE(store.read_imports(imports));
    ASSERT_EQ(imports.size(), 3u);
    EXPECT_EQ(imports[1].closing_cents, 169158);
    EXPECT_EQ(imports[1].closing_date, make_date(2025, 1, 15));
    EXPECT_EQ(imports[1].account, "4455667788");
    EXPECT_EQ(imports[1].currency, "USD");
    EXPECT_EQ(imports[2].closing_cents, 294210);
    EXPECT_EQ(imports[2].format, "CAMT.053");
}

TEST_F(Imports, AStoreOfTheFirstVersionIsReadAsItIsAndBroughtUpWhenWritten) {
    // Made by the first version: one CSV import of six transactions, without account or currency.
    const std::string store = folder.write(
        "Old.qstore", read_file(std::string(QUILLET_TEST_DATA) + "../fuzz/corpus/store/imported.qstore"));
    for (const bool for_writing : {false, true}) {
        CompanionStore old;
        ASSERT_TRUE(old.open(store, for_writing));
        std::vector<StoredImport> imports;
        ASSERT_TRUE(old.read_imports(imports));
        ASSERT_EQ(imports.size(), 1u);
        EXPECT_EQ(imports[0].added, 6);
        EXPECT_EQ(imports[0].account, "");
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* version = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &version, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(version), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(version, 0), kStoreSchemaVersion);
    sqlite3_finalize(version);
    sqlite3_close(db);
}

TEST_F(Imports, LinksKeepToTheirTransactionsThroughEditsCompactionAndAnotherProgramsAppend) {
    ImportPreview first = preview_of(sample("statement.qif"));
    ASSERT_EQ(first.ticked_count(), 4);
    ASSERT_TRUE(import(first).done());
    // An edit moves the link to the record's new bytes.
    const std::int64_t row = session.row_count() - 1;
    RecordBytes opened{};
    ASSERT_TRUE(session.read(session.slot_of(row), opened));
    TransactionRecord edited = decode_record(opened.data());
    edited.description = "Monthly fee, December";
    RowChange change;
    ASSERT_TRUE(testing::edit(session, session.slot_of(row), opened, edited, change).done());
    // Compaction renumbers every record; another program appends one.
    CompactionCounts counts;
    ASSERT_TRUE(testing::compact(session, counts, true).done());
    ASSERT_EQ(counts.removed, 1);
    std::int64_t slot = 0;
    ASSERT_TRUE(append_record(path, typed(make_date(2025, 1, 6), 8.0f, "", "Bank Fee"), slot));

    RegisterSession reopened;
    reopened.open(path, kListNewestFirst);
    reopened.read_store();
    ASSERT_EQ(reopened.store_state(), StoreState::kRead);
    std::vector<bool> imported;
    for (std::int64_t each = 0; each < reopened.row_count(); ++each)
        imported.push_back(reopened.places().imported(reopened.slot_of(each)));
    // Newest first: the outside append, the four imported, the two typed.
    EXPECT_EQ(imported, (std::vector<bool>{false, true, true, true, true, false, false}));
    session.open(path, kListFileOrder);
    EXPECT_EQ(verdicts(preview_of(sample("statement.qif"))),
              (std::vector<std::string>{"imported", "imported", "imported", "imported"}));
    // A copy saved under another name goes on with the links; one over a file that had a store of
    // its own does not keep that one.
    folder.write("Copy.qlt.qstore", "the store of the file the copy replaces");
    ASSERT_TRUE(session.save_as(folder.file("Copy.qlt")).done());
    EXPECT_EQ(read_file(folder.file("Copy.qlt.qstore")), read_file(path + ".qstore"));
    session.open(folder.file("Copy.qlt"), kListFileOrder);
    EXPECT_EQ(verdicts(preview_of(sample("statement.qif")))[0], "imported");
}

TEST_F(Imports, UndoTakesAWholeImportBackAndAFailureLeavesBothFilesAsTheyWere) {
    const std::string before = read_file(path);
    ImportPreview preview = preview_of(sample("debit_credit.csv"));
    ASSERT_EQ(preview.ticked_count(), 4);
    EXPECT_EQ(preview.skipped.size(), 2u);  // too large for the register, and three decimals

    // The register fails half way: nothing stays, in the register or in a store.
    inject_record_write_fault();
    EXPECT_TRUE(import(preview).failed());
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(verdicts(preview_of(sample("debit_credit.csv")))[0], "new");

    // The store cannot be written (its name is a folder's): the register is cut back.
    ASSERT_TRUE(create_folders(session.store_path()));
    SessionResult refused = import(preview);
    EXPECT_TRUE(refused.failed());
    EXPECT_TRUE(refused.in_store());
    EXPECT_EQ(read_file(path), before);
    ASSERT_EQ(::rmdir(session.store_path().c_str()), 0);

    const SessionResult made = import(preview);
    ASSERT_TRUE(made.done()) << made.cause().error() << " " << made.in_store();
    RowChange change;
    ASSERT_TRUE(session.undo(change).done());
    EXPECT_EQ(change.kind, RowChange::Kind::kRowsChanged);
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(session.row_count(), 2);
    EXPECT_EQ(verdicts(preview_of(sample("debit_credit.csv"))),
              (std::vector<std::string>{"new", "new", "new", "new"}));
    ASSERT_TRUE(session.redo(change).done());
    EXPECT_EQ(session.row_count(), 6);
    EXPECT_EQ(verdicts(preview_of(sample("debit_credit.csv"))),
              (std::vector<std::string>{"imported", "imported", "imported", "imported"}));
}

TEST_F(Imports, AStoreThatCannotBeUsedIsSaidAndNeverBlocksTheRegister) {
    ASSERT_TRUE(import(preview_of(sample("statement.qif"))).done());
    const std::string store = session.store_path();
    const std::string register_bytes = read_file(path);
    const auto set_version = [&](int version) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(store.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, ("PRAGMA user_version = " + std::to_string(version)).c_str(), nullptr,
                               nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    };
    struct Problem {
        const char* name;
        std::function<void()> make;
        int error;
    };
    const std::string good = read_file(store);
    const Problem problems[] = {
        {"newer", [&] { set_version(kStoreSchemaVersion + 1); }, EPROTO},
        {"damaged", [&] { TempFolder::write_bytes(store, "SQLite format 3" + std::string(4096, 'x')); },
         EBADMSG},
        {"another program's", [&] { TempFolder::write_bytes(store, "not a database at all"); }, EBADMSG},
        // Where the store lives on a disk that is not mounted now: the import is refused, and the
        // link stays, so that the next import finds every earlier link again.
        {"a link that leads nowhere",
         [&] {
             ASSERT_TRUE(delete_file(store));
             ASSERT_EQ(::symlink(folder.file("unmounted/Checking.qstore").c_str(), store.c_str()), 0);
         },
         ENOLINK},
    };
    for (const Problem& problem : problems) {
        SCOPED_TRACE(problem.name);
        TempFolder::write_bytes(store, good);
        problem.make();
        RegisterSession other;
        other.open(path, kListFileOrder);
        EXPECT_EQ(other.row_count(), 6);  // the register opens all the same
        other.read_store();
        EXPECT_EQ(other.store_state(), StoreState::kUnusable);
        EXPECT_EQ(other.store_problem().error(), problem.error);
        RowChange change;
        const SessionResult refused =
            testing::import(other, ImportBatch{{typed(1, 1.0f, "", "X")}, {"id:x"}, {}}, change);
        EXPECT_TRUE(refused.in_store());
        EXPECT_EQ(refused.cause().error(), problem.error);
        EXPECT_EQ(refused.file(), store);
        EXPECT_EQ(read_file(path), register_bytes);
        EXPECT_TRUE(names_anything(store)) << "the store, or the link to it, stays";
    }
    ASSERT_TRUE(delete_file(store));

    // Held by another program: the import waits a moment, then says so; nothing is written.
    TempFolder::write_bytes(store, good);
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    RegisterSession other;
    other.open(path, kListFileOrder);
    RowChange change;
    const SessionResult held =
        testing::import(other, ImportBatch{{typed(1, 1.0f, "", "X")}, {"id:x"}, {}}, change);
    EXPECT_EQ(held.cause().error(), EWOULDBLOCK);
    EXPECT_EQ(read_file(path), register_bytes);
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// A scheduled occurrence entered on its due day is what the bank's statement shows days later: the
// import's second stage finds it as the duplicate, never adds it beside it.
TEST_F(Imports, AnEnteredOccurrenceIsFoundAsTheStatementLinesDuplicate) {
    Schedule electric;
    electric.id = 1;
    electric.type = "Debit";
    electric.payee = "Electric Co";
    electric.cents = 9640;
    electric.rule = {make_date(2024, 12, 1), Repeat::kMonthsOnDay, 1, 1};
    const std::optional<Occurrence> december = occurrence(electric.rule, 0);
    ASSERT_TRUE(december);
    RowChange change;
    ASSERT_TRUE(session.apply(std::make_shared<PutSchedule>(electric), change).done());
    ASSERT_TRUE(session
                    .apply(std::make_shared<EnterScheduled>(
                               std::vector<ScheduledEntry>{{1, 0, record_of(electric, *december)}}),
                           change)
                    .done());
    const std::string statement =
        folder.write("december.csv",
                     "Date,Description,Check Number,Amount\n11/29/2024,BAKERY,,-3.10\n"
                     "12/04/2024,ELECTRIC CO AUTOPAY,,-96.40\n12/05/2024,ELECTRIC CO AUTOPAY,,-96.40\n");
    // The nearer line is the entered one; a second charge of the same amount is new.
    EXPECT_EQ(verdicts(preview_of(statement)), (std::vector<std::string>{"new", "typed 2024/12/01", "new"}));
}

}  // namespace
}  // namespace quillet
