#include "core/store/companion_store.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/store/sqlite_statement.h"

namespace quillet {

using namespace store_detail;

namespace {

// "QLST": tells a store of this program from any other SQLite database.
constexpr int kApplicationId = 0x514C5354;
// Another program holding the store is waited for this long, never longer: the store never holds
// the register up.
constexpr int kBusyMilliseconds = 250;

// The tables of the first version. Later versions add their steps to kMigrations; a store is
// brought from its version to this program's one step at a time.
constexpr const char* kFirstVersion = R"(
CREATE TABLE imports(
    id INTEGER PRIMARY KEY,
    file_name TEXT NOT NULL,
    fingerprint TEXT NOT NULL,
    format TEXT NOT NULL,
    imported_on INTEGER NOT NULL,
    added INTEGER NOT NULL,
    closing_cents INTEGER,
    closing_date INTEGER);
CREATE INDEX imports_by_fingerprint ON imports(fingerprint);
CREATE TABLE links(
    identity TEXT PRIMARY KEY,
    record INTEGER NOT NULL,
    place INTEGER NOT NULL,
    import_id INTEGER NOT NULL REFERENCES imports(id)) WITHOUT ROWID;
CREATE INDEX links_by_record ON links(record, place, import_id);
CREATE INDEX links_by_import ON links(import_id);
)";
// kMigrations[n] brings a store of version n + 1 to version n + 2.
constexpr const char* kMigrations[] = {
    // 2: the account and the currency of each imported statement.
    "ALTER TABLE imports ADD COLUMN account TEXT; ALTER TABLE imports ADD COLUMN currency TEXT;",
    // 3: cleared and reconciled marks, and the statements reconciled. Marks are named by place as
    // links are; places shift one by one while records move, so they are no key.
    R"(
CREATE TABLE marks(
    record INTEGER NOT NULL,
    place INTEGER NOT NULL,
    state INTEGER NOT NULL,
    statement_id INTEGER);
CREATE INDEX marks_by_record ON marks(record, place, state, statement_id);
CREATE TABLE statements(
    id INTEGER PRIMARY KEY,
    statement_date INTEGER NOT NULL,
    opening_cents INTEGER NOT NULL,
    ending_cents INTEGER NOT NULL,
    finished_on INTEGER NOT NULL,
    changed INTEGER NOT NULL DEFAULT 0);
)",
    // 4: the number of the last change written, which tells an interrupted change made or not.
    "CREATE TABLE last_change(id INTEGER NOT NULL);",
    // 5: the balance each imported statement starts from, when it says, and its first day: what
    // the first reconcile opens from.
    R"(
ALTER TABLE imports ADD COLUMN opening_cents INTEGER;
ALTER TABLE imports ADD COLUMN first_date INTEGER;
)",
    // 6: scheduled transactions and what became of their occurrences.
    R"(
CREATE TABLE schedules(
    id INTEGER PRIMARY KEY,
    type BLOB NOT NULL,
    number BLOB NOT NULL,
    payee BLOB NOT NULL,
    memo BLOB NOT NULL,
    cents INTEGER NOT NULL,
    deposit INTEGER NOT NULL,
    second_date_days INTEGER NOT NULL,
    first_day INTEGER NOT NULL,
    repeat INTEGER NOT NULL,
    every INTEGER NOT NULL,
    day INTEGER NOT NULL,
    until_day INTEGER,
    occurrences INTEGER NOT NULL,
    weekend INTEGER NOT NULL,
    enters_itself INTEGER NOT NULL,
    amount_varies INTEGER NOT NULL);
CREATE TABLE occurrences(
    schedule_id INTEGER NOT NULL,
    occurrence INTEGER NOT NULL,
    state INTEGER NOT NULL,
    day INTEGER,
    record INTEGER,
    PRIMARY KEY(schedule_id, occurrence));
)",
    // 7: categories, each transaction's (or each part's of a split one) named by place as links and
    // marks are, and the payee rules in their order.
    R"(
CREATE TABLE categories(
    id INTEGER PRIMARY KEY,
    name BLOB NOT NULL,
    parent INTEGER);
