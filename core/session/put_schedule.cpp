#include "core/session/put_schedule.h"

namespace quillet {

namespace {

// The undo menu names a schedule by its payee and amount.
StepName named(const Schedule& schedule) {
    TransactionRecord shown;
    shown.payee = schedule.payee;
    shown.amount = static_cast<float>(static_cast<double>(schedule.cents) / 100.0);
    return {shown, 0, kNoDate, {}};
}

}  // namespace

PutSchedule::PutSchedule(Schedule schedule, std::optional<Schedule> before,
                         std::vector<UsedOccurrence> occurrences)
    : schedule_(std::move(schedule)), before_(std::move(before)), occurrences_(std::move(occurrences)) {}

IoStatus PutSchedule::plan(const SessionState&, const RegisterLock*, ChangePlan& plan) {
    plan.store = [this](CompanionStore& store) {
        if (const IoStatus put = store.put_schedule(schedule_); !put) return put;
        for (UsedOccurrence& each : occurrences_) each.schedule_id = schedule_.id;
        return occurrences_.empty() ? IoStatus{} : store.set_occurrences(occurrences_);
    };
    plan.store_made_when_missing = true;
    return {};
}

void PutSchedule::applied(SessionState& state, ChangePlan&, RowChange&) {
    state.store_state = StoreState::kRead;
}

std::shared_ptr<Change> PutSchedule::inverse() const {
    if (before_) return std::make_shared<PutSchedule>(*before_, schedule_);
    return std::make_shared<RemoveSchedule>(schedule_, occurrences_);
}

StepName PutSchedule::step_name() const { return named(schedule_); }

RemoveSchedule::RemoveSchedule(Schedule schedule, std::vector<UsedOccurrence> occurrences)
    : schedule_(std::move(schedule)), occurrences_(std::move(occurrences)) {}

IoStatus RemoveSchedule::plan(const SessionState&, const RegisterLock*, ChangePlan& plan) {
    if (schedule_.id <= 0) return IoStatus::failure(EINVAL);
    plan.store = [this](CompanionStore& store) { return store.remove_schedule(schedule_.id); };
    return {};
}

void RemoveSchedule::applied(SessionState& state, ChangePlan&, RowChange&) {
    state.store_state = StoreState::kRead;
}

std::shared_ptr<Change> RemoveSchedule::inverse() const {
    // Made again with its own id, and what became of its occurrences with it.
    return std::make_shared<PutSchedule>(schedule_, std::nullopt, occurrences_);
}

StepName RemoveSchedule::step_name() const { return named(schedule_); }

}  // namespace quillet
