#include "core/register/register_session.h"

#include <algorithm>

#include "core/register/record_fingerprint.h"
#include "core/register/register_lock.h"
#include "core/register/row_text.h"
#include "core/runtime/dates.h"

namespace quillet {

using namespace record_format;

namespace {

// The payee the index knows a record by: its payee as the list shows it.
void payee_of(const std::uint8_t* record, std::string& payee) {
    payee.clear();
    append_shown_text(payee, record + kPayeeOffset);
}

std::string payee_of(const std::uint8_t* record) {
    std::string payee;
    payee_of(record, payee);
    return payee;
}

bool is_live(const RecordBytes& record) { return record[kDeletedOffset] == kLive; }

}  // namespace

SessionResult SessionResult::of(const IoStatus& status) {
    SessionResult result;
    if (status) return result;
    result.outcome_ = status.error() == ESTALE ? SessionOutcome::kStale : SessionOutcome::kFailed;
    result.cause_ = status;
    return result;
}

RegisterSession::Opened RegisterSession::open(const std::string& path, int list_order) {
    // What killed writes left beside the register goes, under the register's lock.
    tidy_register_folder(path);
    if (path != history_.path()) {
        history_.start(path, HistoryEnd::kOpened);
    } else if (file_stamp(path) != history_.stamp()) {
        // Another program wrote since our last write: no step of ours can be applied any more.
        history_.start(path, HistoryEnd::kChangedElsewhere);
    }
    clear_rows();
    path_ = path;
    stamp_ = file_stamp(path);
    list_order_ = list_order;
    const auto count = static_cast<std::size_t>(count_records(path));
    slots_.reserve(count);
    places_.reserve(count);
    book_.reserve(count);
    store_state_ = StoreState::kUnread;
    statements_.clear();
    store_problem_ = {};
    Opened opened;
    std::string payee;
    opened.read = visit_records(
        path,
        [&](std::int64_t slot, const std::uint8_t* record) {
            places_.put(slot, record_fingerprint(record), record[kDeletedOffset] == kLive);
            if (record[kDeletedOffset] != kLive) return true;
            // A row leads to the slot it was read from: in a sound file that is the record's own
            // number, and in one whose numbers went astray it is still the right record.
            if (get_i32(record + kRecordNumberOffset) != slot) ++opened.misnumbered;
            slots_.push_back(static_cast<std::int32_t>(slot));
            book_.insert(-1, record_figures(record));
            payee_of(record, payee);
            payees_.add(payee, slot);
            return true;
        },
        list_order == kListNewestFirst);
    payees_.shrink();
    recompute();
    return opened;
}

void RegisterSession::close() {
    clear_rows();
    path_.clear();
    stamp_ = {};
}

void RegisterSession::clear_rows() {
    slots_.clear();
    places_.clear();
    book_.clear();
    payees_.clear();
}

std::int64_t RegisterSession::slot_of(std::int64_t row) const {
    return row >= 0 && row < row_count() ? slots_[static_cast<std::size_t>(row)] : -1;
}

std::int64_t RegisterSession::row_of_slot(std::int64_t slot, std::int64_t hint) const {
    if (slot_of(hint) == slot) return hint;
    const auto found = std::find(slots_.begin(), slots_.end(), static_cast<std::int32_t>(slot));
    return found == slots_.end() ? -1 : found - slots_.begin();
}

std::optional<std::int64_t> RegisterSession::latest_slot_of_payee(std::string_view payee) const {
    return payees_.latest(payee);
}

IoStatus RegisterSession::read(std::int64_t slot, RecordBytes& bytes) const {
    return read_record_bytes(path_, slot, bytes);
}

bool RegisterSession::row_text(std::int64_t row, std::string& out) const {
    out.clear();
    RecordBytes record{};
    if (slot_of(row) < 0 || !read(slot_of(row), record)) return false;
    append_row_text(out, record.data(), kVoidMark);
    return record_fingerprint(record.data()) == fingerprint_of(row) && is_live(record);
}

std::uint64_t RegisterSession::fingerprint_of(std::int64_t row) const {
    return row >= 0 && row < row_count() ? places_.fingerprint(slots_[static_cast<std::size_t>(row)]) : 0;
}

bool RegisterSession::row_imported(std::int64_t row) const {
    return row >= 0 && row < row_count() && places_.imported(slots_[static_cast<std::size_t>(row)]);
}

void RegisterSession::recompute() {
    const DateValue today = current_date();
    book_.recompute(list_order_, year_of(today), month_of(today));
}

std::size_t RegisterSession::memory_bytes() const {
    return slots_.capacity() * sizeof(std::int32_t) + places_.memory_bytes() + book_.memory_bytes() +
           payees_.memory_bytes();
}

WriteCheck RegisterSession::listed_check() const {
    WriteCheck check;
    check.listed = stamp_;
    return check;
}

void RegisterSession::note_written(const WriteCheck& check) { stamp_ = check.after; }

IoStatus RegisterSession::check_as_listed(std::optional<RegisterLock>& lock) const {
    if (!is_open()) return IoStatus::failure(EINVAL);
    lock.emplace(path_);
    if (!lock->held()) return lock->status();
    return file_stamp(path_) == stamp_ ? IoStatus() : IoStatus::failure(ESTALE);
}

void RegisterSession::insert_row(std::int64_t row, std::int64_t slot, const std::uint8_t* record) {
    const auto at = static_cast<std::ptrdiff_t>(row);
    slots_.insert(slots_.begin() + at, static_cast<std::int32_t>(slot));
    book_.insert(row, record_figures(record));
    payees_.add(payee_of(record), slot);
}

void RegisterSession::replace_row(std::int64_t row, const std::uint8_t* record) {
    const auto at = static_cast<std::size_t>(row);
    book_.replace(row, record_figures(record));
    payees_.add(payee_of(record), slots_[at]);
}

void RegisterSession::remove_row(std::int64_t row) {
    const auto at = static_cast<std::ptrdiff_t>(row);
    slots_.erase(slots_.begin() + at);
    book_.remove(row);
}

SessionResult RegisterSession::add(TransactionRecord record, bool at_top, RowChange& change) {
    WriteCheck check = listed_check();
    std::int64_t slot = 0;
    const IoStatus written = append_record(path_, record, slot, &check);
    if (!written) return SessionResult::of(written);
    note_written(check);
    record.record_number = static_cast<std::int32_t>(slot);
    RegisterChange step;
    step.kind = ChangeKind::kAdd;
    step.slot = slot;
    step.after = encode_record(record);
    history_.record(step, check);
    // An append goes last among its fingerprint's records: no link's place moves.
    places_.push(record_fingerprint(step.after.data()), true);
    change = {RowChange::Kind::kInserted, at_top ? 0 : row_count()};
    insert_row(change.row, slot, step.after.data());
    recompute();
    return {};
}

SessionResult RegisterSession::edit(std::int64_t slot, const RecordBytes& opened, TransactionRecord record,
                                    RowChange& change) {
    if (store_state_ == StoreState::kUnread) read_store();
    record.record_number = static_cast<std::int32_t>(slot);
    const RecordBytes after = encode_record(record);
    WriteCheck check = listed_check();
    check.record = opened;
    const IoStatus written = write_record_bytes(path_, slot, after, &check);
    if (!written) return SessionResult::of(written);
    note_written(check);
    if (const IoStatus followed = follow_in_store(slot, opened, after); !followed) {
        // The store could not follow: the record goes back as it was, and the edit is not made.
        WriteCheck back = listed_check();
        back.record = after;
        if (write_record_bytes(path_, slot, opened, &back)) note_written(back);
        places_.set_fingerprint(slot, record_fingerprint(opened.data()));
        return SessionResult::of_store(followed);
    }
    history_.record({kind_of_edit(opened, after), slot, opened, after, {}, {}, {}, {}, {}}, check);
    note_reconciled_change(slot);
    const std::int64_t row = row_of_slot(slot);
    if (row < 0) {
        // The record was written over its slot, but the list no longer shows it: read it again.
        change = {RowChange::Kind::kReloaded, -1};
        return {};
    }
    payees_.remove(payee_of(opened.data()), slot);
    change = {RowChange::Kind::kReplaced, row};
    replace_row(row, after.data());
    recompute();
    return {};
}

SessionResult RegisterSession::delete_row(std::int64_t row, RowChange& change) {
    const std::int64_t slot = slot_of(row);
    if (slot < 0) return SessionResult::of(IoStatus::failure(EINVAL));
    WriteCheck check = listed_check();
    check.fingerprint = fingerprint_of(row);
    RegisterChange step;
    step.slot = slot;
    if (row_count() == 1) {
        // The last row takes the register with it: checked and removed under the register's lock.
        // The store stays: an undo brings the register back to it.
        RemovedRegister removed;
        const IoStatus gone = remove_register(path_, slot, &check, removed);
        if (!gone) return SessionResult::of(gone);
        step.kind = ChangeKind::kDeleteRegister;
        std::copy_n(removed.bytes.begin() + slot * static_cast<std::int64_t>(kRecordSize), kRecordSize,
                    step.after.begin());
        step.before = step.after;
        step.removed_file = std::move(removed.bytes);
        step.removed_from = std::move(removed.file);
        history_.record(std::move(step), check);
        close();
        change = {RowChange::Kind::kClosed, row};
        return {};
    }
    const IoStatus flagged = set_deleted_flag(path_, slot, kDeleted, &check, &step.before);
    if (!flagged) return SessionResult::of(flagged);
    note_written(check);
    // A deleted record keeps its place (deleted records count), so no link moves: a link to it now
    // tells that its transaction was deleted after the import.
    places_.set_live(slot, false);
    note_reconciled_change(slot);
    step.kind = ChangeKind::kDelete;
    step.after = step.before;
    step.after[kDeletedOffset] = kDeleted;
    payees_.remove(payee_of(step.before.data()), slot);
    history_.record(std::move(step), check);
    remove_row(row);
    recompute();
    change = {RowChange::Kind::kRemoved, row};
    return {};
}

SessionResult RegisterSession::compact(CompactionCounts& counts, bool as_listed) {
    WriteCheck check = listed_check();
    std::vector<RecordPlace> removed;
    const IoStatus compacted = compact_register(path_, counts, as_listed ? &check : nullptr, &removed);
    if (!compacted) return SessionResult::of(compacted);
    forget_in_store(std::move(removed));
    // Compaction moves the records to new places: no earlier change can be undone in them.
    history_.start(path_, HistoryEnd::kCompacted);
    stamp_ = history_.stamp();
    return {};
}

SessionResult RegisterSession::back_up(const std::string& destination) const {
    if (const IoStatus copied = copy_register(path_, destination); !copied) return SessionResult::of(copied);
    return SessionResult::of_store(copy_store(path_, destination));
}

SessionResult RegisterSession::save_as(const std::string& destination) {
    // The source must be as listed: the list goes on as the copy's, slot for slot. Saved under its
    // own name, there is nothing to copy, but the list must still be the file's.
    const WriteCheck check = listed_check();
    if (destination == path_) {
        std::optional<RegisterLock> lock;
        if (const IoStatus listed = check_as_listed(lock); !listed) return SessionResult::of(listed);
    } else if (const IoStatus copied = copy_register(path_, destination, &check); !copied) {
        return SessionResult::of(copied);
    }
    const std::string source = path_;
    path_ = destination;
    stamp_ = file_stamp(destination);
    // The changes made to the old file cannot be undone in this one.
    history_.start(destination, HistoryEnd::kOpened);
    if (destination == source) return {};
    // The copy goes on with the links; a store that could not follow is said once, and the copy
    // works without it.
    if (const IoStatus copied = copy_store(source, destination); !copied) {
        (void)delete_file(store_path_of(destination));
        store_state_ = StoreState::kUnusable;
        store_problem_ = copied;
    }
    return {};
}

SessionResult RegisterSession::create(const std::string& path, std::string_view opening_amount_text,
                                      std::uint8_t kind, const RecordTexts& texts) {
    const IoStatus created = create_new_register(path, opening_amount_text, kind, texts);
    if (!created) return SessionResult::of(created);
    // A store beside a file the new register replaced belonged to that file.
    if (file_size(store_path_of(path)) >= 0) (void)delete_file(store_path_of(path));
    history_.start(path, HistoryEnd::kCreated);
    return {};
}

SessionResult RegisterSession::undo(RowChange& change) { return apply_step(true, false, change); }

SessionResult RegisterSession::redo(bool at_top, RowChange& change) {
    return apply_step(false, at_top, change);
}

SessionResult RegisterSession::apply_step(bool backward, bool at_top, RowChange& change) {
    change = {};
    const RegisterChange* step = backward ? history_.next_undo() : history_.next_redo();
    if (step == nullptr) return {};
    if (store_state_ == StoreState::kUnread) read_store();
    const bool added = !backward && step->kind == ChangeKind::kAdd;
    const RecordBytes before = backward ? step->after : step->before;
    AppliedStep applied;
    const IoStatus done = backward ? history_.undo(&applied) : history_.redo(&applied);
    if (!done) return SessionResult::of(done);
    stamp_ = history_.stamp();
    if (const SessionResult stored = apply_store_step(*step, backward); !stored.done()) return stored;
    if (applied.register_removed) {
        close();
        change.kind = RowChange::Kind::kClosed;
    } else if (applied.register_restored) {
        change.kind = RowChange::Kind::kReloaded;
    } else if (step->kind == ChangeKind::kReconcile) {
        change.kind = RowChange::Kind::kRowsChanged;
    } else if (step->kind == ChangeKind::kImport) {
        if (backward) {
            remove_appended_rows(applied.slot, step->records);
        } else {
            insert_appended_rows(applied.slot, step->records);
        }
        recompute();
        change.kind = RowChange::Kind::kRowsChanged;
    } else {
        const std::int64_t row = row_of_slot(applied.slot);
        if (row >= 0) payees_.remove(payee_of(before.data()), applied.slot);
        show_applied(applied, added, at_top, change);
    }
    return {};
}

void RegisterSession::show_applied(const AppliedStep& applied, bool added, bool at_top, RowChange& change) {
    const std::int64_t row = row_of_slot(applied.slot);
    if (!applied.shown || !is_live(applied.record)) {
        if (row >= 0) {
            remove_row(row);
            change = {RowChange::Kind::kRemoved, row};
        }
        recompute();
        return;
    }
    if (row >= 0) {
        change = {RowChange::Kind::kReplaced, row};
        replace_row(row, applied.record.data());
    } else {
        std::int64_t at = row_count();
        if (added) {
            // Where a new transaction's row goes.
            at = at_top ? 0 : row_count();
        } else {
            // Before the first row that comes after the slot in the list's order.
            const bool newest_first = list_order_ == kListNewestFirst;
            for (std::int64_t other = 0; other < row_count(); ++other) {
                const std::int64_t other_slot = slots_[static_cast<std::size_t>(other)];
                if (newest_first ? other_slot < applied.slot : other_slot > applied.slot) {
                    at = other;
                    break;
                }
            }
        }
        change = {RowChange::Kind::kInserted, at};
        insert_row(at, applied.slot, applied.record.data());
    }
    recompute();
}

}  // namespace quillet
