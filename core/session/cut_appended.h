// A batch of appended records cut again from the end of the register, with the store's part of
// taking it back (an import's links and marks removed, scheduled occurrences opened again): the
// inverse of every change that appends a batch.
#pragma once

#include <functional>
#include <string>

#include "core/session/change.h"
#include "core/session/record_run.h"

namespace quillet {

class CutAppended : public Change {
  public:
    CutAppended(ChangeKind kind, std::int64_t first, std::string records,
                std::function<IoStatus(CompanionStore&)> store)
        : kind_(kind), first_(first), records_(std::move(records)), store_(std::move(store)) {}
    ChangeKind kind() const override { return kind_; }
    bool undoable() const override { return false; }
    IoStatus plan(const SessionState&, const RegisterLock*, ChangePlan& plan) override {
        plan.cut_from = first_;
        plan.cut = records_;
        plan.store = store_;
        return {};
    }
    void applied(SessionState& state, ChangePlan&, RowChange& rows) override {
        state.list.remove_appended(first_, records_);
        state.places.pop(count_of(records_));
        rows = {RowChange::Kind::kRowsChanged, -1};
    }

  private:
    ChangeKind kind_;
    std::int64_t first_;
    std::string records_;
    std::function<IoStatus(CompanionStore&)> store_;
};

}  // namespace quillet
