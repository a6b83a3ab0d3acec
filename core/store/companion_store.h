// The companion store: what a register's 211-byte records have no room for, kept in an SQLite
// database beside the register (its file name with a fixed suffix), so that the register stays as
// other programs read it. It holds the import history (each file's fingerprint, when, how many
// transactions were added, the statement's closing balance) and every imported transaction's
// identity with the record it became, each transaction's state against the bank's statements
// (cleared, reconciled) and the statements reconciled.
//
// A record is named by its fingerprint (record_fingerprint.h: its bytes without the deleted flag and
// the record number) and its place among the register's records with that fingerprint, deleted
// ones counted, in file order: compaction renumbers but keeps the order, and an append goes last,
// so neither moves a place. A link whose record is gone for good (compacted away) keeps its
// identity with the place kGonePlace and is never applied to another transaction.
//
// Failures carry their cause: EBADMSG for a file that is damaged or no store of this program,
// EPROTO for one a newer version wrote, EWOULDBLOCK while another program holds it, ENOLINK when
// its name is a symbolic link that leads nowhere (a disk not mounted), else the system's own. Each
// write is one SQLite transaction: all of it or nothing. A store named by a link is written where
// the link leads, and the link stays.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/register/record_fingerprint.h"
#include "core/register/record_states.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/dates.h"
#include "core/runtime/io_status.h"
#include "core/store/stored_category.h"
#include "core/store/stored_schedule.h"

struct sqlite3;

namespace quillet {

inline constexpr std::string_view kStoreSuffix = ".qstore";
// The version of the tables this program writes; older stores are brought up to it when opened
// for writing, newer ones are refused.
inline constexpr int kStoreSchemaVersion = 9;
inline constexpr std::int64_t kGonePlace = -1;

// The store beside the register at the path: beside the file the path names, so that a register
// opened through a symbolic link finds the same store as when it is opened by its own name.
std::string store_path_of(const std::string& register_path);

// A statement file imported into the register.
struct StoredImport {
    std::int64_t id = 0;  // given by the store, unless set (an import undone and made again)
    std::string file_name;
    std::string fingerprint;  // of the file's text (statement_text.h)
    std::string format;       // "CSV", "QIF"...
    DateValue imported_on = kNoDate;
    std::int64_t added = 0;
    std::optional<std::int64_t> closing_cents;
    std::optional<DateValue> closing_date;
    std::string account;                        // as the statement names it, when it does
    std::string currency;                       // ISO 4217, when the statement says
    std::optional<std::int64_t> opening_cents;  // the balance the statement starts from, when it says
    std::optional<DateValue> first_date;        // the statement's first transaction's day
};

struct StoredLink {
    std::string identity;  // the bank's ID, or a fingerprint of the statement line (line_identity.h)
    RecordPlace record;
    std::int64_t import_id = 0;
};

// An identity found in the store, with the day its import was made.
struct FoundIdentity {
    RecordPlace record;
    DateValue imported_on = kNoDate;
};

// A statement the register was reconciled with.
struct StoredStatement {
    std::int64_t id = 0;  // given by the store, unless set (a reconcile undone and made again)
    DateValue date = kNoDate;
    std::int64_t opening_cents = 0;
    std::int64_t ending_cents = 0;
    DateValue finished_on = kNoDate;
    bool changed = false;  // one of its transactions was changed after it was finished
};

class CompanionStore {
  public:
    CompanionStore() = default;
    ~CompanionStore();
    CompanionStore(const CompanionStore&) = delete;
    CompanionStore& operator=(const CompanionStore&) = delete;

    // Opens the store at the path. For reading, a missing store is ENOENT; for writing, it is made
    // (and an older one brought up to this version). A link that leads nowhere is ENOLINK either
    // way: the store it led to is somewhere, and must not be taken for none.
    IoStatus open(const std::string& path, bool for_writing);
    // Opens an existing store to tell whether an interrupted change was made (last_change), as
    // it is: nothing is made or brought up, and a half-written transaction of SQLite's is rolled
    // back.
    IoStatus open_to_settle(const std::string& path);
    void close();
    bool is_open() const { return db_ != nullptr; }

    // Every live link's place, ordered by fingerprint (as a signed number) and place; gone links
    // are left out.
    IoStatus read_links(std::vector<LinkedPlace>& links) const;
    // The identities' links, in their order (none for an identity never imported).
    IoStatus find_identities(const std::vector<std::string>& identities,
                             std::vector<std::optional<FoundIdentity>>& found) const;
    IoStatus read_imports(std::vector<StoredImport>& imports) const;
    // The links of the records at the places, in their order (none for a record no import made).
    IoStatus find_links(const std::vector<RecordPlace>& places,
                        std::vector<std::optional<StoredLink>>& found) const;

