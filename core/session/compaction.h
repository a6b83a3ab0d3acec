// Compacting the register: its deleted records dropped and the rest renumbered, in a new file
// renamed over the register; the store forgets the dropped records and closes their fingerprints'
// places up. No undo step, and the steps before it can no longer be taken back (records moved).
// The register must be as listed, except for the compaction at exit, which takes the file as it is.
#pragma once

#include "core/register/register_file.h"
#include "core/session/change.h"

namespace quillet {

class Compaction : public Change {
  public:
    explicit Compaction(bool as_listed) : as_listed_(as_listed) {}
    ChangeKind kind() const override { return ChangeKind::kCompaction; }
    bool reads_store() const override { return true; }
    bool needs_as_listed() const override { return as_listed_; }
    bool undoable() const override { return false; }
    bool ends_history() const override { return true; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    // What was kept and removed, once applied.
    const CompactionCounts& counts() const { return counts_; }

  private:
    bool as_listed_;
    CompactionCounts counts_;
};

}  // namespace quillet
