// Changing categories: the list of categories and the payee rules, and the category lines of any
// number of records, as one change of the store (made when missing) and one undo step. A rename,
// a merge, a delete with where its transactions go, a rule, a transaction categorised or split and
// rules applied to many are all this change with other contents (core/category makes them).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/session/change.h"

namespace quillet {

// A record's category lines before and after; the record must still have its fingerprint.
struct RecordCategories {
    std::int64_t slot = 0;
    std::uint64_t fingerprint = 0;
    CategoryLines before;
    CategoryLines after;
};

class ChangeCategories : public Change {
  public:
    // The lists before and after (none where they stay), and the records whose lines change; the
    // undo menu names the step by the text.
    ChangeCategories(std::string named, std::optional<CategoryLists> before,
                     std::optional<CategoryLists> after, std::vector<RecordCategories> records);
    ChangeKind kind() const override { return ChangeKind::kCategory; }
    bool reads_store() const override { return true; }
    bool needs_usable_store() const override { return true; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override { return {std::nullopt, 0, kNoDate, named_}; }
    const std::vector<RecordCategories>& records() const { return records_; }

  private:
    std::string named_;
    std::optional<CategoryLists> before_;
    std::optional<CategoryLists> after_;
    std::vector<RecordCategories> records_;
};

// A change that writes records (an add, an edit, an import, or their taking back) with the category
// lines of the records it writes, in one step: the appended records in order, the one rewritten, or
// the records cut (whose lines go). The lists change with it where given (a learned payee rule).
class WithCategories : public Change {
  public:
    WithCategories(std::shared_ptr<Change> inner, std::vector<CategoryLines> before,
                   std::vector<CategoryLines> after, std::optional<CategoryLists> lists_before = std::nullopt,
                   std::optional<CategoryLists> lists_after = std::nullopt);
    ChangeKind kind() const override { return inner_->kind(); }
    bool reads_store() const override { return true; }
    bool needs_usable_store() const override { return inner_->needs_usable_store(); }
    bool needs_as_listed() const override { return inner_->needs_as_listed(); }
    bool needs_register_file() const override { return inner_->needs_register_file(); }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    bool undoable() const override { return inner_->undoable(); }
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override { return inner_->step_name(); }
    const Change& inner() const { return *inner_; }

  private:
    std::shared_ptr<Change> inner_;
    std::vector<CategoryLines> before_;
    std::vector<CategoryLines> after_;
    std::optional<CategoryLists> lists_before_;
    std::optional<CategoryLists> lists_after_;
    std::vector<std::int64_t> slots_;  // the records written, once planned (appended ones once applied)
};

}  // namespace quillet
