#include "core/session/add_transaction.h"

#include "core/register/record_fingerprint.h"

namespace quillet {

using namespace record_format;

namespace {

// The added record cut again; its row goes.
class CutAdded : public Change {
  public:
    CutAdded(std::int64_t slot, const RecordBytes& bytes) : slot_(slot), bytes_(bytes) {}
    ChangeKind kind() const override { return ChangeKind::kAdd; }
    bool undoable() const override { return false; }
    IoStatus plan(const SessionState&, const RegisterLock*, ChangePlan& plan) override {
        plan.cut_from = slot_;
        plan.cut.assign(bytes_.begin(), bytes_.end());
        return {};
    }
    void applied(SessionState& state, ChangePlan&, RowChange& rows) override {
        state.places.pop(1);
        const std::int64_t row = state.list.row_of_slot(slot_);
        if (row < 0) return;
        state.list.remove(row, bytes_.data());
        rows = {RowChange::Kind::kRemoved, row};
    }

  private:
    std::int64_t slot_;
    RecordBytes bytes_;
};

}  // namespace

AddTransaction::AddTransaction(const TransactionRecord& record, bool at_top)
    : bytes_(encode_record(record)), at_top_(at_top) {}

IoStatus AddTransaction::plan(const SessionState&, const RegisterLock*, ChangePlan& plan) {
    plan.appended.assign(bytes_.begin(), bytes_.end());
    return {};
}

void AddTransaction::applied(SessionState& state, ChangePlan& plan, RowChange& rows) {
    slot_ = plan.first_appended;
    put_i32(bytes_.data() + kRecordNumberOffset, static_cast<std::int32_t>(slot_));
    // An append goes last among its fingerprint's records: no link's place moves.
    state.places.push(record_fingerprint(bytes_.data()), true);
    rows = {RowChange::Kind::kInserted, state.list.row_for_new(at_top_)};
    state.list.insert(rows.row, slot_, bytes_.data());
}

std::shared_ptr<Change> AddTransaction::inverse() const { return std::make_shared<CutAdded>(slot_, bytes_); }

StepName AddTransaction::step_name() const { return {decode_record(bytes_.data()), 0, kNoDate, {}}; }

}  // namespace quillet
