// Adding a transaction: one record appended to the register; its row goes at the top or at the
// end of the list. Taken back by cutting the record again.
#pragma once

#include "core/session/change.h"

namespace quillet {

class AddTransaction : public Change {
  public:
    AddTransaction(const TransactionRecord& record, bool at_top);
    ChangeKind kind() const override { return ChangeKind::kAdd; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override;
    // The slot the record went to, once applied.
    std::int64_t slot() const { return slot_; }

  private:
    RecordBytes bytes_{};
    bool at_top_ = false;
    std::int64_t slot_ = -1;
};

}  // namespace quillet
