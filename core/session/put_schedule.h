// Adding, changing and deleting a schedule: only the companion store changes (the store is made
// when missing). One undo step each: a schedule added is deleted again, one changed gets its old
// form back, one deleted comes back with what became of its occurrences.
#pragma once

#include <optional>
#include <vector>

#include "core/session/change.h"

namespace quillet {

class PutSchedule : public Change {
  public:
    // The schedule as it becomes (a new one without an id), and as it was when it is changed.
    explicit PutSchedule(Schedule schedule, std::optional<Schedule> before = std::nullopt,
                         std::vector<UsedOccurrence> occurrences = {});
    ChangeKind kind() const override { return ChangeKind::kSchedule; }
    bool needs_usable_store() const override { return true; }
    bool needs_as_listed() const override { return false; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override;
    // The schedule as written, its id given.
    const Schedule& schedule() const { return schedule_; }

  private:
    Schedule schedule_;
    std::optional<Schedule> before_;
    std::vector<UsedOccurrence> occurrences_;  // written with it: a deleted one's, brought back
};

class RemoveSchedule : public Change {
  public:
    // The schedule and what became of its occurrences, which go with it.
    RemoveSchedule(Schedule schedule, std::vector<UsedOccurrence> occurrences);
    ChangeKind kind() const override { return ChangeKind::kSchedule; }
    bool needs_usable_store() const override { return true; }
    bool needs_as_listed() const override { return false; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override;

  private:
    Schedule schedule_;
    std::vector<UsedOccurrence> occurrences_;
};

}  // namespace quillet
