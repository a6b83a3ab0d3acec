#include "core/session/delete_register.h"

#include "core/register/record_fingerprint.h"
#include "core/register/register_file.h"
#include "core/session/rewrite_record.h"

namespace quillet {

using namespace record_format;

namespace {

// The removed register put back where it was, unless something has taken its name meanwhile.
class RestoreRegister : public Change {
  public:
    RestoreRegister(std::string bytes, std::string file) : bytes_(std::move(bytes)), file_(std::move(file)) {}
    ChangeKind kind() const override { return ChangeKind::kDeleteRegister; }
    bool undoable() const override { return false; }
    bool needs_register_file() const override { return false; }
    IoStatus plan(const SessionState&, const RegisterLock*, ChangePlan& plan) override {
        if (file_size(file_) != -1) return IoStatus::failure(ESTALE);
        plan.restored_file = file_;
        plan.restored = bytes_;
        return {};
    }
    void applied(SessionState&, ChangePlan&, RowChange& rows) override {
        rows = {RowChange::Kind::kReloaded, -1};
    }

  private:
    std::string bytes_;
    std::string file_;
};

}  // namespace

DeleteRegister::DeleteRegister(std::int64_t slot, std::uint64_t fingerprint)
    : slot_(slot), fingerprint_(fingerprint) {}

IoStatus DeleteRegister::plan(const SessionState& state, const RegisterLock*, ChangePlan& plan) {
    RecordBytes record{};
    if (const IoStatus read = read_record_bytes(state.path, slot_, record); !read) return read;
    if (record_fingerprint(record.data()) != fingerprint_ || record[kDeletedOffset] != kLive)
        return IoStatus::failure(ESTALE);
    if (const IoStatus resolved = link_target(state.path, removed_file_); !resolved) return resolved;
    if (const IoStatus read = read_whole_register(state.path, removed_bytes_); !read) return read;
    plan.removed_file = removed_file_;
    return {};
}

void DeleteRegister::applied(SessionState& state, ChangePlan&, RowChange& rows) {
    rows = {RowChange::Kind::kClosed, state.list.row_of_slot(slot_)};
    state.list.clear();
    state.places.clear();
    state.statements.clear();
    state.path.clear();
    state.store_state = StoreState::kUnread;
}

std::shared_ptr<Change> DeleteRegister::inverse() const {
    return std::make_shared<RestoreRegister>(removed_bytes_, removed_file_);
}

StepName DeleteRegister::step_name() const {
    const auto at = static_cast<std::size_t>(slot_) * kRecordSize;
    if (removed_bytes_.size() < at + kRecordSize) return {};
    return {decode_record(reinterpret_cast<const std::uint8_t*>(removed_bytes_.data()) + at), 0, kNoDate, {}};
}

std::shared_ptr<Change> delete_row(const RegisterList& list, std::int64_t row, std::uint64_t fingerprint) {
    const std::int64_t slot = list.slot_of(row);
    if (list.row_count() == 1) return std::make_shared<DeleteRegister>(slot, fingerprint);
    return std::make_shared<DeleteTransaction>(slot, fingerprint);
}

}  // namespace quillet
