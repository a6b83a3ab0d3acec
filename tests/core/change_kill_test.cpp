// Every kind of change, and its undo and redo, killed before each of its file calls in turn (the
// store's SQLite calls among them): afterwards a reader settles what was left, and the register is
// its old bytes or its new ones, with a store that agrees with it, links and marks on the records
// they named, and scheduled occurrences entered with their records or not at all.
//
// A change of up to 80 calls is killed before every one. A large one (an import of 100,000 lines
// makes thousands, nearly all of them SQLite's page writes, each the same step of SQLite's own
// journal) is killed before every call of ours and every step of SQLite's (a create, sync or
// removal), and before a sample of its page writes: QUILLET_KILL_PAGES of them (make soak: 60;
// else 2, and then a few points in all). QUILLET_KILL_EVERY=1 kills before every call of
// every change, which takes hours.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/category/category_edits.h"
#include "core/register/register_file.h"
#include "core/runtime/dates.h"
#include "core/runtime/file_calls.h"
#include "core/session/delete_entered.h"
#include "core/session/enter_scheduled.h"
#include "core/session/intent.h"
#include "core/session/put_schedule.h"
#include "core/session/register_session.h"
#include "core/session/save_filter.h"
#include "tests/support/counted_sqlite_vfs.h"
#include "tests/support/session_changes.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using record_format::kRecordSize;
using testing::read_file;
using testing::TempFolder;

int setting(const char* name, int otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : otherwise;
}

TransactionRecord numbered(int i, const std::string& payee) {
    TransactionRecord record;
    record.record_number = i;
    record.date = make_date(2025, 1, 1 + i % 28);
    record.type = "Check";
    record.payee = payee;
    record.amount = static_cast<float>(i % 500 + 1);
    record.kind = static_cast<std::uint8_t>(i % 2);
    return record;
}

// A register of count records, slot 5 deleted, and slots 10 to 12 the same transaction three times
// (the first of them deleted): byte for byte twins but for their numbers.
std::string register_bytes(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        TransactionRecord record = numbered(i, i >= 10 && i <= 12 ? "Twin" : "Payee " + std::to_string(i));
        if (i >= 10 && i <= 12) record.amount = 7.0f;
        if (i == 5 || i == 10) record.deleted = 1;
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    return bytes;
}

ImportBatch batch(int count, const std::string& prefix) {
    ImportBatch made;
    for (int i = 0; i < count; ++i) {
        made.records.push_back(numbered(i, prefix + std::to_string(i % 1000)));
        made.identities.push_back(prefix + "-" + std::to_string(i));
    }
    made.entry.file_name = prefix + ".qif";
    made.entry.fingerprint = prefix;
    made.entry.format = "QIF";
    made.entry.imported_on = make_date(2025, 2, 1);
    made.entry.closing_cents = 12345;
    made.entry.closing_date = make_date(2025, 1, 31);
    return made;
}

// The register at path with a store: three imported records, a statement with two records and a
// twin reconciled, one record cleared.
void with_store(const std::string& path) {
    RegisterSession session;
    session.open(path, kListFileOrder);
    RowChange rows;
    ASSERT_TRUE(testing::import(session, batch(3, "bank"), rows).done());
    ASSERT_TRUE(testing::set_cleared(session, {3}, {true}).done());
    StoredStatement statement{0, make_date(2025, 1, 31), 0, 100, make_date(2025, 2, 1), false};
    ASSERT_TRUE(testing::finish_statement(session, statement, {1, 2, 11}, {true, true, true}, rows).done());
}

std::string make_register(const std::string& folder, const std::string& name, int count, bool store) {
    const std::string path = folder + name;
    TempFolder::write_bytes(path, register_bytes(count));
    if (store) with_store(path);
    return path;
}