    // Records the import and its links in one transaction; sets the import's id when it had none.
    IoStatus add_import(StoredImport& entry, const std::vector<StoredLink>& links);
    // Removes the import with its links.
    IoStatus remove_import(std::int64_t id);
    // A record moved from one place to another (its bytes were rewritten): the link at from goes
    // to to, and the other links of both fingerprints close up or make room.
    IoStatus move_record(const RecordPlace& from, const RecordPlace& to);
    // Compaction removed the records at these places (places before compaction, by fingerprint):
    // their links are gone, and later places of the same fingerprints close up.
    IoStatus forget_places(std::vector<RecordPlace> removed);

    // Every cleared or reconciled record's mark, ordered as read_links orders links.
    IoStatus read_marks(std::vector<StoredMark>& marks) const;
    // The statements reconciled, oldest first.
    IoStatus read_statements(std::vector<StoredStatement>& statements) const;
    // Sets the records' states (an uncleared one loses its mark), all or none.
    IoStatus set_marks(const std::vector<StoredMark>& marks);
    // Records the statement and its transactions' marks in one transaction; reconciled marks
    // without a statement get this one. Sets the statement's id when it had none.
    IoStatus add_statement(StoredStatement& statement, std::vector<StoredMark> marks);
    // Removes the statement and gives its transactions back the marks they had before.
    IoStatus remove_statement(std::int64_t id, const std::vector<StoredMark>& before);
    IoStatus set_statement_changed(std::int64_t id);

    // The schedules, by id, and what became of their occurrences (none in a store older than them).
    IoStatus read_schedules(std::vector<Schedule>& schedules) const;
    IoStatus read_occurrences(std::vector<UsedOccurrence>& used) const;
    // Adds the schedule (giving it an id when it has none) or replaces the one with its id.
    IoStatus put_schedule(Schedule& schedule);
    // Removes the schedule and what became of its occurrences.
    IoStatus remove_schedule(std::int64_t id);
    // Sets what became of the occurrences (a noted one becomes entered, say), each replacing any
    // state its occurrence had; forget_occurrences makes them open again.
    IoStatus set_occurrences(const std::vector<UsedOccurrence>& used);
    IoStatus forget_occurrences(const std::vector<UsedOccurrence>& used);

    // The filters saved under a name, by name, each as its terms' line (none in a store older than
    // them); a filter put under a name there already replaces it.
    IoStatus read_saved_filters(std::vector<std::pair<std::string, std::string>>& filters) const;
    IoStatus put_saved_filter(const std::string& name, const std::string& terms);
    IoStatus remove_saved_filter(const std::string& name);

    // The categories by id, the transactions' categories, and the payee rules in their order (none
    // in a store older than them).
    IoStatus read_categories(std::vector<StoredCategory>& categories) const;
    IoStatus read_category_parts(std::vector<CategoryPart>& parts) const;
    IoStatus read_category_rules(std::vector<CategoryRule>& rules) const;
    // Adds the category (giving it an id when it has none) or replaces the one with its id.
    IoStatus put_category(StoredCategory& category);
    IoStatus remove_category(std::int64_t id);
    // Sets the record's category parts, replacing any it had; none leaves it without a category.
    IoStatus set_category_parts(const RecordPlace& record, const std::vector<CategoryPart>& parts);
    // Sets many records' parts at once, each record's replacing what it had (parts ordered by record).
    IoStatus set_many_category_parts(const std::vector<RecordPlace>& records,
                                     const std::vector<CategoryPart>& parts);
    // The categories become these (by id), those not among them removed.
    IoStatus set_categories(const std::vector<StoredCategory>& categories);
    // Writes the rules in this order, replacing all the store had (ids given to new ones).
    IoStatus set_category_rules(std::vector<CategoryRule>& rules);

    // Makes the writes in one transaction that also records the change's number, so that a change
    // interrupted by a kill can later be told made (the store holds its number) or not.
    IoStatus write_change(const std::function<IoStatus(CompanionStore&)>& writes, std::uint64_t change_id);
    // The number of the last change written with write_change, 0 for none.
    IoStatus last_change(std::uint64_t& change_id) const;

  private:
    enum class Access { kRead, kWrite, kSettle };
    IoStatus open_as(const std::string& path, Access access);
    IoStatus execute(const char* sql) const;
    IoStatus migrate(int from_version);
    IoStatus move_in(const std::string& table, const RecordPlace& from, const RecordPlace& to);
    IoStatus forget_marks(const std::string& table,
                          const std::map<std::uint64_t, std::vector<std::int64_t>>& removed);

    sqlite3* db_ = nullptr;
    int version_ = kStoreSchemaVersion;  // the tables' version as opened
};

// Writes the store's bytes into the replacement, which the caller commits: a copy taken under the
// store's shared lock, so that no write of another program is half in it.
IoStatus copy_store_into(const std::string& store_path, AtomicReplace& copy);

}  // namespace quillet
