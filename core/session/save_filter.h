// Saving the list's filter under a name, or deleting a saved one: only the companion store changes
// (made when missing). One undo step: a filter saved goes again (or gets back what it replaced), one
// deleted comes back.
#pragma once

#include <optional>
#include <string>

#include "core/session/change.h"

namespace quillet {

class SaveFilter : public Change {
  public:
    // The terms' line the name had before and has after (none: no filter of that name); the undo
    // menu names the step by the text.
    SaveFilter(std::string name, std::optional<std::string> before, std::optional<std::string> after,
               std::string named);
    ChangeKind kind() const override { return ChangeKind::kSavedFilter; }
    bool needs_usable_store() const override { return true; }
    bool needs_as_listed() const override { return false; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override { return {std::nullopt, 0, kNoDate, named_}; }

  private:
    std::string name_;
    std::optional<std::string> before_;
    std::optional<std::string> after_;
    std::string named_;
};

}  // namespace quillet