CREATE TABLE category_parts(
    record INTEGER NOT NULL,
    place INTEGER NOT NULL,
    line INTEGER NOT NULL,
    category INTEGER NOT NULL,
    cents INTEGER,
    PRIMARY KEY(record, place, line));
CREATE INDEX category_parts_by_category ON category_parts(category);
CREATE TABLE category_rules(
    id INTEGER PRIMARY KEY,
    position INTEGER NOT NULL,
    match INTEGER NOT NULL,
    text BLOB NOT NULL,
    category INTEGER NOT NULL,
    learned INTEGER NOT NULL,
    deleted INTEGER NOT NULL);
)",
    // 8: a transaction's category lines keyed by no unique place: places shift one by one while
    // records move (as marks do), and a shift up met the next twin's row. Their index holds every
    // column, so that a million of them are read in order without a lookup each.
    R"(
CREATE TABLE category_parts_8(
    record INTEGER NOT NULL,
    place INTEGER NOT NULL,
    line INTEGER NOT NULL,
    category INTEGER NOT NULL,
    cents INTEGER);
INSERT INTO category_parts_8 SELECT record, place, line, category, cents FROM category_parts;
DROP TABLE category_parts;
ALTER TABLE category_parts_8 RENAME TO category_parts;
CREATE INDEX category_parts_by_record ON category_parts(record, place, line, category, cents);
CREATE INDEX category_parts_by_category ON category_parts(category);
)",
    // 9: the list's filters saved under a name, each as its terms' line.
    "CREATE TABLE saved_filters(name BLOB PRIMARY KEY, terms BLOB NOT NULL);",
};
static_assert(std::size(kMigrations) == kStoreSchemaVersion - 1, "a step for every version after the first");

// Where a record's place is after compaction removed the (sorted) places of its fingerprint: up by
// the removed ones before it, or kGonePlace when it was removed itself.
std::int64_t place_after_removal(std::int64_t place, const std::vector<std::int64_t>& removed) {
    const auto before = std::lower_bound(removed.begin(), removed.end(), place);
    if (before != removed.end() && *before == place) return kGonePlace;
    return place - (before - removed.begin());
}

StoredImport import_of(const Statement& row) {
    StoredImport entry;
    entry.id = row.integer(0);
    entry.file_name = row.text(1);
    entry.fingerprint = row.text(2);
    entry.format = row.text(3);
    entry.imported_on = static_cast<DateValue>(row.integer(4));
    entry.added = row.integer(5);
    if (!row.is_null(6)) entry.closing_cents = row.integer(6);
    if (!row.is_null(7)) entry.closing_date = static_cast<DateValue>(row.integer(7));
    entry.account = row.text(8);
    entry.currency = row.text(9);
    if (!row.is_null(10)) entry.opening_cents = row.integer(10);
    if (!row.is_null(11)) entry.first_date = static_cast<DateValue>(row.integer(11));
    return entry;
}

// An older store read without being written lacks the later columns: they read as none.
std::string import_query(int version, const char* rest) {
    return std::string(
               "SELECT id, file_name, fingerprint, format, imported_on, added, closing_cents, "
               "closing_date, ") +
           (version >= 2 ? "account, currency, " : "NULL, NULL, ") +
           (version >= 5 ? "opening_cents, first_date" : "NULL, NULL") + " FROM imports " + rest;
}

}  // namespace

std::string store_path_of(const std::string& register_path) {
    std::string file;
    if (!link_target(register_path, file)) file = register_path;
    return file + std::string(kStoreSuffix);
}

CompanionStore::~CompanionStore() { close(); }

void CompanionStore::close() {
    if (db_ != nullptr) sqlite3_close_v2(db_);
    db_ = nullptr;
}

IoStatus CompanionStore::execute(const char* sql) const {
    return cause_of(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), db_);
}

IoStatus CompanionStore::open(const std::string& path, bool for_writing) {
    return open_as(path, for_writing ? Access::kWrite : Access::kRead);
}

