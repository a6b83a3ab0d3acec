// Rewriting one record in place: an edit, voiding or un-voiding, deleting (the deleted flag set),
// and each of these taken back. The record must still hold the bytes the change was made for. The
// store follows when the record's fingerprint changes and a link or mark names its fingerprint's
// records (they change places), and a reconciled record's statement is marked changed.
#pragma once

#include "core/session/change.h"

namespace quillet {

class RewriteRecord : public Change {
  public:
    RewriteRecord(std::int64_t slot, const RecordBytes& before, const RecordBytes& after);
    ChangeKind kind() const override;
    bool reads_store() const override { return true; }
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;
    void applied(SessionState& state, ChangePlan& plan, RowChange& rows) override;
    std::shared_ptr<Change> inverse() const override;
    StepName step_name() const override;

  protected:
    std::int64_t slot_;
    RecordBytes before_;
    RecordBytes after_;

  private:
    std::int64_t changed_statement_ = 0;  // the reconciled record's statement, marked changed
};

// An edit of the slot's record, opened with these bytes, to the record (its number set to the slot).
std::shared_ptr<RewriteRecord> edit_transaction(std::int64_t slot, const RecordBytes& opened,
                                                const TransactionRecord& record);

// Deleting the record at slot, which must still have the fingerprint it was listed with: its bytes
// are read under the register's lock, and only the deleted flag changes.
class DeleteTransaction : public RewriteRecord {
  public:
    DeleteTransaction(std::int64_t slot, std::uint64_t fingerprint);
    IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) override;

  private:
    std::uint64_t fingerprint_;
};

// The record at slot read under the register's lock, as it is (before) and deleted (after); ESTALE
// when it no longer has the fingerprint it was listed with or is deleted already.
IoStatus read_for_deleting(const SessionState& state, std::int64_t slot, std::uint64_t fingerprint,
                           RecordBytes& before, RecordBytes& after);

// The kind of a rewrite: kVoid or kUnvoid when nothing but the void flag changed, kDelete when the
// deleted flag was set, else kEdit.
ChangeKind kind_of_rewrite(const RecordBytes& before, const RecordBytes& after);

}  // namespace quillet
