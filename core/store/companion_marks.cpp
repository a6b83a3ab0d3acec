// The companion store's cleared and reconciled marks and the statements reconciled.
#include <sqlite3.h>

#include "core/store/companion_store.h"
#include "core/store/sqlite_statement.h"

namespace quillet {

using namespace store_detail;

namespace {

IoStatus write_marks(sqlite3* db, const std::vector<StoredMark>& marks, std::int64_t statement_id) {
    Statement remove(db, "DELETE FROM marks WHERE record = ? AND place = ?");
    Statement insert(db, "INSERT INTO marks(record, place, state, statement_id) VALUES(?, ?, ?, ?)");
    if (!remove.ok()) return remove.status();
    if (!insert.ok()) return insert.status();
    for (const StoredMark& mark : marks) {
        remove.bind(1, stored(mark.record.fingerprint));
        remove.bind(2, mark.record.place);
        if (const IoStatus removed = remove.run(); !removed) return removed;
        if (mark.state == ClearState::kUncleared) continue;
        const bool reconciled = mark.state == ClearState::kReconciled;
        insert.bind(1, stored(mark.record.fingerprint));
        insert.bind(2, mark.record.place);
        insert.bind(3, static_cast<std::int64_t>(mark.state));
        insert.bind(4, reconciled ? std::optional<std::int64_t>(mark.statement_id > 0 ? mark.statement_id
                                                                                      : statement_id)
                                  : std::nullopt);
        if (const IoStatus inserted = insert.run(); !inserted) return inserted;
    }
    return {};
}

}  // namespace

IoStatus CompanionStore::read_marks(std::vector<StoredMark>& marks) const {
    marks.clear();
    if (version_ < 3) return {};
    Statement rows(db_,
                   "SELECT record, place, state, statement_id FROM marks INDEXED BY marks_by_record "
                   "WHERE place >= 0 ORDER BY record, place");
    if (!rows.ok()) return rows.status();
    while (rows.step()) {
        const std::int64_t state = rows.integer(2);
        if (state != 1 && state != 2) continue;  // no state this program knows
        marks.push_back({{fingerprint_of(rows.integer(0)), rows.integer(1)},
                         static_cast<ClearState>(state),
                         rows.integer(3)});
    }
    return rows.finished();
}

IoStatus CompanionStore::read_statements(std::vector<StoredStatement>& statements) const {
    statements.clear();
    if (version_ < 3) return {};
    Statement rows(db_,
                   "SELECT id, statement_date, opening_cents, ending_cents, finished_on, changed "
                   "FROM statements ORDER BY id");
    if (!rows.ok()) return rows.status();
    while (rows.step()) {
        statements.push_back({rows.integer(0), static_cast<DateValue>(rows.integer(1)), rows.integer(2),
                              rows.integer(3), static_cast<DateValue>(rows.integer(4)),
                              rows.integer(5) != 0});
    }
    return rows.finished();
}

IoStatus CompanionStore::set_marks(const std::vector<StoredMark>& marks) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    if (const IoStatus written = write_marks(db_, marks, 0); !written) return written;
    return transaction.commit();
}

IoStatus CompanionStore::add_statement(StoredStatement& statement, std::vector<StoredMark> marks) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement insert(db_,
                     "INSERT INTO statements(id, statement_date, opening_cents, ending_cents, finished_on, "
                     "changed) VALUES(?, ?, ?, ?, ?, ?)");
    if (!insert.ok()) return insert.status();
    insert.bind(1, statement.id > 0 ? std::optional<std::int64_t>(statement.id) : std::nullopt);
    insert.bind(2, std::int64_t{statement.date});
    insert.bind(3, statement.opening_cents);
    insert.bind(4, statement.ending_cents);
    insert.bind(5, std::int64_t{statement.finished_on});
    insert.bind(6, std::int64_t{statement.changed ? 1 : 0});
    if (const IoStatus inserted = insert.run(); !inserted) return inserted;
    const std::int64_t id = sqlite3_last_insert_rowid(db_);
    if (const IoStatus written = write_marks(db_, marks, id); !written) return written;
    if (const IoStatus committed = transaction.commit(); !committed) return committed;
    statement.id = id;
    return {};
}

IoStatus CompanionStore::remove_statement(std::int64_t id, const std::vector<StoredMark>& before) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement remove(db_, "DELETE FROM statements WHERE id = ?");
    Statement unmark(db_, "DELETE FROM marks WHERE statement_id = ?");
    if (!remove.ok()) return remove.status();
    if (!unmark.ok()) return unmark.status();
    remove.bind(1, id);
    unmark.bind(1, id);
    if (const IoStatus removed = remove.run(); !removed) return removed;
    if (const IoStatus removed = unmark.run(); !removed) return removed;
    if (const IoStatus written = write_marks(db_, before, 0); !written) return written;
    return transaction.commit();
}

IoStatus CompanionStore::set_statement_changed(std::int64_t id) {
    Statement update(db_, "UPDATE statements SET changed = 1 WHERE id = ?");
    if (!update.ok()) return update.status();
    update.bind(1, id);
    return update.run();
}

}  // namespace quillet