// What a register and its store hold: the register's bytes and every row of the store's tables but
// the change number's. A store with no rows is as good as none.
std::string state_of(const std::string& path) {
    std::string state = file_size(path) >= 0 ? read_file(path) : std::string("<no register>");
    state += "\n--- store\n";
    sqlite3* db = nullptr;
    if (file_size(store_path_of(path)) < 0 ||
        sqlite3_open_v2(store_path_of(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return state;
    }
    for (const char* table : {"imports", "links", "marks", "statements", "schedules", "occurrences",
                              "categories", "category_parts", "category_rules", "saved_filters"}) {
        sqlite3_stmt* rows = nullptr;
        if (sqlite3_prepare_v2(db, (std::string("SELECT * FROM ") + table).c_str(), -1, &rows, nullptr) !=
            SQLITE_OK) {
            sqlite3_finalize(rows);
            continue;
        }
        std::vector<std::string> lines;
        while (sqlite3_step(rows) == SQLITE_ROW) {
            std::string line = table;
            for (int column = 0; column < sqlite3_column_count(rows); ++column) {
                const auto* text = sqlite3_column_text(rows, column);
                line += '|' + (text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : "NULL");
            }
            lines.push_back(line);
        }
        sqlite3_finalize(rows);
        std::sort(lines.begin(), lines.end());
        for (const std::string& line : lines) state += line + '\n';
    }
    sqlite3_close(db);
    return state;
}

struct Work {
    std::string folder;
    std::string path;
    RegisterSession session;
};

struct Scenario {
    std::string name;
    std::function<void(const std::string& folder)> make;
    std::function<SessionResult(Work&)> change;
    std::function<void(Work&)> before = {};  // our own steps first (what undo and redo take back)
    std::vector<std::string> files = {"Cash.qlt"};
    std::size_t short_pass_points = 8;  // a large change's kill points without QUILLET_KILL_PAGES
};

void restore(const std::string& from, const std::string& to) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(to))
        std::filesystem::remove_all(entry, ignored);
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive, ignored);
}

