// Entering scheduled transactions: each due occurrence's record appended, and the occurrence
// written entered in the companion store with the record it became, as one change that a kill
// leaves whole or not at all. An occurrence the store holds already (another program, or quillet-
// cli, entered or skipped it meanwhile) refuses the change whole with EALREADY: none is ever
// entered twice. Taken back by cutting the records and opening the occurrences again.
#pragma once

#include <vector>

#include "core/session/change.h"

namespace quillet {

// One occurrence to enter, and the record it becomes (its day and amount as the user left them).
struct ScheduledEntry {
    std::int64_t schedule_id = 0;
    std::int64_t index = 0;
    TransactionRecord record;
};

class EnterScheduled : public Change {
  public:
    explicit EnterScheduled(std::vector<ScheduledEntry> entries);
    ChangeKind kind() const override { return ChangeKind::kEnterScheduled; }
    bool needs_usable_store() const override { return true; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override;

  private:
    std::string records_;  // the records, one after another (numbered once applied)
    std::vector<UsedOccurrence> entered_;
    std::int64_t first_ = -1;
};

// Skipping occurrences: written skipped in the store, so that they are never due again; only the
// store changes. Refused with EALREADY as entering is. Taken back by opening them again.
class SkipScheduled : public Change {
  public:
    explicit SkipScheduled(std::vector<UsedOccurrence> skipped);
    ChangeKind kind() const override { return ChangeKind::kEnterScheduled; }
    bool needs_usable_store() const override { return true; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override {
        return {std::nullopt, static_cast<std::int64_t>(skipped_.size()), kNoDate, {}};
    }

  private:
    std::vector<UsedOccurrence> skipped_;
};

}  // namespace quillet
