// Deleting a transaction a schedule entered: the record is deleted as any is and, in the same
// change, its occurrence is skipped (it never falls due again) or opened (it is due again). Undo
// brings the record back with its occurrence entered, as one step.
#pragma once

#include <optional>

#include "core/session/rewrite_record.h"
#include "core/store/stored_schedule.h"

namespace quillet {

// A record rewritten with its occurrence's state changed alongside: before it the store holds the
// occurrence (key) as was says, after it as becomes says; none is an open occurrence.
class RewriteOccurrence : public RewriteRecord {
  public:
    RewriteOccurrence(std::int64_t slot, const RecordBytes& before, const RecordBytes& after,
                      const UsedOccurrence& key, std::optional<UsedOccurrence> was,
                      std::optional<UsedOccurrence> becomes);
    bool needs_usable_store() const override { return true; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    std::shared_ptr<Change> inverse() const override;

  protected:
    // Adds the occurrence's new state to the store's part of the plan.
    void plan_occurrence(ChangePlan& plan) const;

    UsedOccurrence key_;
    std::optional<UsedOccurrence> was_;
    std::optional<UsedOccurrence> becomes_;
};

class DeleteEntered : public RewriteOccurrence {
  public:
    // The occurrence as the store holds it (entered, with this record's fingerprint); skip, or open.
    DeleteEntered(std::int64_t slot, std::uint64_t fingerprint, const UsedOccurrence& entered, bool skip,
                  DateValue today);
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;

  private:
    std::uint64_t fingerprint_;
};

// The entered occurrence whose record has the fingerprint, or none.
std::optional<UsedOccurrence> occurrence_entered_as(const std::vector<UsedOccurrence>& used,
                                                    std::uint64_t fingerprint);

}  // namespace quillet
