#include "core/session/register_session.h"

#include "core/register/record_fingerprint.h"
#include "core/register/register_lock.h"
#include "core/runtime/page_warming.h"
#include "core/session/intent.h"

namespace quillet {

using namespace record_format;

RegisterCheck settle_and_check(const std::string& path, IoStatus* cause) {
    if (const IoStatus settled = settle_register(path); !settled) {
        if (cause != nullptr) *cause = settled;
        return RegisterCheck::kUnreadable;
    }
    return check_register_file(path, cause);
}

RegisterSession::Opened RegisterSession::open(const std::string& path_asked, int list_order) {
    const std::string path = path_asked;  // the caller may pass our own path, which close() empties
    Opened opened;
    opened.read = settle_register(path);
    if (!opened.read) return opened;
    // What killed writes left beside the register goes, under the register's lock.
    tidy_register_folder(path);
    adopt_store_beside_link(path);
    if (path != history_.path()) {
        history_.start(path, HistoryEnd::kOpened);
    } else if (file_stamp(path) != history_.stamp()) {
        // Another program wrote since our last write: no step of ours can be applied any more.
        history_.start(path, HistoryEnd::kChangedElsewhere);
    }
    close();
    state_.path = path;
    state_.stamp = file_stamp(path);
    const auto count = static_cast<std::size_t>(count_records(path));
    state_.list.start(path, list_order, count);
    state_.store_state = StoreState::kUnread;
    // The list alone is read now; the fingerprints and places once something needs them (the
    // desktop's list is painted first). Its arrays are made ready on another core meanwhile.
    {
        const PageWarming warming(state_.list.reserved_memory());
        opened.read = visit_records(
            path,
            [&](std::int64_t slot, const std::uint8_t* record) {
                if (record[kDeletedOffset] != kLive) return true;
                // A row leads to the slot it was read from: in a sound file that is the record's own
                // number, and in one whose numbers went astray it is still the right record.
                if (get_i32(record + kRecordNumberOffset) != slot) ++opened.misnumbered;
                state_.list.add_read(slot, record);
                return true;
            },
            list_order == kListNewestFirst);
    }
    state_.list.finish_fill();
    return opened;
}

void RegisterSession::make_places() {
    if (!state_.open() || state_.places_made) return;
    state_.places_made = true;
    state_.places.clear();
    state_.places.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, count_records(state_.path))));
    // A file that fails part way keeps the places read, as the list keeps the rows read. The list's
    // payee index, when still to be made, is made in the same reading.
    state_.list.make_payee_index([this](std::int64_t, const std::uint8_t* record) {
        state_.places.push(record_fingerprint(record), record[kDeletedOffset] == kLive);
        return true;
    });
    // Another program wrote the file since it was listed: the places are of what it holds now, and
    // the rows are to be read again.
    state_.places_unlike_list = file_stamp(state_.path) != state_.stamp;
}

void RegisterSession::close() {
    state_.path.clear();
    state_.stamp = {};
    state_.list.clear();
    state_.places.clear();
    state_.places_made = false;
    state_.places_unlike_list = false;
    state_.statements.clear();
    state_.categories.clear();
    state_.store_state = StoreState::kUnread;
    state_.store_problem = {};
}

IoStatus RegisterSession::read(std::int64_t slot, RecordBytes& bytes) const {
    return read_record_bytes(state_.path, slot, bytes);
}

bool RegisterSession::row_text(std::int64_t row, std::string& out) const {
    // Until the fingerprints are made, a row is the one listed while the file is as listed.
    if (!state_.places_made)
        return state_.list.row_text(row, std::nullopt, out) && file_stamp(state_.path) == state_.stamp;
    return state_.list.row_text(row, listed_fingerprint(row), out) && !state_.places_unlike_list;
}

std::uint64_t RegisterSession::fingerprint_of(std::int64_t row) {
    make_places();
    return listed_fingerprint(row);
}

std::uint64_t RegisterSession::listed_fingerprint(std::int64_t row) const {
    const std::int64_t slot = slot_of(row);
    return slot >= 0 && slot < state_.places.slot_count() ? state_.places.fingerprint(slot) : 0;
}

std::size_t RegisterSession::memory_bytes() const {
    return state_.list.memory_bytes() + state_.places.memory_bytes() + state_.categories.memory_bytes();
}

SessionResult RegisterSession::apply(std::shared_ptr<Change> change, RowChange& rows) {
    const SessionResult result = run(*change, rows);
    if (!result.done()) return result;
    if (change->ends_history()) {
        history_.start(state_.path, HistoryEnd::kCompacted);
    } else if (change->undoable()) {
        history_.record(std::move(change));
    }
    return result;
}

SessionResult RegisterSession::undo(RowChange& rows) {
    rows = {};
    const std::shared_ptr<Change> step = history_.next_undo();
    if (step == nullptr) return {};
    const SessionResult result = run(*step->inverse(), rows);
    if (result.done()) history_.moved_back();
    return result;
}

SessionResult RegisterSession::redo(RowChange& rows) {
    rows = {};
    const std::shared_ptr<Change> step = history_.next_redo();
    if (step == nullptr) return {};
    const SessionResult result = run(*step, rows);
    if (result.done()) history_.moved_forward();
    return result;
}

SessionResult RegisterSession::run(Change& change, RowChange& rows) {
    rows = {};
    // A removed register is put back at the history's path: no register is open then.
    const std::string path = state_.open() ? state_.path : history_.path();
    if (path.empty() || (!state_.open() && change.needs_register_file()))
        return SessionResult::of(IoStatus::failure(EINVAL), path);
    // What a killed change left is settled first; if that changes the file, the check below
    // finds it other than listed.
    if (const IoStatus settled = settle_register(path); !settled) return SessionResult::of(settled, path);
    if (change.reads_store() || change.needs_usable_store()) ensure_store_read();
    if (change.needs_usable_store() && state_.store_state == StoreState::kUnusable) {
        // A store that could not be read may have been held by another program: it is tried again.
        read_store();
        if (state_.store_state == StoreState::kUnusable)
            return SessionResult::of_store(state_.store_problem, store_path_of(path));
    }
    std::optional<RegisterLock> lock;
    if (change.needs_register_file()) {
        lock.emplace(path);
        if (!lock->held()) return SessionResult::of(lock->status(), path);
    }
    make_places();
    const bool as_listed = file_stamp(path) == state_.stamp;
    if (change.needs_as_listed() && !as_listed) return SessionResult::of(IoStatus::failure(ESTALE), path);
    ChangePlan plan;
    if (const IoStatus planned = change.plan(state_, lock ? &*lock : nullptr, plan); !planned)
        return SessionResult::of(planned, path);
    if (const SessionResult written = write(plan, lock ? &*lock : nullptr, path); !written.done()) {
        // Under our lock throughout, a write that failed and was put back leaves the file as listed,
        // though its stamp moved; one that could not be put back left its intent to be settled.
        if (as_listed && !names_anything(intent_path_of(path))) {
            state_.stamp = file_stamp(path);
            history_.note_stamp(state_.stamp);
        }
        return written;
    }
    state_.stamp = file_stamp(path);
    history_.note_stamp(state_.stamp);
    change.applied(state_, plan, rows);
    state_.categories.forget_from(state_.places.slot_count());
    return {};
}

}  // namespace quillet
