// The companion store on its own: stores of every earlier version brought up with what they hold,
// a change written whole with its number or not at all, a store named by a link written where the
// link leads (and one leading nowhere refused, the link kept), and a transaction a killed program
// left half written taken back for a reader.
#include "core/store/companion_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/runtime/file_access.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

std::string corpus(const char* name) {
    return read_file(std::string(QUILLET_TEST_DATA) + "../fuzz/corpus/store/" + name);
}

void run_sql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

struct Held {
    std::size_t imports = 0;
    std::size_t links = 0;
    std::size_t marks = 0;
    std::size_t statements = 0;
    bool operator==(const Held&) const = default;
};

Held held_by(CompanionStore& store) {
    Held held;
    std::vector<StoredImport> imports;
    std::vector<LinkedPlace> links;
    std::vector<StoredMark> marks;
    std::vector<StoredStatement> statements;
    EXPECT_TRUE(store.read_imports(imports));
    EXPECT_TRUE(store.read_links(links));
    EXPECT_TRUE(store.read_marks(marks));
    EXPECT_TRUE(store.read_statements(statements));
    return {imports.size(), links.size(), marks.size(), statements.size()};
}

TEST(CompanionStore, EveryEarlierVersionIsBroughtUpWithWhatItHolds) {
    TempFolder folder;
    struct Version {
        const char* name;
        std::string path;
    };
    const Version versions[] = {
        {"1", folder.write("one.qstore", corpus("imported.qstore"))},
        {"2", folder.write("two.qstore", corpus("imported.qstore"))},
        {"3", folder.write("three.qstore", corpus("reconciled.qstore"))},
        {"4", folder.write("four.qstore", corpus("reconciled.qstore"))},
        {"5", folder.write("five.qstore", corpus("reconciled.qstore"))},
        {"6", folder.write("six.qstore", corpus("reconciled.qstore"))},
        {"7", folder.write("seven.qstore", corpus("reconciled.qstore"))},
    };
    // The second version added an imported statement's account and currency.
    run_sql(versions[1].path,
            "ALTER TABLE imports ADD COLUMN account TEXT; ALTER TABLE imports ADD COLUMN currency TEXT; "
            "PRAGMA user_version = 2");
    run_sql(versions[3].path, "CREATE TABLE last_change(id INTEGER NOT NULL); PRAGMA user_version = 4");
    run_sql(versions[4].path,
            "CREATE TABLE last_change(id INTEGER NOT NULL); ALTER TABLE imports ADD COLUMN opening_cents "
            "INTEGER; "
            "ALTER TABLE imports ADD COLUMN first_date INTEGER; PRAGMA user_version = 5");
    run_sql(versions[5].path,
            "CREATE TABLE last_change(id INTEGER NOT NULL); ALTER TABLE imports ADD COLUMN opening_cents "
            "INTEGER; ALTER TABLE imports ADD COLUMN first_date INTEGER; CREATE TABLE schedules(id INTEGER "
            "PRIMARY KEY, type BLOB NOT NULL, number BLOB NOT NULL, payee BLOB NOT NULL, memo BLOB NOT NULL, "
            "cents INTEGER NOT NULL, deposit INTEGER NOT NULL, second_date_days INTEGER NOT NULL, first_day "
            "INTEGER NOT NULL, repeat INTEGER NOT NULL, every INTEGER NOT NULL, day INTEGER NOT NULL, "
            "until_day INTEGER, occurrences INTEGER NOT NULL, weekend INTEGER NOT NULL, enters_itself "
            "INTEGER NOT NULL, amount_varies INTEGER NOT NULL); CREATE TABLE occurrences(schedule_id INTEGER "
            "NOT NULL, occurrence INTEGER NOT NULL, state INTEGER NOT NULL, day INTEGER, record INTEGER, "
            "PRIMARY KEY(schedule_id, occurrence)); PRAGMA user_version = 6");
    // The seventh kept categories, its transactions' lines keyed by place.
    run_sql(
        versions[6].path,
        "CREATE TABLE last_change(id INTEGER NOT NULL); ALTER TABLE imports ADD COLUMN opening_cents "
        "INTEGER; ALTER TABLE imports ADD COLUMN first_date INTEGER; CREATE TABLE schedules(id INTEGER "
        "PRIMARY KEY); CREATE TABLE occurrences(schedule_id INTEGER); CREATE TABLE categories(id INTEGER "
        "PRIMARY KEY, name BLOB NOT NULL, parent INTEGER); CREATE TABLE category_parts(record INTEGER NOT "
        "NULL, place INTEGER NOT NULL, line INTEGER NOT NULL, category INTEGER NOT NULL, cents INTEGER, "
        "PRIMARY KEY(record, place, line)); CREATE TABLE category_rules(id INTEGER PRIMARY KEY, position "
        "INTEGER NOT NULL, match INTEGER NOT NULL, text BLOB NOT NULL, category INTEGER NOT NULL, learned "
        "INTEGER NOT NULL, deleted INTEGER NOT NULL); INSERT INTO categories VALUES(1, 'Car', NULL); "
        "INSERT INTO category_parts VALUES(42, 0, 0, 1, NULL), (42, 1, 0, 1, 700), (42, 1, 1, 1, 300); "
        "PRAGMA user_version = 7");
    for (const Version& version : versions) {
        SCOPED_TRACE(version.name);
        CompanionStore read_only;
        ASSERT_TRUE(read_only.open(version.path, false));
        const Held before = held_by(read_only);
        std::vector<std::pair<std::string, std::string>> filters;
        ASSERT_TRUE(read_only.read_saved_filters(filters));
        EXPECT_TRUE(filters.empty());
        std::uint64_t last = 1;
        ASSERT_TRUE(read_only.last_change(last));
        EXPECT_EQ(last, 0u) << "an older store names no change";
        read_only.close();
        CompanionStore store;
        ASSERT_TRUE(store.open(version.path, true));
        EXPECT_EQ(held_by(store), before);
        EXPECT_GT(before.imports, 0u);
        ASSERT_TRUE(store.write_change([](CompanionStore&) { return IoStatus(); }, 77));
        ASSERT_TRUE(store.last_change(last));
        EXPECT_EQ(last, 77u);
        std::vector<CategoryPart> parts;
        ASSERT_TRUE(store.read_category_parts(parts));
        EXPECT_EQ(parts.size(), version.name == std::string("7") ? 3u : 0u);
        ASSERT_TRUE(store.put_saved_filter("Rent", "kind=2\ttext=rent"));
        ASSERT_TRUE(store.put_saved_filter("Rent", "kind=2\ttext=landlord"));
        ASSERT_TRUE(store.read_saved_filters(filters));
        EXPECT_EQ(filters,
                  (std::vector<std::pair<std::string, std::string>>{{"Rent", "kind=2\ttext=landlord"}}));
    }
    // Twins' lines shift up past each other, as a record edited into their fingerprint makes them.
    CompanionStore store;
    ASSERT_TRUE(store.open(versions[6].path, true));
    ASSERT_TRUE(store.move_record({7, 0}, {42, 0}));
    std::vector<CategoryPart> parts;
    ASSERT_TRUE(store.read_category_parts(parts));
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].record.place, 1);
    EXPECT_EQ(parts[2].record.place, 2);
}

