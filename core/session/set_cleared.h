// Marking records cleared or uncleared at the bank (reconciled ones stay as they are): only the
// store changes, but the register must be as listed, for the marks name records by their places
// in the file as listed. Not an undo step: the user ticks the mark off again.
#pragma once

#include <vector>

#include "core/session/change.h"

namespace quillet {

class SetCleared : public Change {
  public:
    SetCleared(std::vector<std::int64_t> slots, std::vector<bool> cleared);
    ChangeKind kind() const override { return ChangeKind::kCleared; }
    bool needs_usable_store() const override { return true; }
    bool undoable() const override { return false; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;

  private:
    std::vector<std::int64_t> slots_;
    std::vector<bool> cleared_;
    std::vector<std::int64_t> changed_;  // the slots whose state changes...
    std::vector<StoredMark> marks_;      // ...and their new marks
};

}  // namespace quillet
