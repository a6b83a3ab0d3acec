// Deleting the last row: the register file goes with it (a link at the path stays; the file it leads
// to goes), and no register is open afterwards. The store stays beside it, so that taking the
// change back puts the register back to it, byte for byte.
#pragma once

#include "core/session/change.h"

namespace quillet {

class DeleteRegister : public Change {
  public:
    // The record at slot must still have the fingerprint it was listed with.
    DeleteRegister(std::int64_t slot, std::uint64_t fingerprint);
    ChangeKind kind() const override { return ChangeKind::kDeleteRegister; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override;

  private:
    std::int64_t slot_;
    std::uint64_t fingerprint_;
    std::string removed_bytes_;  // every byte the file held
    std::string removed_file_;   // the file removed: the path, or where a link at it led
};

// Deleting the row: its record flagged deleted, or the register with its last row.
std::shared_ptr<Change> delete_row(const RegisterList& list, std::int64_t row, std::uint64_t fingerprint);

}  // namespace quillet