IoStatus CompanionStore::open_to_settle(const std::string& path) { return open_as(path, Access::kSettle); }

IoStatus CompanionStore::open_as(const std::string& path, Access access) {
    close();
    const bool for_writing = access == Access::kWrite;
    // Opened where a link leads (SQLite's journal goes beside the file itself); a link that leads
    // nowhere is said as such, never taken for a missing store nor made anew.
    std::string file;
    struct stat named {};
    if (::lstat(path.c_str(), &named) == 0 && S_ISLNK(named.st_mode) &&
        (!link_target(path, file) || file_size(file) == -1))
        return IoStatus::failure(ENOLINK);
    if (!link_target(path, file)) file = path;
    if (!for_writing && file_size(file) < 0) return IoStatus::failure(ENOENT);
    // Settling may roll back a hot journal SQLite finds, which reading alone could not.
    const int mode = for_writing                 ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                     : access == Access::kSettle ? SQLITE_OPEN_READWRITE
                                                 : SQLITE_OPEN_READONLY;
    if (file_size(file) == -2) return IoStatus::failure(EISDIR);
    if (file_size(file) >= 0 && !is_regular_file(file)) return IoStatus::failure(ENXIO);
    const int code = sqlite3_open_v2(file.c_str(), &db_, mode | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        const IoStatus cause = cause_of(code, db_);
        close();
        return cause;
    }
    sqlite3_busy_timeout(db_, kBusyMilliseconds);
    sqlite3_extended_result_codes(db_, 1);
    // Room for 64 MB of pages: 100,000 links added to a store of a million walk three indexes at
    // random, and with SQLite's 2 MB they took twice as long, reading pages again and again.
    sqlite3_exec(db_, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    Statement versions(db_,
                       "SELECT (SELECT application_id FROM pragma_application_id), "
                       "(SELECT user_version FROM pragma_user_version), "
                       "(SELECT count(*) FROM sqlite_schema)");
    if (!versions.ok() || !versions.step()) {
        const IoStatus cause = versions.status();
        const bool half_written = versions.code() == SQLITE_READONLY_ROLLBACK;
        close();
        // A write of another program was killed half way: SQLite takes it back, which a reader may
        // not, so the store is opened to be settled (nothing else is written).
        if (half_written && access == Access::kRead) return open_as(path, Access::kSettle);
        return cause;
    }
    const std::int64_t application = versions.integer(0);
    const std::int64_t version = versions.integer(1);
    const std::int64_t tables = versions.integer(2);
    versions.reset();
    IoStatus status;
    if (application == 0 && version == 0 && tables == 0) {
        // An empty database: made now, or a store whose making never finished.
        status = for_writing ? migrate(0) : IoStatus::failure(ENOENT);
    } else if (application != kApplicationId) {
        status = IoStatus::failure(EBADMSG);
    } else if (version > kStoreSchemaVersion) {
        status = IoStatus::failure(EPROTO);
    } else if (version < kStoreSchemaVersion && for_writing) {
        status = migrate(static_cast<int>(version));
    }
    version_ = for_writing ? kStoreSchemaVersion : static_cast<int>(version);
    if (!status) close();
    return status;
}

IoStatus CompanionStore::migrate(int from_version) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    if (from_version == 0) {
        if (const IoStatus made = execute(kFirstVersion); !made) return made;
        from_version = 1;
    }
    for (int version = from_version; version < kStoreSchemaVersion; ++version) {
        if (const IoStatus step = execute(kMigrations[version - 1]); !step) return step;
    }
    const std::string stamp = "PRAGMA application_id = " + std::to_string(kApplicationId) +
                              "; PRAGMA user_version = " + std::to_string(kStoreSchemaVersion);
    if (const IoStatus stamped = execute(stamp.c_str()); !stamped) return stamped;
    return transaction.commit();
}

