// The list's saved filters: a name and the terms' line each (core/filter reads the line).
#include <sqlite3.h>

#include "core/store/companion_store.h"
#include "core/store/sqlite_statement.h"

namespace quillet {

using namespace store_detail;

namespace {

constexpr int kSavedFiltersVersion = 9;

}  // namespace

IoStatus CompanionStore::read_saved_filters(std::vector<std::pair<std::string, std::string>>& filters) const {
    filters.clear();
    if (version_ < kSavedFiltersVersion) return {};
    Statement rows(db_, "SELECT name, terms FROM saved_filters ORDER BY name");
    if (!rows.ok()) return rows.status();
    while (rows.step()) filters.emplace_back(rows.bytes(0), rows.bytes(1));
    return rows.finished();
}

IoStatus CompanionStore::put_saved_filter(const std::string& name, const std::string& terms) {
    Statement put(db_, "INSERT OR REPLACE INTO saved_filters(name, terms) VALUES (?, ?)");
    if (!put.ok()) return put.status();
    put.bind_bytes(1, name);
    put.bind_bytes(2, terms);
    return put.run();
}

IoStatus CompanionStore::remove_saved_filter(const std::string& name) {
    Statement remove(db_, "DELETE FROM saved_filters WHERE name = ?");
    if (!remove.ok()) return remove.status();
    remove.bind_bytes(1, name);
    return remove.run();
}

}  // namespace quillet
