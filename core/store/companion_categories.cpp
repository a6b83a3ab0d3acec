// The companion store's categories, the transactions' categories and the payee rules.
#include <sqlite3.h>

#include "core/store/companion_store.h"
#include "core/store/sqlite_statement.h"

namespace quillet {

using namespace store_detail;

namespace {

constexpr int kCategoriesVersion = 7;

}  // namespace

IoStatus CompanionStore::read_categories(std::vector<StoredCategory>& categories) const {
    categories.clear();
    if (version_ < kCategoriesVersion) return {};
    Statement rows(db_, "SELECT id, name, parent FROM categories ORDER BY id");
    if (!rows.ok()) return rows.status();
    while (rows.step())
        categories.push_back({rows.integer(0), rows.bytes(1), rows.is_null(2) ? 0 : rows.integer(2)});
    return rows.finished();
}

IoStatus CompanionStore::read_category_parts(std::vector<CategoryPart>& parts) const {
    parts.clear();
    if (version_ < kCategoriesVersion) return {};
    Statement rows(
        db_, "SELECT record, place, line, category, cents FROM category_parts ORDER BY record, place, line");
    if (!rows.ok()) return rows.status();
    while (rows.step()) {
        parts.push_back({{fingerprint_of(rows.integer(0)), rows.integer(1)},
                         rows.integer(2),
                         rows.integer(3),
                         rows.is_null(4) ? std::nullopt : std::optional<std::int64_t>(rows.integer(4))});
    }
    return rows.finished();
}

IoStatus CompanionStore::read_category_rules(std::vector<CategoryRule>& rules) const {
    rules.clear();
    if (version_ < kCategoriesVersion) return {};
    Statement rows(
        db_, "SELECT id, match, text, category, learned, deleted FROM category_rules ORDER BY position, id");
    if (!rows.ok()) return rows.status();
    while (rows.step()) {
        // A kind of match this version does not know never matches: kept as the store has it.
        const std::int64_t match = rows.integer(1);
        const bool known = match >= 0 && match <= static_cast<std::int64_t>(RuleMatch::kStartsWith);
        rules.push_back({rows.integer(0), known ? static_cast<RuleMatch>(match) : RuleMatch::kEquals,
                         rows.bytes(2), known ? rows.integer(3) : 0, rows.integer(4) != 0,
                         rows.integer(5) != 0});
    }
    return rows.finished();
}

IoStatus CompanionStore::put_category(StoredCategory& category) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement put(db_, "INSERT OR REPLACE INTO categories(id, name, parent) VALUES(?, ?, ?)");
    if (!put.ok()) return put.status();
    put.bind(1, category.id > 0 ? std::optional<std::int64_t>(category.id) : std::nullopt);
    put.bind_bytes(2, category.name);
    put.bind(3, category.parent > 0 ? std::optional<std::int64_t>(category.parent) : std::nullopt);
    if (const IoStatus written = put.run(); !written) return written;
    const std::int64_t id = category.id > 0 ? category.id : sqlite3_last_insert_rowid(db_);
    if (const IoStatus committed = transaction.commit(); !committed) return committed;
    category.id = id;
    return {};
}

IoStatus CompanionStore::remove_category(std::int64_t id) {
    Statement remove(db_, "DELETE FROM categories WHERE id = ?");
    if (!remove.ok()) return remove.status();
    remove.bind(1, id);
    return remove.run();
}

IoStatus CompanionStore::set_category_parts(const RecordPlace& record,
                                            const std::vector<CategoryPart>& parts) {
    std::vector<CategoryPart> placed = parts;
    for (CategoryPart& part : placed) part.record = record;
    return set_many_category_parts({record}, placed);
}

IoStatus CompanionStore::set_many_category_parts(const std::vector<RecordPlace>& records,
                                                 const std::vector<CategoryPart>& parts) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement remove(db_, "DELETE FROM category_parts WHERE record = ? AND place = ?");
    Statement put(db_,
                  "INSERT INTO category_parts(record, place, line, category, cents) VALUES(?, ?, ?, ?, ?)");
    for (const Statement* statement : {&remove, &put}) {
        if (!statement->ok()) return statement->status();
    }
    for (const RecordPlace& record : records) {
        remove.bind(1, stored(record.fingerprint));
        remove.bind(2, record.place);
        if (const IoStatus removed = remove.run(); !removed) return removed;
    }
    for (const CategoryPart& part : parts) {
        put.bind(1, stored(part.record.fingerprint));
        put.bind(2, part.record.place);
        put.bind(3, part.line);
        put.bind(4, part.category);
        put.bind(5, part.cents);
        if (const IoStatus written = put.run(); !written) return written;
    }
    return transaction.commit();
}

IoStatus CompanionStore::set_categories(const std::vector<StoredCategory>& categories) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    if (const IoStatus cleared = execute("DELETE FROM categories"); !cleared) return cleared;
    Statement put(db_, "INSERT INTO categories(id, name, parent) VALUES(?, ?, ?)");
    if (!put.ok()) return put.status();
    for (const StoredCategory& category : categories) {
        put.bind(1, category.id);
        put.bind_bytes(2, category.name);
        put.bind(3, category.parent > 0 ? std::optional<std::int64_t>(category.parent) : std::nullopt);
        if (const IoStatus written = put.run(); !written) return written;
    }
    return transaction.commit();
}

IoStatus CompanionStore::set_category_rules(std::vector<CategoryRule>& rules) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    if (const IoStatus cleared = execute("DELETE FROM category_rules"); !cleared) return cleared;
    Statement put(db_,
                  "INSERT INTO category_rules(id, position, match, text, category, learned, deleted) "
                  "VALUES(?, ?, ?, ?, ?, ?, ?)");
    if (!put.ok()) return put.status();
    std::vector<std::int64_t> ids;
    for (std::size_t at = 0; at < rules.size(); ++at) {
        const CategoryRule& rule = rules[at];
        put.bind(1, rule.id > 0 ? std::optional<std::int64_t>(rule.id) : std::nullopt);
        put.bind(2, static_cast<std::int64_t>(at));
        put.bind(3, static_cast<std::int64_t>(rule.match));
        put.bind_bytes(4, rule.text);
        put.bind(5, rule.category);
        put.bind(6, std::int64_t{rule.learned ? 1 : 0});
        put.bind(7, std::int64_t{rule.deleted ? 1 : 0});
        if (const IoStatus written = put.run(); !written) return written;
        ids.push_back(rule.id > 0 ? rule.id : sqlite3_last_insert_rowid(db_));
    }
    if (const IoStatus committed = transaction.commit(); !committed) return committed;
    for (std::size_t at = 0; at < rules.size(); ++at) rules[at].id = ids[at];
    return {};
}

}  // namespace quillet
