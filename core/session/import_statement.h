// Importing a statement: the batch's records appended in one write, and the import with a link from
// each line's identity to the record it became recorded in the companion store (made when missing),
// with the records marked cleared when the batch says so (they are the bank's own), as one change
// that a kill leaves whole or not at all. Taken back by cutting the records and
// removing the import; made again with the same import number.
#pragma once

#include <string>
#include <vector>

#include "core/session/change.h"

namespace quillet {

// An import ready to be written: the records in the order they go, each one's identity, and what
// the store keeps of the file.
// A record imported gets the category the payee rules give it, unless one was chosen for it.
inline constexpr std::int64_t kCategoryByRules = -1;

struct ImportBatch {
    std::vector<TransactionRecord> records;
    std::vector<std::string> identities;
    StoredImport entry;
    bool cleared = false;                       // the records arrive cleared at the bank
    std::vector<std::int64_t> categories = {};  // chosen for each record (none: each as the rules give)
};

class ImportStatement : public Change {
  public:
    explicit ImportStatement(ImportBatch batch);
    ChangeKind kind() const override { return ChangeKind::kImport; }
    // An import must know what was imported before: it waits for a store it cannot read.
    bool needs_usable_store() const override { return true; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override;

  private:
    std::string records_;  // the records, one after another (numbered once applied)
    std::vector<std::string> identities_;
    StoredImport entry_;
    bool cleared_ = false;
    std::vector<StoredMark> marks_;  // the cleared marks the plan writes
    std::int64_t first_ = -1;
};

}  // namespace quillet
