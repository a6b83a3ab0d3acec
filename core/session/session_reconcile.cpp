// The register session's view of reconciling: each record's state against the bank's statements
// (marks in the companion store, named by the record's fingerprint and place) and the statements
// finished.
#include <algorithm>

#include "core/session/register_session.h"

namespace quillet {

ClearState RegisterSession::row_state(std::int64_t row) {
    ensure_store_read();
    return shown_state(row);
}

ClearState RegisterSession::shown_state(std::int64_t row) const {
    const std::int64_t slot = slot_of(row);
    return slot < 0 ? ClearState::kUncleared : state_.places.state(slot);
}

std::int64_t RegisterSession::row_statement(std::int64_t row) {
    ensure_store_read();
    const std::int64_t slot = slot_of(row);
    return slot < 0 ? 0 : state_.places.statement_of(slot);
}

const std::vector<StoredStatement>& RegisterSession::statements() {
    ensure_store_read();
    return state_.statements;
}

const StoredStatement* RegisterSession::statement(std::int64_t id) {
    const std::vector<StoredStatement>& all = statements();
    const auto found =
        std::find_if(all.begin(), all.end(), [&](const StoredStatement& each) { return each.id == id; });
    return found == all.end() ? nullptr : &*found;
}

Figure RegisterSession::cleared_balance() {
    ensure_store_read();
    if (!state_.places.has_marks()) return {};
    return balances().sum_of(
        [&](std::int64_t row) { return state_.places.state(slot_of(row)) != ClearState::kUncleared; });
}

std::vector<std::uint8_t> RegisterSession::states_by_slot() {
    ensure_store_read();
    return state_.places.states_by_slot();
}

}  // namespace quillet