TEST(CompanionStore, AChangeIsWrittenWholeWithItsNumberOrNotAtAll) {
    TempFolder folder;
    CompanionStore store;
    ASSERT_TRUE(store.open(folder.file("Cash.qlt.qstore"), true));
    const auto import_then = [](IoStatus end) {
        return [end](CompanionStore& changed) {
            StoredImport entry;
            entry.file_name = "statement.qif";
            if (const IoStatus added = changed.add_import(entry, {{"id-1", {42, 0}, 0}}); !added)
                return added;
            return changed.set_marks({{{42, 0}, ClearState::kCleared, 0}}) ? end : IoStatus::failure(EIO);
        };
    };
    EXPECT_EQ(store.write_change(import_then(IoStatus::failure(ENOSPC)), 5).error(), ENOSPC);
    EXPECT_EQ(held_by(store), Held{});
    std::uint64_t last = 0;
    ASSERT_TRUE(store.last_change(last));
    EXPECT_EQ(last, 0u);
    ASSERT_TRUE(store.write_change(import_then(IoStatus()), 6));
    EXPECT_EQ(held_by(store), (Held{1, 1, 1, 0}));
    ASSERT_TRUE(store.last_change(last));
    EXPECT_EQ(last, 6u);
}

TEST(CompanionStore, ALinkIsWrittenWhereItLeadsAndOneLeadingNowhereIsRefusedAndKept) {
    TempFolder folder;
    ASSERT_TRUE(create_folders(folder.file("mounted")));
    const std::string target = folder.write("mounted/Cash.qstore", corpus("reconciled.qstore"));
    const std::string link = folder.file("Cash.qlt.qstore");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    {
        CompanionStore store;
        ASSERT_TRUE(store.open(link, true));
        ASSERT_TRUE(store.write_change([](CompanionStore&) { return IoStatus(); }, 9));
    }
    EXPECT_TRUE(is_symbolic_link(link));
    CompanionStore at_target;
    ASSERT_TRUE(at_target.open(target, false));
    std::uint64_t last = 0;
    ASSERT_TRUE(at_target.last_change(last));
    EXPECT_EQ(last, 9u) << "written where the link leads";
    at_target.close();

    // The disk it led to is not mounted now: never a missing store, never made anew, never removed.
    const std::string nowhere = folder.file("Other.qlt.qstore");
    ASSERT_EQ(::symlink(folder.file("unmounted/Other.qstore").c_str(), nowhere.c_str()), 0);
    for (const bool for_writing : {false, true}) {
        CompanionStore store;
        EXPECT_EQ(store.open(nowhere, for_writing).error(), ENOLINK);
        EXPECT_TRUE(is_symbolic_link(nowhere));
    }
}

