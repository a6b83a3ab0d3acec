// Finishing a statement: the ticked records become reconciled with it, the statement's other records
// uncleared, and the statement is recorded. Only the store changes, but the register must be as
// listed (the marks name records by their places). One undo step: taking it back removes the
// statement and gives the records their marks before; made again, it keeps its number.
#pragma once

#include <vector>

#include "core/session/change.h"

namespace quillet {

class FinishStatement : public Change {
  public:
    FinishStatement(StoredStatement statement, std::vector<std::int64_t> slots, std::vector<bool> ticked);
    ChangeKind kind() const override { return ChangeKind::kReconcile; }
    bool needs_usable_store() const override { return true; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override { return {std::nullopt, 0, statement_.date, {}}; }

    // The statement and its transactions' marks before and after, by slot and by place.
    struct Marks {
        std::vector<std::int64_t> slots;
        std::vector<StoredMark> before;
        std::vector<StoredMark> after;
    };

  private:
    StoredStatement statement_;
    std::vector<std::int64_t> asked_slots_;
    std::vector<bool> ticked_;
    std::shared_ptr<Marks> marks_;  // worked out when first planned
};

}  // namespace quillet
