#include "core/session/rewrite_record.h"

#include "core/register/record_fingerprint.h"
#include "core/register/register_file.h"

namespace quillet {

using namespace record_format;

namespace {

bool is_live(const RecordBytes& record) { return record[kDeletedOffset] == kLive; }

}  // namespace

ChangeKind kind_of_rewrite(const RecordBytes& before, const RecordBytes& after) {
    if (is_live(before) && !is_live(after)) return ChangeKind::kDelete;
    RecordBytes same_void = after;
    same_void[kVoidOffset] = before[kVoidOffset];
    if (same_void != before || before[kVoidOffset] == after[kVoidOffset]) return ChangeKind::kEdit;
    return after[kVoidOffset] != 0 ? ChangeKind::kVoid : ChangeKind::kUnvoid;
}

RewriteRecord::RewriteRecord(std::int64_t slot, const RecordBytes& before, const RecordBytes& after)
    : slot_(slot), before_(before), after_(after) {}

ChangeKind RewriteRecord::kind() const { return kind_of_rewrite(before_, after_); }

IoStatus RewriteRecord::plan(const SessionState& state, const RegisterLock*, ChangePlan& plan) {
    if (slot_ < 0 || slot_ >= state.places.slot_count()) return IoStatus::failure(ESTALE);
    plan.writes.push_back({slot_, before_, after_});
    const RecordPlaces& places = state.places;
    const std::uint64_t old_print = record_fingerprint(before_.data());
    const std::uint64_t new_print = record_fingerprint(after_.data());
    // The record changes places: a link or mark on it goes with it, and those of both
    // fingerprints' other records close up or make room.
    std::optional<std::pair<RecordPlace, RecordPlace>> move;
    if (old_print != new_print && state.store_state == StoreState::kRead &&
        (places.has_links_for(old_print) || places.has_links_for(new_print))) {
        RecordPlace to = places.place_as(slot_, new_print);
        move.emplace(places.place_as(slot_, old_print), to);
    }
    changed_statement_ = places.state(slot_) == ClearState::kReconciled ? places.statement_of(slot_) : 0;
    if (!move && changed_statement_ == 0) return {};
    const std::int64_t statement = changed_statement_;
    plan.store = [move, statement](CompanionStore& store) {
        if (move) {
            if (const IoStatus moved = store.move_record(move->first, move->second); !moved) return moved;
        }
        return statement != 0 ? store.set_statement_changed(statement) : IoStatus();
    };
    return {};
}

void RewriteRecord::applied(SessionState& state, ChangePlan&, RowChange& rows) {
    state.places.set_fingerprint(slot_, record_fingerprint(after_.data()));
    state.places.set_live(slot_, is_live(after_));
    for (StoredStatement& statement : state.statements) {
        if (statement.id == changed_statement_) statement.changed = true;
    }
    const std::int64_t row = state.list.row_of_slot(slot_);
    if (is_live(after_) && row >= 0) {
        state.list.replace(row, before_.data(), after_.data());
        rows = {RowChange::Kind::kReplaced, row};
    } else if (is_live(after_) && !is_live(before_)) {
        rows = {RowChange::Kind::kInserted, state.list.row_for_slot(slot_)};
        state.list.insert(rows.row, slot_, after_.data());
    } else if (is_live(after_)) {
        // Written over its slot, but the list no longer shows it: the register is read again.
        rows = {RowChange::Kind::kReloaded, -1};
    } else if (row >= 0) {
        state.list.remove(row, before_.data());
        rows = {RowChange::Kind::kRemoved, row};
    }
}

std::shared_ptr<Change> RewriteRecord::inverse() const {
    return std::make_shared<RewriteRecord>(slot_, after_, before_);
}

StepName RewriteRecord::step_name() const { return {decode_record(after_.data()), 0, kNoDate, {}}; }

std::shared_ptr<RewriteRecord> edit_transaction(std::int64_t slot, const RecordBytes& opened,
                                                const TransactionRecord& record) {
    TransactionRecord numbered = record;
    numbered.record_number = static_cast<std::int32_t>(slot);
    return std::make_shared<RewriteRecord>(slot, opened, encode_record(numbered));
}

DeleteTransaction::DeleteTransaction(std::int64_t slot, std::uint64_t fingerprint)
    : RewriteRecord(slot, {}, {}), fingerprint_(fingerprint) {}

IoStatus DeleteTransaction::plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) {
    if (const IoStatus read = read_for_deleting(state, slot_, fingerprint_, before_, after_); !read)
        return read;
    return RewriteRecord::plan(state, lock, plan);
}

IoStatus read_for_deleting(const SessionState& state, std::int64_t slot, std::uint64_t fingerprint,
                           RecordBytes& before, RecordBytes& after) {
    // Read under the lock: nothing can come in between. Only the flag's byte changes, whatever the
    // others hold.
    if (const IoStatus read = read_record_bytes(state.path, slot, before); !read) return read;
    if (record_fingerprint(before.data()) != fingerprint || !is_live(before))
        return IoStatus::failure(ESTALE);
    after = before;
    after[kDeletedOffset] = kDeleted;
    return {};
}

}  // namespace quillet
