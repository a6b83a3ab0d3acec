// The register session's part in reconciling: each record's state against the bank's statements,
// kept as marks in the companion store by the record's fingerprint and place (so compaction, undo,
// imports and another program's appends keep them on their transactions), and the statements
// finished.
#include <algorithm>

#include "core/register/register_session.h"

namespace quillet {

ClearState RegisterSession::row_state(std::int64_t row) const {
    const std::int64_t slot = slot_of(row);
    return slot < 0 ? ClearState::kUncleared : places_.state(slot);
}

std::int64_t RegisterSession::row_statement(std::int64_t row) const {
    const std::int64_t slot = slot_of(row);
    return slot < 0 ? 0 : places_.statement_of(slot);
}

const StoredStatement* RegisterSession::statement(std::int64_t id) const {
    const auto found = std::find_if(statements_.begin(), statements_.end(),
                                    [&](const StoredStatement& each) { return each.id == id; });
    return found == statements_.end() ? nullptr : &*found;
}

Figure RegisterSession::cleared_balance() const {
    if (!places_.has_marks()) return {};
    return book_.sum_of([&](std::int64_t row) {
        return places_.state(slots_[static_cast<std::size_t>(row)]) != ClearState::kUncleared;
    });
}

IoStatus RegisterSession::read_marks(const CompanionStore& store, const RecordPlaces::PrintedSlots& slots) {
    std::vector<StoredMark> marks;
    if (const IoStatus read = store.read_marks(marks); !read) return read;
    if (const IoStatus read = store.read_statements(statements_); !read) return read;
    places_.mark_states(marks, slots);
    return {};
}

SessionResult RegisterSession::set_cleared(const std::vector<std::int64_t>& slots,
                                           const std::vector<bool>& cleared) {
    if (slots.size() != cleared.size()) return SessionResult::of(IoStatus::failure(EINVAL));
    if (store_state_ == StoreState::kUnread) read_store();
    if (store_state_ == StoreState::kUnusable) return SessionResult::of_store(store_problem_);
    std::optional<RegisterLock> lock;
    if (const IoStatus listed = check_as_listed(lock); !listed) return SessionResult::of(listed);
    std::vector<StoredMark> marks;
    std::vector<std::int64_t> changed;
    for (std::size_t at = 0; at < slots.size(); ++at) {
        const std::int64_t slot = slots[at];
        if (slot < 0 || slot >= places_.slot_count() || places_.state(slot) == ClearState::kReconciled)
            continue;
        const ClearState state = cleared[at] ? ClearState::kCleared : ClearState::kUncleared;
        if (places_.state(slot) == state) continue;
        marks.push_back({{}, state, 0});
        changed.push_back(slot);
    }
    if (marks.empty()) return {};
    const std::vector<RecordPlace> places = places_.places_of(changed);
    for (std::size_t at = 0; at < marks.size(); ++at) marks[at].record = places[at];
    if (const IoStatus written = change_store([&](CompanionStore& store) { return store.set_marks(marks); });
        !written)
        return SessionResult::of_store(written);
    for (std::size_t at = 0; at < changed.size(); ++at) places_.set_state(changed[at], marks[at].state);
    store_state_ = StoreState::kRead;
    return {};
}

SessionResult RegisterSession::finish_statement(StoredStatement statement,
                                                const std::vector<std::int64_t>& slots,
                                                const std::vector<bool>& ticked, RowChange& change) {
    change = {};
    if (slots.size() != ticked.size()) return SessionResult::of(IoStatus::failure(EINVAL));
    if (store_state_ == StoreState::kUnread) read_store();
    if (store_state_ == StoreState::kUnusable) return SessionResult::of_store(store_problem_);
    std::optional<RegisterLock> lock;
    if (const IoStatus listed = check_as_listed(lock); !listed) return SessionResult::of(listed);
    auto note = std::make_shared<ReconcileNote>();
    std::vector<bool> taken_ticks;
    for (std::size_t at = 0; at < slots.size(); ++at) {
        const std::int64_t slot = slots[at];
        if (slot < 0 || slot >= places_.slot_count() || !places_.live(slot) ||
            places_.state(slot) == ClearState::kReconciled)
            continue;
        note->record_slots.push_back(slot);
        taken_ticks.push_back(ticked[at]);
    }
    const std::vector<RecordPlace> places = places_.places_of(note->record_slots);
    for (std::size_t at = 0; at < places.size(); ++at) {
        note->before.push_back({places[at], places_.state(note->record_slots[at]), 0});
        note->after.push_back(
            {places[at], taken_ticks[at] ? ClearState::kReconciled : ClearState::kUncleared, 0});
    }
    note->statement = std::move(statement);
    note->statement.id = 0;
    // Made again after an undo, the statement keeps the id it was given now.
    if (const IoStatus made = apply_reconcile(*note, false, &note->statement.id); !made)
        return SessionResult::of_store(made);
    RegisterChange step;
    step.kind = ChangeKind::kReconcile;
    step.slot = note->record_slots.empty() ? 0 : note->record_slots.front();
    step.reconcile = std::move(note);
    WriteCheck check = listed_check();
    check.after = stamp_;
    history_.record(std::move(step), check);
    change = {RowChange::Kind::kRowsChanged, -1};
    return {};
}

IoStatus RegisterSession::apply_reconcile(const ReconcileNote& note, bool backward, std::int64_t* made_id) {
    StoredStatement statement = note.statement;
    if (const IoStatus written = change_store([&](CompanionStore& store) {
            return backward ? store.remove_statement(statement.id, note.before)
                            : store.add_statement(statement, note.after);
        });
        !written)
        return written;
    if (made_id != nullptr) *made_id = statement.id;
    const std::vector<StoredMark>& marks = backward ? note.before : note.after;
    for (std::size_t at = 0; at < note.record_slots.size(); ++at)
        places_.set_state(note.record_slots[at], marks[at].state,
                          marks[at].state == ClearState::kReconciled ? statement.id : 0);
    if (backward) {
        std::erase_if(statements_, [&](const StoredStatement& each) { return each.id == statement.id; });
    } else {
        statements_.push_back(statement);
    }
    store_state_ = StoreState::kRead;
    return {};
}

void RegisterSession::note_reconciled_change(std::int64_t slot) {
    if (slot < 0 || slot >= places_.slot_count() || places_.state(slot) != ClearState::kReconciled) return;
    const std::int64_t id = places_.statement_of(slot);
    if (change_store([&](CompanionStore& store) { return store.set_statement_changed(id); })) {
        for (StoredStatement& each : statements_) {
            if (each.id == id) each.changed = true;
        }
    }
}

}  // namespace quillet
