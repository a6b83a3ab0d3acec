// The register session's part in the companion store: reading its links, imports, and keeping the
// links in step with every change the session makes. The register is always written first and the
// store after; when the store cannot follow, the register's change is taken back.
#include <algorithm>
#include <thread>

#include "core/register/record_fingerprint.h"
#include "core/register/register_session.h"
#include "core/register/row_text.h"

namespace quillet {

using namespace record_format;

SessionResult SessionResult::of_store(const IoStatus& status) {
    SessionResult result = of(status);
    result.in_store_ = !status.ok();
    return result;
}

std::string RegisterSession::store_path() const { return store_path_of(path_); }

void RegisterSession::read_store() {
    if (!is_open()) return;
    CompanionStore store;
    const IoStatus opened = store.open(store_path(), false);
    if (opened.error() == ENOENT) {
        store_state_ = StoreState::kNone;
        return;
    }
    // The slots are ordered by fingerprint on another core while the store is read.
    RecordPlaces::PrintedSlots slots;
    std::thread sorting([&] { slots = places_.slots_by_fingerprint(); });
    std::vector<LinkedPlace> links;
    IoStatus read = opened ? store.read_links(links) : opened;
    sorting.join();
    if (read) {
        places_.mark_links(links, slots);
        read = read_marks(store, slots);
    }
    if (read) {
        store_state_ = StoreState::kRead;
    } else if (read.error() == ENOENT) {
        store_state_ = StoreState::kNone;
    } else {
        store_state_ = StoreState::kUnusable;
        store_problem_ = read;
    }
}

IoStatus RegisterSession::look_up_imports(const std::vector<std::string>& identities,
                                          std::vector<std::optional<FoundIdentity>>& found,
                                          std::vector<StoredImport>& imports) {
    found.assign(identities.size(), std::nullopt);
    imports.clear();
    if (store_state_ == StoreState::kUnread) read_store();
    CompanionStore store;
    IoStatus status = store.open(store_path(), false);
    if (status.error() == ENOENT) return {};
    if (status) status = store.find_identities(identities, found);
    if (status) status = store.read_imports(imports);
    return status;
}

IoStatus RegisterSession::open_store_for_writing(CompanionStore& store) const {
    if (is_read_only(path_)) return read_only_cause(path_);
    return store.open(store_path(), true);
}

IoStatus RegisterSession::change_store(const std::function<IoStatus(CompanionStore&)>& change) const {
    const bool store_was_missing = file_size(store_path()) < 0;
    CompanionStore store;
    IoStatus changed = open_store_for_writing(store);
    if (changed) changed = change(store);
    if (!changed) {
        store.close();
        if (store_was_missing) (void)delete_file(store_path());
    }
    return changed;
}

SessionResult RegisterSession::import(ImportBatch batch, RowChange& change) {
    change = {};
    if (batch.records.empty() || batch.records.size() != batch.identities.size())
        return SessionResult::of(IoStatus::failure(EINVAL));
    // A store that could not be read may have been held by another program: it is tried again, for
    // an import must know what was imported before.
    if (store_state_ == StoreState::kUnread || store_state_ == StoreState::kUnusable) read_store();
    if (store_state_ == StoreState::kUnusable) return SessionResult::of_store(store_problem_);
    // The store must be able to take the import before the register is written. One made for it
    // goes again when the import fails: both files are left as they were.
    const bool store_was_missing = file_size(store_path()) < 0;
    CompanionStore store;
    const auto forget_new_store = [&] {
        store.close();
        if (store_was_missing) (void)delete_file(store_path());
    };
    if (const IoStatus opened = open_store_for_writing(store); !opened) {
        forget_new_store();
        return SessionResult::of_store(opened);
    }
    std::string bytes;
    bytes.reserve(batch.records.size() * kRecordSize);
    std::vector<std::uint64_t> fingerprints;
    fingerprints.reserve(batch.records.size());
    for (const TransactionRecord& record : batch.records) {
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        fingerprints.push_back(record_fingerprint(encoded.data()));
    }
    WriteCheck check = listed_check();
    std::int64_t first = 0;
    if (const IoStatus written = append_records(path_, bytes, first, &check); !written) {
        if (check.after.exists) note_written(check);
        forget_new_store();
        return SessionResult::of(written);
    }
    // The records as the file holds them, numbered.
    for (std::size_t at = 0; at < batch.records.size(); ++at) {
        put_i32(reinterpret_cast<std::uint8_t*>(bytes.data()) + at * kRecordSize + kRecordNumberOffset,
                static_cast<std::int32_t>(first + static_cast<std::int64_t>(at)));
    }
    auto note = std::make_shared<ImportNote>();
    note->entry = std::move(batch.entry);
    note->entry.added = static_cast<std::int64_t>(batch.records.size());
    const std::vector<RecordPlace> places = places_.places_after_end(fingerprints);
    note->links.reserve(places.size());
    for (std::size_t at = 0; at < places.size(); ++at)
        note->links.push_back({batch.identities[at], places[at], 0});
    if (const IoStatus stored = store.add_import(note->entry, note->links); !stored) {
        // Both as they were: the records go again.
        WriteCheck back;
        back.listed = check.after;
        // Cut again under the lock; should even that fail, the next change finds the file other
        // than listed and has it read again.
        if (remove_appended_records(path_, first, bytes, &back)) note_written(back);
        forget_new_store();
        return SessionResult::of_store(stored);
    }
    for (StoredLink& link : note->links) link.import_id = note->entry.id;
    note_written(check);
    if (store_state_ != StoreState::kUnusable) store_state_ = StoreState::kRead;
    RegisterChange step;
    step.kind = ChangeKind::kImport;
    step.slot = first;
    std::copy_n(bytes.begin(), kRecordSize, step.after.begin());
    step.records = bytes;
    step.import = std::move(note);
    history_.record(std::move(step), check);
    insert_appended_rows(first, bytes);
    recompute();
    change = {RowChange::Kind::kRowsChanged, -1};
    return {};
}

void RegisterSession::insert_appended_rows(std::int64_t first, std::string_view records) {
    const auto count = static_cast<std::int64_t>(records.size() / kRecordSize);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(records.data());
    std::vector<std::int32_t> slots;
    std::vector<RowFigures> figures;
    slots.reserve(static_cast<std::size_t>(count));
    figures.reserve(static_cast<std::size_t>(count));
    std::string payee;
    for (std::int64_t at = 0; at < count; ++at) {
        const std::uint8_t* record = bytes + at * static_cast<std::int64_t>(kRecordSize);
        places_.push(record_fingerprint(record), true);
        places_.set_imported(first + at, true);
        slots.push_back(static_cast<std::int32_t>(first + at));
        figures.push_back(record_figures(record));
        payee.clear();
        append_shown_text(payee, record + kPayeeOffset);
        payees_.add(payee, first + at);
    }
    // Newest first, the newest slot is the top row.
    if (list_order_ == kListNewestFirst) {
        std::reverse(slots.begin(), slots.end());
        std::reverse(figures.begin(), figures.end());
        slots_.insert(slots_.begin(), slots.begin(), slots.end());
        book_.insert(0, figures);
    } else {
        slots_.insert(slots_.end(), slots.begin(), slots.end());
        book_.insert(-1, figures);
    }
}

void RegisterSession::remove_appended_rows(std::int64_t first, std::string_view records) {
    const auto count = static_cast<std::int64_t>(records.size() / kRecordSize);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(records.data());
    std::string payee;
    for (std::int64_t at = 0; at < count; ++at) {
        payee.clear();
        append_shown_text(payee, bytes + at * static_cast<std::int64_t>(kRecordSize) + kPayeeOffset);
        payees_.remove(payee, first + at);
    }
    // The appended rows stand together: at the end of the list, or newest first at its top.
    const std::int64_t shown = std::min(count, row_count());
    const std::int64_t row = list_order_ == kListNewestFirst ? 0 : row_count() - shown;
    slots_.erase(slots_.begin() + row, slots_.begin() + row + shown);
    book_.remove(row, shown);
    places_.pop(places_.slot_count() - first);
}

SessionResult RegisterSession::apply_store_step(const RegisterChange& step, bool backward) {
    const auto take_back = [&](const IoStatus& cause) {
        (void)(backward ? history_.redo() : history_.undo());
        stamp_ = history_.stamp();
        return SessionResult::of_store(cause);
    };
    switch (step.kind) {
        case ChangeKind::kAdd:
            if (backward) {
                places_.pop(1);
            } else {
                places_.push(record_fingerprint(step.after.data()), true);
            }
            return {};
        case ChangeKind::kDelete: places_.set_live(step.slot, backward); return {};
        case ChangeKind::kDeleteRegister: return {};
        case ChangeKind::kReconcile: {
            if (const IoStatus applied = apply_reconcile(*step.reconcile, backward); !applied)
                return take_back(applied);
            return {};
        }
        case ChangeKind::kImport: {
            const IoStatus stored = change_store([&](CompanionStore& store) {
                if (backward) return store.remove_import(step.import->entry.id);
                StoredImport entry = step.import->entry;
                return store.add_import(entry, step.import->links);
            });
            if (!stored) return take_back(stored);
            return {};
        }
        default: {
            const RecordBytes& from = backward ? step.after : step.before;
            const RecordBytes& to = backward ? step.before : step.after;
            if (const IoStatus followed = follow_in_store(step.slot, from, to); !followed) {
                places_.set_fingerprint(step.slot, record_fingerprint(from.data()));
                return take_back(followed);
            }
            return {};
        }
    }
}

IoStatus RegisterSession::follow_in_store(std::int64_t slot, const RecordBytes& before,
                                          const RecordBytes& after) {
    const std::uint64_t old_print = record_fingerprint(before.data());
    const std::uint64_t new_print = record_fingerprint(after.data());
    if (old_print == new_print || slot >= places_.slot_count()) return {};
    const RecordPlace from = places_.place_of(slot);
    places_.set_fingerprint(slot, new_print);
    if (store_state_ != StoreState::kRead ||
        (!places_.has_links_for(old_print) && !places_.has_links_for(new_print)))
        return {};
    const RecordPlace to = places_.place_of(slot);
    return change_store([&](CompanionStore& store) { return store.move_record(from, to); });
}

void RegisterSession::forget_in_store(std::vector<RecordPlace> removed) {
    if (removed.empty() || file_size(store_path()) < 0) return;
    const IoStatus forgotten =
        change_store([&](CompanionStore& store) { return store.forget_places(std::move(removed)); });
    if (!forgotten) {
        // The register is compacted all the same; the links of records that had deleted twins
        // before them may now be off by those twins, which are the same transaction to the byte.
        store_state_ = StoreState::kUnusable;
        store_problem_ = forgotten;
    }
}

}  // namespace quillet