// Runs the scenario in a child on the work folder; kills it before its nth file call (0: never).
// Tells how the child ended and, when it was not killed, how many file calls the change made.
struct Ran {
    bool killed = false;
    int code = -1;
    std::string calls;  // each call's kind (file_calls.h), in order
};
Ran run_child(const Scenario& scenario, const std::string& folder, std::int64_t kill_at, bool change_too) {
    int report[2];
    if (::pipe(report) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        Work work{folder, folder + "Cash.qlt", {}};
        if (file_size(work.path) >= 0) work.session.open(work.path, kListFileOrder);
        if (scenario.before) scenario.before(work);
        std::string calls;
        int code = 0;
        if (change_too) {
            stop_before_file_change(kill_at);
            code = scenario.change(work).done() ? 0 : 2;
            calls = file_changes_noted();
        }
        for (std::size_t done = 0; done < calls.size();) {
            const ssize_t put = ::write(report[1], calls.data() + done, calls.size() - done);
            if (put <= 0) break;
            done += static_cast<std::size_t>(put);
        }
        ::_exit(code);
    }
    ::close(report[1]);
    Ran ran;
    char block[4096];
    for (ssize_t got = 0; (got = ::read(report[0], block, sizeof block)) > 0;)
        ran.calls.append(block, static_cast<std::size_t>(got));
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ran.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    ran.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

// What a reader finds: what the killed change left settled first, as every reader does.
std::string settled_state(const Scenario& scenario, const std::string& folder) {
    std::string state;
    for (const std::string& file : scenario.files) {
        const std::string path = folder + file;
        const RegisterCheck check = settle_and_check(path);
        EXPECT_TRUE(check == RegisterCheck::kAccepted || check == RegisterCheck::kMissing)
            << scenario.name << ": " << file << " refused";
        for (const std::string& left : {intent_path_of(path), kept_path_of(path, 0), kept_path_of(path, 1)})
            EXPECT_FALSE(names_anything(left)) << scenario.name << ": " << left << " stays";
        state += file + ":\n" + state_of(path);
    }
    return state;
}

// Evenly spread: count of the items, the first and the last among them.
std::vector<std::int64_t> spread(const std::vector<std::int64_t>& items, std::size_t count) {
    if (items.size() <= count) return items;
    std::vector<std::int64_t> chosen;
    for (std::size_t at = 0; at < count; ++at) chosen.push_back(items[at * (items.size() - 1) / (count - 1)]);
    return chosen;
}

// The calls (numbered from 1) to kill before, as the file's head says.
std::vector<std::int64_t> kill_points(const std::string& calls, std::size_t short_pass_points) {
    std::vector<std::int64_t> every;
    std::vector<std::int64_t> steps;
    std::vector<std::int64_t> pages;
    for (std::size_t at = 0; at < calls.size(); ++at) {
        const auto point = static_cast<std::int64_t>(at + 1);
        every.push_back(point);
        (calls[at] == static_cast<char>(FileCall::kStorePage) ? pages : steps).push_back(point);
    }
    if (calls.size() <= 80 || setting("QUILLET_KILL_EVERY", 0) > 0) return every;
    const int sampled_pages = setting("QUILLET_KILL_PAGES", 2);
    std::vector<std::int64_t> points = spread(pages, static_cast<std::size_t>(std::max(2, sampled_pages)));
    points.insert(points.end(), steps.begin(), steps.end());
    std::sort(points.begin(), points.end());
    return std::getenv("QUILLET_KILL_PAGES") == nullptr ? spread(points, short_pass_points) : points;
}

void kill_at_every_point(const Scenario& scenario) {
    SCOPED_TRACE(scenario.name);
    testing::count_sqlite_file_changes();
    TempFolder made;
    TempFolder work;
    scenario.make(made.path());
    if (::testing::Test::HasFatalFailure()) return;
    restore(made.path(), work.path());
    ASSERT_EQ(run_child(scenario, work.path(), 0, false).code, 0);
    const std::string old_state = settled_state(scenario, work.path());
    restore(made.path(), work.path());
    const Ran whole = run_child(scenario, work.path(), 0, true);
    ASSERT_EQ(whole.code, 0) << "the change fails without a kill";
    const std::string new_state = settled_state(scenario, work.path());
    ASSERT_NE(old_state, new_state) << "the change changes nothing";
    int old_seen = 0;
    int new_seen = 0;
    for (const std::int64_t point : kill_points(whole.calls, scenario.short_pass_points)) {
        restore(made.path(), work.path());
        const Ran ran = run_child(scenario, work.path(), point, true);
        EXPECT_TRUE(ran.killed) << "not killed before call " << point << " of " << whole.calls.size();
        const std::string state = settled_state(scenario, work.path());
        const bool is_old = state == old_state;
        const bool is_new = state == new_state;
        EXPECT_TRUE(is_old || is_new) << "killed before call " << point << " of " << whole.calls.size()
                                      << " (" << whole.calls[static_cast<std::size_t>(point - 1)] << ")";
        old_seen += is_old ? 1 : 0;
        new_seen += is_new ? 1 : 0;
        if (::testing::Test::HasFailure()) return;
    }
    EXPECT_GT(old_seen, 0) << "a kill before the first call leaves the old state";
}

// The changes, each from the same files: the main register (with or without a store), and what a
// change needs besides.
void cash(const std::string& folder) { make_register(folder, "Cash.qlt", 30, true); }
void cash_without_store(const std::string& folder) { make_register(folder, "Cash.qlt", 30, false); }
void one_record(const std::string& folder) {
    make_register(folder, "Cash.qlt", 1, false);
    RegisterSession session;
    session.open(folder + "Cash.qlt", kListFileOrder);
    ASSERT_TRUE(testing::set_cleared(session, {0}, {true}).done());
}
void thousand(const std::string& folder) { make_register(folder, "Cash.qlt", 1000, true); }
// Categories, with three records categorised (one split) and a rule.
void cash_with_categories(const std::string& folder) {
    cash(folder);
    RegisterSession session;
    session.open(folder + "Cash.qlt", kListFileOrder);
    RowChange rows;
    for (const char* name : {"Home:Rent", "Car:Fuel", "Car:Repairs", "Food"}) {
        const CategoryEdit added = add_category(session.categories().lists(), name);
        ASSERT_TRUE(added.change && session.apply(added.change, rows).done());
    }
    const CategoryEdit rule = add_rule(session.categories().lists(), RuleMatch::kContains, "garage", 3);
    ASSERT_TRUE(rule.change && session.apply(rule.change, rows).done());
    const std::vector<std::pair<std::int64_t, CategoryLines>> lines = {
        {3, {{2, std::nullopt}}}, {4, {{3, 500}, {5, 700}}}, {31, {{5, std::nullopt}}}};
    ASSERT_TRUE(
        session.apply(categorise(session.categories(), session.places(), lines, "categories"), rows).done());
}

SessionResult add_one(Work& work) {
    RowChange rows;
    return testing::add(work.session, numbered(99, "Added"), false, rows);
}
SessionResult edit_linked(Work& work) {
    RecordBytes opened{};
    if (!work.session.read(31, opened)) return SessionResult::of(IoStatus::failure(EIO));
    TransactionRecord record = decode_record(opened.data());
    record.description = "Edited";
    RowChange rows;
    return testing::edit(work.session, 31, opened, record, rows);
}
SessionResult void_reconciled(Work& work) {
    RecordBytes opened{};
    if (!work.session.read(11, opened)) return SessionResult::of(IoStatus::failure(EIO));
    TransactionRecord record = decode_record(opened.data());
    record.void_flag = 1;
    RowChange rows;
    return testing::edit(work.session, 11, opened, record, rows);
}
SessionResult delete_reconciled(Work& work) {
    RowChange rows;
    return testing::delete_row(work.session, work.session.row_of_slot(2), rows);
}
SessionResult delete_only_row(Work& work) {
    RowChange rows;
    return testing::delete_row(work.session, 0, rows);
}
// Imported cleared: its mark is written with its link, and taken back with it.
SessionResult import_one(Work& work) {
    RowChange rows;
    ImportBatch cleared = batch(1, "other");
    cleared.cleared = true;
    return testing::import(work.session, std::move(cleared), rows);
}
// Two occurrences of a schedule entered: their records and their occurrences, or neither.
SessionResult enter_two(Work& work) {
    RowChange rows;
    return work.session.apply(std::make_shared<EnterScheduled>(std::vector<ScheduledEntry>{
                                  {3, 0, numbered(40, "Landlord")}, {3, 1, numbered(41, "Landlord")}}),
                              rows);
}
// A schedule added, and one of its occurrences skipped: only the store changes.
SessionResult add_schedule(Work& work) {
    RowChange rows;
    Schedule rent;
    rent.payee = "Landlord";
    rent.cents = 120000;
    rent.rule = {make_date(2025, 1, 31), Repeat::kMonthsOnDay, 1, 31};
    return work.session.apply(std::make_shared<PutSchedule>(rent), rows);
}
SessionResult save_filter(Work& work) {
    RowChange rows;
    return work.session.apply(
        std::make_shared<SaveFilter>("Rent", std::nullopt, "kind=2\ttext=landlord", "saving the filter Rent"),
        rows);
}
SessionResult skip_one(Work& work) {
    RowChange rows;
    return work.session.apply(std::make_shared<SkipScheduled>(std::vector<UsedOccurrence>{{3, 5}}), rows);
}
// The record of an entered occurrence deleted and the occurrence due again: both, or neither.
SessionResult delete_entered(Work& work) {
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    if (!work.session.look_up_schedules(schedules, used)) return SessionResult::of(IoStatus::failure(EIO));
    const std::int64_t row = work.session.row_count() - 1;
    const std::uint64_t print = work.session.fingerprint_of(row);
    const std::optional<UsedOccurrence> entered = occurrence_entered_as(used, print);
    if (!entered) return SessionResult::of(IoStatus::failure(ENOENT));
    RowChange rows;
    return work.session.apply(std::make_shared<DeleteEntered>(work.session.slot_of(row), print, *entered,
                                                              false, make_date(2025, 3, 1)),
                              rows);
}
SessionResult finish(Work& work) {
    RowChange rows;
    StoredStatement statement{0, make_date(2025, 2, 28), 100, 200, make_date(2025, 3, 1), false};
    return testing::finish_statement(work.session, statement, {3, 4, 6, 12}, {true, true, false, true}, rows);
}
// Car merged into Home: its children go under Home, their records and rules with them.
SessionResult merge_car(Work& work) {
    RowChange rows;
    const CategoryEdit merged = merge_category(work.session.categories(), work.session.places(), 3, 1);
    if (!merged.change) return SessionResult::of(IoStatus::failure(EINVAL));
    return work.session.apply(merged.change, rows);
}
// A transaction added with its category, and the payee's rule learned, in one step.
SessionResult add_categorised(Work& work) {
    RowChange rows;
    const TransactionRecord record = numbered(99, "Corner shop");
    const std::optional<CategoryLists> learned =
        learned_from(work.session.categories().lists(), record.payee, 5);
    return work.session.apply(
        std::make_shared<WithCategories>(
            std::make_shared<AddTransaction>(record, false), std::vector<CategoryLines>{},
            std::vector<CategoryLines>{{{5, std::nullopt}}}, work.session.categories().lists(), learned),
        rows);
}
// The imported, categorised record edited to another category: it moves places with its link.
SessionResult edit_categorised(Work& work) {
    RecordBytes opened{};
    if (!work.session.read(31, opened)) return SessionResult::of(IoStatus::failure(EIO));
    TransactionRecord record = decode_record(opened.data());
    record.description = "Edited";
    RowChange rows;
    return work.session.apply(
        std::make_shared<WithCategories>(edit_transaction(31, opened, record),
                                         std::vector<CategoryLines>{{{5, std::nullopt}}},
                                         std::vector<CategoryLines>{{{2, std::nullopt}}}),
        rows);
}
SessionResult undo(Work& work) {
    RowChange rows;
    return work.session.undo(rows);
}
SessionResult redo(Work& work) {
    RowChange rows;
    return work.session.redo(rows);
}
// Our step first, for undo; our step and its undo, for redo.
std::function<void(Work&)> done(std::function<SessionResult(Work&)> step, bool undone) {
    return [step, undone](Work& work) {
        if (!step(work).done()) ::_exit(3);
        if (undone && !undo(work).done()) ::_exit(3);
        // The list is read again, as the program does after an undo: the history stays.
        if (file_size(work.path) >= 0) work.session.open(work.path, kListFileOrder);
    };
}

std::vector<Scenario> scenarios() {
    std::vector<Scenario> all = {
        {"add", cash, add_one},
        {"edit of an imported record", cash, edit_linked},
        {"void of a reconciled twin", cash, void_reconciled},
        {"delete of a reconciled record", cash, delete_reconciled},
        {"delete of the last row", one_record, delete_only_row},
        {"import of one line", cash, import_one},
        {"import of one line, the store made for it", cash_without_store, import_one},
        {"set cleared", cash,
         [](Work& work) {
             return testing::set_cleared(work.session, {4, 6, 3}, {true, true, false});
         }},
        {"finish a statement", cash, finish},
        {"entry of two scheduled", cash, enter_two},
        {"entry of two scheduled, the store made for it", cash_without_store, enter_two},
        {"a schedule added", cash, add_schedule},
        {"an occurrence skipped", cash, skip_one},
        {"a filter saved, the store made for it", cash_without_store, save_filter},
        {"compaction of twins with marks", cash,
         [](Work& work) {
             CompactionCounts counts;
             return testing::compact(work.session, counts, true);
         }},
        {"compaction without a store", cash_without_store,
         [](Work& work) {
             CompactionCounts counts;
             return testing::compact(work.session, counts, true);
         }},
        {"save as over another register with a store",
         [](const std::string& folder) {
             cash(folder);
             make_register(folder, "Other.qlt", 12, true);
         },
         [](Work& work) { return work.session.save_as(work.folder + "Other.qlt"); },
         {},
         {"Cash.qlt", "Other.qlt"}},
        {"save as, a copy without a store over one with a store",
         [](const std::string& folder) {
             cash_without_store(folder);
             make_register(folder, "Other.qlt", 12, true);
         },
         [](Work& work) { return work.session.save_as(work.folder + "Other.qlt"); },
         {},
         {"Cash.qlt", "Other.qlt"}},
        {"back up beside an earlier backup",
         [](const std::string& folder) {
             cash(folder);
             ASSERT_TRUE(create_folders(folder + "Backup"));
             make_register(folder, "Backup/Cash.qlt", 8, true);
         },
         [](Work& work) { return work.session.back_up(work.folder + "Backup/Cash.qlt"); },
         {},
         {"Cash.qlt", "Backup/Cash.qlt"}},
        {"new register over one with a store", cash,
         [](Work& work) { return work.session.create(work.path, numbered(0, "Opening")); }},
    };
    const std::pair<const char*, std::function<SessionResult(Work&)>> steps[] = {
        {"add", add_one},          {"edit", edit_linked},
        {"void", void_reconciled}, {"delete", delete_reconciled},
        {"import", import_one},    {"finish", finish},
        {"entry", enter_two},      {"schedule", add_schedule},
        {"skip", skip_one},        {"saved filter", save_filter},
    };
    for (const auto& [name, step] : steps) {
        all.push_back({std::string("undo of ") + name, cash, undo, done(step, false)});
        all.push_back({std::string("redo of ") + name, cash, redo, done(step, true)});
    }
    all.push_back({"delete of an entered record, due again", cash, delete_entered, done(enter_two, false)});
    all.push_back({"undo of an entered record's delete", cash, undo, [](Work& work) {
                       done(enter_two, false)(work);
                       done(delete_entered, false)(work);
                   }});
    for (const auto& [name, step] :
         {std::pair<const char*, std::function<SessionResult(Work&)>>{"merge of a category", merge_car},
          {"add with a category", add_categorised},
          {"edit of a categorised record", edit_categorised}}) {
        all.push_back({name, cash_with_categories, step});
        all.push_back({std::string("undo of ") + name, cash_with_categories, undo, done(step, false)});
    }
    all.push_back({"undo of the last row's delete", one_record, undo, done(delete_only_row, false)});
    all.push_back({"redo of the last row's delete", one_record, redo, done(delete_only_row, true)});
    return all;
}

class KilledBeforeFileCall : public ::testing::TestWithParam<Scenario> {};

TEST_P(KilledBeforeFileCall, LeavesTheOldOrTheNewRegisterWithAStoreThatAgrees) {
    kill_at_every_point(GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryChange, KilledBeforeFileCall, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& scenario) {
                             std::string name;
                             for (const char c : scenario.param.name)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// An import of 100,000 lines into a register of 1,000 records, its undo and its redo: one write
// the kernel may stop at any page, which only the intent tells apart from damage.
// The short pass kills the import at four points; the undo and the redo, whose every run imports
// the 100,000 lines first, are left to make soak.
TEST(KilledBeforeFileCall, ALargeImportItsUndoAndItsRedoAreWholeOrNotAtAll) {
    // Made once: each child applies it as it is.
    const auto big = std::make_shared<ImportStatement>(batch(100000, "big"));
    const auto import_big = [big](Work& work) {
        RowChange rows;
        return work.session.apply(big, rows);
    };
    std::vector<Scenario> scenarios = {
        {"import of 100,000 lines", thousand, import_big, {}, {"Cash.qlt"}, 4}};
    if (std::getenv("QUILLET_KILL_PAGES") != nullptr) {
        scenarios.push_back({"undo of it", thousand, undo, done(import_big, false)});
        scenarios.push_back({"redo of it", thousand, redo, done(import_big, true)});
    }
    for (const Scenario& scenario : scenarios) {
        kill_at_every_point(scenario);
        if (HasFailure()) return;
    }
}

// A kill stops a write between two pages: a record that straddles a page boundary is left part
// written. Such a write is made under an intent, so that what the kill left is taken back: each
// change is killed just after its register write, and that write torn at the page boundary.
TEST(KilledBeforeFileCall, ARecordTornAtAPageBoundaryIsTakenBack) {
    constexpr std::size_t kPage = 4096;
    const std::vector<Scenario> scenarios = {
        // The 20th record starts at 4009 and ends past 4096.
        {"add across a page boundary",
         [](const std::string& folder) { make_register(folder, "Cash.qlt", 19, false); }, add_one},
        {"edit across a page boundary", cash_without_store,
         [](Work& work) {
             RecordBytes opened{};
             if (!work.session.read(19, opened)) return SessionResult::of(IoStatus::failure(EIO));
             TransactionRecord record = decode_record(opened.data());
             record.type = "Edited";  // before the page boundary, the payee after it
             record.payee = "Edited";
             RowChange rows;
             return testing::edit(work.session, 19, opened, record, rows);
         }},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        TempFolder made;
        TempFolder work;
        scenario.make(made.path());
        const std::string path = work.path() + "Cash.qlt";
        restore(made.path(), work.path());
        const std::string old_bytes = read_file(path);
        const std::string old_state = settled_state(scenario, work.path());
        restore(made.path(), work.path());
        const Ran whole = run_child(scenario, work.path(), 0, true);
        ASSERT_EQ(whole.code, 0);
        const std::string new_bytes = read_file(path);
        const std::string new_state = settled_state(scenario, work.path());
        // The first call after which the register holds the new bytes follows its write.
        std::int64_t after_write = 0;
        for (std::int64_t point = 1; point <= static_cast<std::int64_t>(whole.calls.size()); ++point) {
            restore(made.path(), work.path());
            run_child(scenario, work.path(), point, true);
            if (read_file(path) != old_bytes) {
                after_write = point;
                break;
            }
        }
        ASSERT_GT(after_write, 1) << "the register is written at the last call or before the first";
        // Killed before the write, then given the write's first page only, as a kill inside it leaves.
        restore(made.path(), work.path());
        run_child(scenario, work.path(), after_write - 1, true);
        std::size_t first = 0;
        while (first < old_bytes.size() && old_bytes[first] == new_bytes[first]) ++first;
        const std::size_t start = first - first % kRecordSize;
        const std::size_t torn_end = std::min(start + kRecordSize, (start / kPage + 1) * kPage);
        std::string torn = old_bytes;
        torn.resize(std::max(torn.size(), torn_end));
        torn.replace(start, torn_end - start, new_bytes, start, torn_end - start);
        ASSERT_TRUE(torn != old_bytes && torn != new_bytes) << "the write lies in one page";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << torn;
        const std::string state = settled_state(scenario, work.path());
        EXPECT_TRUE(state == old_state || state == new_state);
    }
}

// The same import killed at random moments, as a power cut or the out-of-memory killer would: the
// kernel may stop its write at any page, inside a record. Every reader finds the register whole,
// as it was or with every imported record, and the store agreeing.
TEST(KilledBeforeFileCall, ALargeImportKilledAtRandomMomentsNeverLeavesPartOfARecord) {
    const auto big = std::make_shared<ImportStatement>(batch(100000, "big"));
    const Scenario scenario{"import of 100,000 lines", thousand, [big](Work& work) {
                                RowChange rows;
                                return work.session.apply(big, rows);
                            }};
    testing::count_sqlite_file_changes();
    TempFolder made;
    TempFolder work;
    scenario.make(made.path());
    restore(made.path(), work.path());
    const std::string old_state = settled_state(scenario, work.path());
    ASSERT_EQ(run_child(scenario, work.path(), 0, true).code, 0);
    const std::string new_state = settled_state(scenario, work.path());
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> microseconds(0, 700000);
    const int trials = std::max(4, setting("QUILLET_KILL_TRIALS", 12) / 10);
    for (int trial = 0; trial < trials; ++trial) {
        restore(made.path(), work.path());
        const pid_t child = ::fork();
        if (child == 0) {
            Work in_child{work.path(), work.path() + "Cash.qlt", {}};
            in_child.session.open(in_child.path, kListFileOrder);
            (void)scenario.change(in_child);
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string state = settled_state(scenario, work.path());
        EXPECT_TRUE(state == old_state || state == new_state) << "trial " << trial;
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace quillet