TEST(CompanionStore, ATransactionAKilledProgramLeftHalfWrittenIsTakenBackForAReader) {
    TempFolder folder;
    const std::string path = folder.write("Cash.qlt.qstore", corpus("reconciled.qstore"));
    CompanionStore before;
    ASSERT_TRUE(before.open(path, false));
    const Held held = held_by(before);
    before.close();
    const pid_t child = ::fork();
    if (child == 0) {
        // A small cache: the transaction's pages reach the file before it commits.
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "PRAGMA cache_size = 2; BEGIN", nullptr, nullptr, nullptr);
        for (int i = 0; i < 3000; ++i)
            sqlite3_exec(db, "INSERT INTO marks VALUES (1, 1, 1, NULL)", nullptr, nullptr, nullptr);
        ::kill(::getpid(), SIGKILL);
    }
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    ASSERT_GE(file_size(path + "-journal"), 0) << "a journal SQLite must roll back";
    CompanionStore reader;
    ASSERT_TRUE(reader.open(path, false));
    EXPECT_EQ(held_by(reader), held);
}

// Schedules keep the register's bytes as they are, and what became of each occurrence goes with
// its schedule.
TEST(CompanionStore, SchedulesAndTheirOccurrencesAreKeptAsTheyAre) {
    TempFolder folder;
    CompanionStore store;
    ASSERT_TRUE(store.open(folder.file("Cash.qlt.qstore"), true));
    Schedule rent;
    rent.type = "Check";
    rent.payee = "Caf\xE9 Lumi\xE8re";  // Windows-1252, no UTF-8
    rent.memo = "Rent";
    rent.cents = 120000;
    rent.second_date_days = 2;
    rent.rule = {make_date(2026, 1, 31), Repeat::kMonthsOnDay, 1, 31, make_date(2027, 1, 31), 0,
                 WeekendRule::kBefore};
    rent.enters_itself = true;
    ASSERT_TRUE(store.put_schedule(rent));
    EXPECT_GT(rent.id, 0);
    Schedule pay = rent;
    pay.id = 0;
    pay.deposit = true;
    pay.rule = {make_date(2026, 1, 9), Repeat::kWeeks, 2, 0, kNoDate, 26};
    ASSERT_TRUE(store.put_schedule(pay));
    std::vector<Schedule> read;
    ASSERT_TRUE(store.read_schedules(read));
    EXPECT_EQ(read, (std::vector<Schedule>{rent, pay}));

    const std::vector<UsedOccurrence> used = {
        {rent.id, 0, OccurrenceState::kNoted, make_date(2026, 1, 30), 0xFEDCBA9876543210u},
        {rent.id, 1, OccurrenceState::kSkipped, kNoDate, 0},
        {pay.id, 0, OccurrenceState::kEntered, make_date(2026, 1, 9), 42}};
    ASSERT_TRUE(store.set_occurrences(used));
    std::vector<UsedOccurrence> kept;
    ASSERT_TRUE(store.read_occurrences(kept));
    EXPECT_EQ(kept, used);
    ASSERT_TRUE(store.forget_occurrences({used[1]}));
    ASSERT_TRUE(store.remove_schedule(pay.id));
    ASSERT_TRUE(store.read_occurrences(kept));
    EXPECT_EQ(kept, (std::vector<UsedOccurrence>{used[0]}));
    ASSERT_TRUE(store.read_schedules(read));
    EXPECT_EQ(read, (std::vector<Schedule>{rent}));
}

