#include "core/session/set_cleared.h"

namespace quillet {

SetCleared::SetCleared(std::vector<std::int64_t> slots, std::vector<bool> cleared)
    : slots_(std::move(slots)), cleared_(std::move(cleared)) {}

IoStatus SetCleared::plan(const SessionState& state, const RegisterLock*, ChangePlan& plan) {
    if (slots_.size() != cleared_.size()) return IoStatus::failure(EINVAL);
    const RecordPlaces& places = state.places;
    changed_.clear();
    marks_.clear();
    for (std::size_t at = 0; at < slots_.size(); ++at) {
        const std::int64_t slot = slots_[at];
        if (slot < 0 || slot >= places.slot_count() || places.state(slot) == ClearState::kReconciled)
            continue;
        const ClearState state_now = cleared_[at] ? ClearState::kCleared : ClearState::kUncleared;
        if (places.state(slot) == state_now) continue;
        marks_.push_back({{}, state_now, 0});
        changed_.push_back(slot);
    }
    if (marks_.empty()) return {};
    const std::vector<RecordPlace> named = places.places_of(changed_);
    for (std::size_t at = 0; at < marks_.size(); ++at) marks_[at].record = named[at];
    plan.store = [this](CompanionStore& store) { return store.set_marks(marks_); };
    plan.store_made_when_missing = true;
    return {};
}

void SetCleared::applied(SessionState& state, ChangePlan&, RowChange&) {
    for (std::size_t at = 0; at < changed_.size(); ++at)
        state.places.set_state(changed_[at], marks_[at].state);
    if (!changed_.empty()) state.store_state = StoreState::kRead;
}

}  // namespace quillet
