#include "core/session/compaction.h"

namespace quillet {

IoStatus Compaction::plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) {
    plan.replacement = std::make_unique<AtomicReplace>(state.path);
    auto removed = std::make_shared<std::vector<RecordPlace>>();
    if (const IoStatus written =
            compact_into_locked(*lock, state.path, *plan.replacement, counts_, removed.get());
        !written)
        return written;
    // A store that cannot be read holds nothing that could be kept right: it is left as it is.
    if (removed->empty() || state.store_state == StoreState::kUnusable) return {};
    plan.store = [removed](CompanionStore& store) { return store.forget_places(std::move(*removed)); };
    return {};
}

void Compaction::applied(SessionState&, ChangePlan&, RowChange& rows) {
    rows = {RowChange::Kind::kReloaded, -1};
}

}  // namespace quillet