IoStatus CompanionStore::read_links(std::vector<LinkedPlace>& links) const {
    links.clear();
    // The index holds all three, in the order the register's slots are matched in.
    Statement rows(db_,
                   "SELECT record, place, import_id FROM links INDEXED BY links_by_record WHERE place >= 0 "
                   "ORDER BY record, place");
    if (!rows.ok()) return rows.status();
    while (rows.step())
        links.push_back({{fingerprint_of(rows.integer(0)), rows.integer(1)}, rows.integer(2)});
    return rows.finished();
}

IoStatus CompanionStore::find_identities(const std::vector<std::string>& identities,
                                         std::vector<std::optional<FoundIdentity>>& found) const {
    found.assign(identities.size(), std::nullopt);
    // One read transaction for them all: SQLite then takes its lock and checks its cache once,
    // not at every look-up.
    if (const IoStatus begun = execute("BEGIN"); !begun) return begun;
    struct Ender {
        const CompanionStore* store;
        ~Ender() { (void)store->execute("COMMIT"); }
    } ender{this};
    // The imports' days first (a register has few imports), then one look-up an identity.
    std::vector<StoredImport> imports;
    if (const IoStatus read = read_imports(imports); !read) return read;
    std::map<std::int64_t, DateValue> days;
    for (const StoredImport& entry : imports) days[entry.id] = entry.imported_on;
    Statement query(db_, "SELECT record, place, import_id FROM links WHERE identity = ?");
    if (!query.ok()) return query.status();
    for (std::size_t at = 0; at < identities.size(); ++at) {
        query.bind(1, identities[at]);
        if (query.step()) {
            const auto day = days.find(query.integer(2));
            found[at] = FoundIdentity{{fingerprint_of(query.integer(0)), query.integer(1)},
                                      day == days.end() ? kNoDate : day->second};
        } else if (const IoStatus failed = query.finished(); !failed) {
            return failed;
        }
        query.reset();
    }
    return {};
}

IoStatus CompanionStore::find_links(const std::vector<RecordPlace>& places,
                                    std::vector<std::optional<StoredLink>>& found) const {
    found.assign(places.size(), std::nullopt);
    if (places.empty()) return {};
    if (const IoStatus begun = execute("BEGIN"); !begun) return begun;
    struct Ender {
        const CompanionStore* store;
        ~Ender() { (void)store->execute("COMMIT"); }
    } ender{this};
    Statement query(db_, "SELECT identity, import_id FROM links WHERE record = ? AND place = ?");
    if (!query.ok()) return query.status();
    for (std::size_t at = 0; at < places.size(); ++at) {
        query.bind(1, stored(places[at].fingerprint));
        query.bind(2, places[at].place);
        if (query.step()) {
            found[at] = StoredLink{query.text(0), places[at], query.integer(1)};
        } else if (const IoStatus failed = query.finished(); !failed) {
            return failed;
        }
        query.reset();
    }
    return {};
}

IoStatus CompanionStore::read_imports(std::vector<StoredImport>& imports) const {
    imports.clear();
    Statement rows(db_, import_query(version_, "ORDER BY id").c_str());
    if (!rows.ok()) return rows.status();
    while (rows.step()) imports.push_back(import_of(rows));
    return rows.finished();
}

IoStatus CompanionStore::add_import(StoredImport& entry, const std::vector<StoredLink>& links) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement insert(
        db_,
        "INSERT INTO imports(id, file_name, fingerprint, format, imported_on, added, closing_cents, "
        "closing_date, account, currency, opening_cents, first_date) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?)");
    if (!insert.ok()) return insert.status();
    if (entry.id > 0) {
        insert.bind(1, entry.id);
    } else {
        insert.bind(1, std::optional<std::int64_t>());
    }
    insert.bind(2, entry.file_name);
    insert.bind(3, entry.fingerprint);
    insert.bind(4, entry.format);
    insert.bind(5, std::int64_t{entry.imported_on});
    insert.bind(6, entry.added);
    insert.bind(7, entry.closing_cents);
    insert.bind(8, entry.closing_date ? std::optional<std::int64_t>(*entry.closing_date) : std::nullopt);
    insert.bind(9, entry.account);
    insert.bind(10, entry.currency);
    insert.bind(11, entry.opening_cents);
    insert.bind(12, entry.first_date ? std::optional<std::int64_t>(*entry.first_date) : std::nullopt);
    if (const IoStatus inserted = insert.run(); !inserted) return inserted;
    const std::int64_t id = sqlite3_last_insert_rowid(db_);
    // An identity imported before and gone from the register since is imported anew.
    Statement link(db_,
                   "INSERT OR REPLACE INTO links(identity, record, place, import_id) VALUES(?, ?, ?, ?)");
    if (!link.ok()) return link.status();
    for (const StoredLink& each : links) {
        link.bind(1, each.identity);
        link.bind(2, stored(each.record.fingerprint));
        link.bind(3, each.record.place);
        link.bind(4, id);
        if (const IoStatus linked = link.run(); !linked) return linked;
    }
    if (const IoStatus committed = transaction.commit(); !committed) return committed;
    entry.id = id;
    return {};
}

