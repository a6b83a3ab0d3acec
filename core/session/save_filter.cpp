#include "core/session/save_filter.h"

namespace quillet {

SaveFilter::SaveFilter(std::string name, std::optional<std::string> before, std::optional<std::string> after,
                       std::string named)
    : name_(std::move(name)),
      before_(std::move(before)),
      after_(std::move(after)),
      named_(std::move(named)) {}

IoStatus SaveFilter::plan(const SessionState&, const RegisterLock*, ChangePlan& plan) {
    plan.store = [this](CompanionStore& store) {
        return after_ ? store.put_saved_filter(name_, *after_) : store.remove_saved_filter(name_);
    };
    plan.store_made_when_missing = after_.has_value();
    return {};
}

void SaveFilter::applied(SessionState& state, ChangePlan&, RowChange&) {
    state.store_state = StoreState::kRead;
}

std::shared_ptr<Change> SaveFilter::inverse() const {
    return std::make_shared<SaveFilter>(name_, after_, before_, named_);
}

}  // namespace quillet
