#include "core/session/delete_entered.h"

#include <algorithm>

#include "core/store/companion_store.h"

namespace quillet {

RewriteOccurrence::RewriteOccurrence(std::int64_t slot, const RecordBytes& before, const RecordBytes& after,
                                     const UsedOccurrence& key, std::optional<UsedOccurrence> was,
                                     std::optional<UsedOccurrence> becomes)
    : RewriteRecord(slot, before, after), key_(key), was_(std::move(was)), becomes_(std::move(becomes)) {}

void RewriteOccurrence::plan_occurrence(ChangePlan& plan) const {
    auto record_part = std::move(plan.store);
    plan.store = [record_part, key = key_, becomes = becomes_](CompanionStore& store) {
        if (record_part) {
            if (const IoStatus done = record_part(store); !done) return done;
        }
        return becomes ? store.set_occurrences({*becomes}) : store.forget_occurrences({key});
    };
}

IoStatus RewriteOccurrence::plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) {
    if (const IoStatus planned = RewriteRecord::plan(state, lock, plan); !planned) return planned;
    plan_occurrence(plan);
    return {};
}

std::shared_ptr<Change> RewriteOccurrence::inverse() const {
    return std::make_shared<RewriteOccurrence>(slot_, after_, before_, key_, becomes_, was_);
}

DeleteEntered::DeleteEntered(std::int64_t slot, std::uint64_t fingerprint, const UsedOccurrence& entered,
                             bool skip, DateValue today)
    : RewriteOccurrence(slot, {}, {}, entered, entered,
                        skip ? std::optional<UsedOccurrence>(UsedOccurrence{
                                   entered.schedule_id, entered.index, OccurrenceState::kSkipped, today, 0})
                             : std::nullopt),
      fingerprint_(fingerprint) {}

IoStatus DeleteEntered::plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) {
    if (const IoStatus read = read_for_deleting(state, slot_, fingerprint_, before_, after_); !read)
        return read;
    return RewriteOccurrence::plan(state, lock, plan);
}

std::optional<UsedOccurrence> occurrence_entered_as(const std::vector<UsedOccurrence>& used,
                                                    std::uint64_t fingerprint) {
    const auto found = std::find_if(used.begin(), used.end(), [&](const UsedOccurrence& each) {
        return each.state == OccurrenceState::kEntered && each.fingerprint == fingerprint;
    });
    return found == used.end() ? std::nullopt : std::optional<UsedOccurrence>(*found);
}

}  // namespace quillet