IoStatus CompanionStore::remove_import(std::int64_t id) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement links(db_, "DELETE FROM links WHERE import_id = ?");
    Statement entry(db_, "DELETE FROM imports WHERE id = ?");
    if (!links.ok()) return links.status();
    if (!entry.ok()) return entry.status();
    links.bind(1, id);
    entry.bind(1, id);
    if (const IoStatus removed = links.run(); !removed) return removed;
    if (const IoStatus removed = entry.run(); !removed) return removed;
    return transaction.commit();
}

IoStatus CompanionStore::move_record(const RecordPlace& from, const RecordPlace& to) {
    if (from == to) return {};
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    // Links, marks and categories name records alike: all follow.
    for (const std::string table : {"links", "marks", "category_parts"}) {
        if ((table == "marks" && version_ < 3) || (table == "category_parts" && version_ < 7)) break;
        if (const IoStatus moved = move_in(table, from, to); !moved) return moved;
    }
    return transaction.commit();
}

IoStatus CompanionStore::move_in(const std::string& table, const RecordPlace& from, const RecordPlace& to) {
    // The moving row is parked at a place no record has while the others shift.
    constexpr std::int64_t kParked = -2;
    Statement park(db_, ("UPDATE " + table + " SET place = ? WHERE record = ? AND place = ?").c_str());
    Statement shift(db_,
                    ("UPDATE " + table + " SET place = place + ? WHERE record = ? AND place >= ?").c_str());
    Statement land(db_,
                   ("UPDATE " + table + " SET record = ?, place = ? WHERE record = ? AND place = ?").c_str());
    for (const Statement* statement : {&park, &shift, &land}) {
        if (!statement->ok()) return statement->status();
    }
    park.bind(1, kParked);
    park.bind(2, stored(from.fingerprint));
    park.bind(3, from.place);
    if (const IoStatus parked = park.run(); !parked) return parked;
    // The record left its fingerprint's places: the later ones close up...
    shift.bind(1, std::int64_t{-1});
    shift.bind(2, stored(from.fingerprint));
    shift.bind(3, from.place + 1);
    if (const IoStatus shifted = shift.run(); !shifted) return shifted;
    // ...and took one among the other's: the later ones make room.
    shift.bind(1, std::int64_t{1});
    shift.bind(2, stored(to.fingerprint));
    shift.bind(3, to.place);
    if (const IoStatus shifted = shift.run(); !shifted) return shifted;
    land.bind(1, stored(to.fingerprint));
    land.bind(2, to.place);
    land.bind(3, stored(from.fingerprint));
    land.bind(4, kParked);
    return land.run();
}

