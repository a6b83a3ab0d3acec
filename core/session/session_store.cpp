// The register session's reading of the companion store: the links that tell which records an
// import made, the cleared and reconciled marks, the statements, and the identities an import
// looks up. Only the session reads the store; what changes it is a change value's store part.
#include <thread>

#include "core/session/register_session.h"

namespace quillet {

void adopt_store_beside_link(const std::string& register_path) {
    const std::string beside_link = register_path + std::string(kStoreSuffix);
    const std::string beside_file = store_path_of(register_path);
    if (beside_link == beside_file || names_anything(beside_file) || !names_anything(beside_link) ||
        is_symbolic_link(beside_link))
        return;
    (void)rename_file(beside_link, beside_file);
}

void RegisterSession::read_store() {
    if (!is_open()) return;
    // The store names records by their places.
    make_places();
    state_.categories.clear();
    CompanionStore store;
    const IoStatus opened = store.open(store_path(), false);
    if (opened.error() == ENOENT) {
        state_.store_state = StoreState::kNone;
        return;
    }
    // The slots are ordered by fingerprint on another core while the store is read.
    RecordPlaces::PrintedSlots slots;
    std::thread sorting([&] { slots = state_.places.slots_by_fingerprint(); });
    std::vector<LinkedPlace> links;
    std::vector<StoredMark> marks;
    CategoryLists lists;
    std::vector<CategoryPart> parts;
    IoStatus read = opened ? store.read_links(links) : opened;
    if (read) read = store.read_marks(marks);
    if (read) read = store.read_statements(state_.statements);
    if (read) read = store.read_categories(lists.categories);
    if (read) read = store.read_category_rules(lists.rules);
    if (read) read = store.read_category_parts(parts);
    sorting.join();
    if (read) {
        state_.places.mark_links(links, slots);
        state_.places.mark_states(marks, slots);
        read_category_lines(std::move(lists), parts, slots);
        state_.store_state = StoreState::kRead;
        state_.store_problem = {};
    } else if (read.error() == ENOENT) {
        state_.store_state = StoreState::kNone;
    } else {
        state_.store_state = StoreState::kUnusable;
        state_.store_problem = read;
    }
}

void RegisterSession::read_category_lines(CategoryLists lists, const std::vector<CategoryPart>& parts,
                                          const RecordPlaces::PrintedSlots& slots) {
    CategoryBook& book = state_.categories;
    book.clear();
    book.set_lists(std::move(lists));
    // A record's lines come together, in order: one place each for the walk.
    std::vector<RecordPlace> records;
    for (const CategoryPart& part : parts) {
        if (records.empty() || !(records.back() == part.record)) records.push_back(part.record);
    }
    const std::vector<std::int64_t> found = state_.places.slots_of_sorted(records, slots);
    if (!records.empty()) book.reserve(state_.places.slot_count());
    std::size_t at = 0;
    for (std::size_t record = 0; record < records.size(); ++record) {
        const std::size_t first = at;
        while (at < parts.size() && parts[at].record == records[record]) ++at;
        if (found[record] < 0) continue;
        if (at - first == 1 && !parts[first].cents) {
            book.set_category(found[record], parts[first].category);
            continue;
        }
        CategoryLines lines;
        for (std::size_t part = first; part < at; ++part)
            lines.push_back({parts[part].category, parts[part].cents});
        book.set_lines(found[record], lines);
    }
}

const CategoryBook& RegisterSession::categories() {
    ensure_store_read();
    return state_.categories;
}

void RegisterSession::ensure_store_read() {
    if (state_.store_state == StoreState::kUnread) read_store();
}

const RecordPlaces& RegisterSession::places() {
    make_places();
    ensure_store_read();
    return state_.places;
}

IoStatus RegisterSession::look_up_imports(const std::vector<std::string>& identities,
                                          std::vector<std::optional<FoundIdentity>>& found,
                                          std::vector<StoredImport>& imports) {
    found.assign(identities.size(), std::nullopt);
    imports.clear();
    ensure_store_read();
    CompanionStore store;
    IoStatus status = store.open(store_path(), false);
    if (status.error() == ENOENT) return {};
    if (status) status = store.find_identities(identities, found);
    if (status) status = store.read_imports(imports);
    return status;
}

IoStatus RegisterSession::look_up_links(const std::vector<RecordPlace>& places,
                                        std::vector<std::optional<StoredLink>>& found) {
    found.assign(places.size(), std::nullopt);
    if (places.empty()) return {};
    CompanionStore store;
    IoStatus status = store.open(store_path(), false);
    if (status.error() == ENOENT) return {};
    if (status) status = store.find_links(places, found);
    return status;
}

IoStatus RegisterSession::look_up_schedules(std::vector<Schedule>& schedules,
                                            std::vector<UsedOccurrence>& used) {
    schedules.clear();
    used.clear();
    CompanionStore store;
    IoStatus status = store.open(store_path(), false);
    if (status.error() == ENOENT) return {};
    if (status) status = store.read_schedules(schedules);
    if (status) status = store.read_occurrences(used);
    return status;
}

IoStatus RegisterSession::look_up_saved_filters(std::vector<std::pair<std::string, std::string>>& filters) {
    filters.clear();
    CompanionStore store;
    IoStatus status = store.open(store_path(), false);
    if (status.error() == ENOENT) return {};
    if (status) status = store.read_saved_filters(filters);
    return status;
}

}  // namespace quillet