// Categories, the transactions' parts and the rules in their order; a part follows its record as a
// link does when the record changes places, and goes with a record compaction removed.
TEST(CompanionStore, CategoriesFollowTheirRecordsAndRulesKeepTheirOrder) {
    TempFolder folder;
    CompanionStore store;
    ASSERT_TRUE(store.open(folder.file("Cash.qlt.qstore"), true));
    StoredCategory home{0, "Home", 0};
    ASSERT_TRUE(store.put_category(home));
    StoredCategory rent{0, "Miete f\xFCr B\xFCro", home.id};  // Windows-1252
    ASSERT_TRUE(store.put_category(rent));
    std::vector<StoredCategory> categories;
    ASSERT_TRUE(store.read_categories(categories));
    EXPECT_EQ(categories, (std::vector<StoredCategory>{home, rent}));

    // A record of fingerprint 7 at place 1 split in two; another of 7 at place 2 not split.
    const std::vector<CategoryPart> split = {{{7, 1}, 0, rent.id, -100000}, {{7, 1}, 1, home.id, -2050}};
    ASSERT_TRUE(store.set_category_parts({7, 1}, split));
    ASSERT_TRUE(store.set_category_parts({7, 2}, {{{7, 2}, 0, home.id, std::nullopt}}));
    // The split record is edited into fingerprint 9: its parts follow, and 7's later one closes up.
    ASSERT_TRUE(store.move_record({7, 1}, {9, 0}));
    std::vector<CategoryPart> parts;
    ASSERT_TRUE(store.read_category_parts(parts));
    EXPECT_EQ(parts, (std::vector<CategoryPart>{{{7, 1}, 0, home.id, std::nullopt},
                                                {{9, 0}, 0, rent.id, -100000},
                                                {{9, 0}, 1, home.id, -2050}}));
    ASSERT_TRUE(store.forget_places({{7, 1}}));
    ASSERT_TRUE(store.read_category_parts(parts));
    EXPECT_EQ(parts.size(), 2u) << "a removed record's category goes with it";

    std::vector<CategoryRule> rules = {{0, RuleMatch::kContains, "SHELL", home.id, false, false},
                                       {0, RuleMatch::kEquals, "Landlord", rent.id, true, true}};
    ASSERT_TRUE(store.set_category_rules(rules));
    std::swap(rules[0], rules[1]);
    ASSERT_TRUE(store.set_category_rules(rules));
    std::vector<CategoryRule> kept;
    ASSERT_TRUE(store.read_category_rules(kept));
    EXPECT_EQ(kept, rules);
    EXPECT_GT(kept[0].id, 0);
}

}  // namespace
}  // namespace quillet