IoStatus CompanionStore::forget_places(std::vector<RecordPlace> removed) {
    if (removed.empty()) return {};
    std::map<std::uint64_t, std::vector<std::int64_t>> by_fingerprint;
    for (const RecordPlace& place : removed) by_fingerprint[place.fingerprint].push_back(place.place);
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement rows(db_, "SELECT identity, place FROM links WHERE record = ? AND place >= 0");
    Statement update(db_, "UPDATE links SET place = ? WHERE identity = ?");
    if (!rows.ok()) return rows.status();
    if (!update.ok()) return update.status();
    for (auto& [fingerprint, places] : by_fingerprint) {
        std::sort(places.begin(), places.end());
        rows.bind(1, stored(fingerprint));
        std::vector<std::pair<std::string, std::int64_t>> moves;
        while (rows.step()) {
            const std::int64_t place = rows.integer(1);
            const std::int64_t now = place_after_removal(place, places);
            if (now != place) moves.emplace_back(rows.text(0), now);
        }
        if (const IoStatus read = rows.finished(); !read) return read;
        rows.reset();
        for (const auto& [identity, place] : moves) {
            update.bind(1, place);
            update.bind(2, identity);
            if (const IoStatus moved = update.run(); !moved) return moved;
        }
    }
    if (version_ >= 3) {
        if (const IoStatus forgotten = forget_marks("marks", by_fingerprint); !forgotten) return forgotten;
    }
    if (version_ >= 7) {
        if (const IoStatus forgotten = forget_marks("category_parts", by_fingerprint); !forgotten)
            return forgotten;
    }
    return transaction.commit();
}

IoStatus CompanionStore::forget_marks(const std::string& table,
                                      const std::map<std::uint64_t, std::vector<std::int64_t>>& removed) {
    // A mark (or a category) of a record gone for good goes with it: it could only mislead another
    // transaction.
    Statement rows(db_, ("SELECT rowid, place FROM " + table + " WHERE record = ?").c_str());
    Statement update(db_, ("UPDATE " + table + " SET place = ? WHERE rowid = ?").c_str());
    Statement remove(db_, ("DELETE FROM " + table + " WHERE rowid = ?").c_str());
    for (const Statement* statement : {&rows, &update, &remove}) {
        if (!statement->ok()) return statement->status();
    }
    for (const auto& [fingerprint, places] : removed) {
        rows.bind(1, stored(fingerprint));
        std::vector<std::pair<std::int64_t, std::int64_t>> moves;  // rowid, new place or kGonePlace
        while (rows.step()) {
            const std::int64_t place = rows.integer(1);
            const std::int64_t now = place_after_removal(place, places);
            if (now != place) moves.emplace_back(rows.integer(0), now);
        }
        if (const IoStatus read = rows.finished(); !read) return read;
        rows.reset();
        for (const auto& [rowid, place] : moves) {
            Statement& statement = place == kGonePlace ? remove : update;
            if (place == kGonePlace) {
                remove.bind(1, rowid);
            } else {
                update.bind(1, place);
                update.bind(2, rowid);
            }
            if (const IoStatus moved = statement.run(); !moved) return moved;
        }
    }
    return {};
}

IoStatus CompanionStore::write_change(const std::function<IoStatus(CompanionStore&)>& writes,
                                      std::uint64_t change_id) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    if (const IoStatus written = writes(*this); !written) return written;
    if (const IoStatus cleared = execute("DELETE FROM last_change"); !cleared) return cleared;
    Statement note(db_, "INSERT INTO last_change(id) VALUES(?)");
    if (!note.ok()) return note.status();
    note.bind(1, stored(change_id));
    if (const IoStatus noted = note.run(); !noted) return noted;
    return transaction.commit();
}

IoStatus CompanionStore::last_change(std::uint64_t& change_id) const {
    change_id = 0;
    if (version_ < 4) return {};
    Statement row(db_, "SELECT id FROM last_change");
    if (!row.ok()) return row.status();
    if (row.step()) change_id = fingerprint_of(row.integer(0));
    return row.finished();
}

IoStatus copy_store_into(const std::string& store_path, AtomicReplace& copy) {
    // Read under the store's shared lock, so that no write is half in the copy.
    sqlite3* db = nullptr;
    int code = sqlite3_open_v2(store_path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyMilliseconds);
        code = sqlite3_exec(db, "BEGIN; SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    }
    IoStatus status = cause_of(code, db);
    if (status) status = copy_into(store_path, copy);
    sqlite3_close_v2(db);
    return status;
}

}  // namespace quillet
