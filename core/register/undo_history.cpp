#include "core/register/undo_history.h"

#include "core/runtime/atomic_replace.h"

namespace quillet {

using namespace record_format;

namespace {

bool is_live(const RecordBytes& record) { return record[kDeletedOffset] == kLive; }

// Puts a removed register file back where it was (through a link at the path, to the file the link
// led to), unless something has taken its name meanwhile.
IoStatus restore_register(const std::string& path, const RegisterChange& step, WriteCheck& check) {
    if (file_stamp(path) != *check.listed) return IoStatus::failure(ESTALE);
    const std::string& file = step.removed_from.empty() ? path : step.removed_from;
    if (const IoStatus written = replace_file_contents(file, step.removed_file); !written) return written;
    check.after = file_stamp(path);
    return {};
}

}  // namespace

ChangeKind kind_of_edit(const RecordBytes& before, const RecordBytes& after) {
    RecordBytes same_void = after;
    same_void[kVoidOffset] = before[kVoidOffset];
    if (same_void != before || before[kVoidOffset] == after[kVoidOffset]) return ChangeKind::kEdit;
    return after[kVoidOffset] != 0 ? ChangeKind::kVoid : ChangeKind::kUnvoid;
}

TransactionRecord named_record(const RegisterChange& change) { return decode_record(change.after.data()); }

void UndoHistory::start(const std::string& path, HistoryEnd reason) {
    ended_ = steps_.empty() ? HistoryEnd::kNone : reason;
    path_ = path;
    steps_.clear();
    position_ = 0;
    stamp_ = file_stamp(path);
}

void UndoHistory::record(RegisterChange change, const WriteCheck& check) {
    if (check.listed && *check.listed != stamp_) {
        steps_.clear();
        position_ = 0;
    }
    steps_.resize(position_);
    steps_.push_back(std::move(change));
    position_ = steps_.size();
    stamp_ = check.after;
    ended_ = HistoryEnd::kNone;
}

const RegisterChange* UndoHistory::next_undo() const {
    return position_ > 0 ? &steps_[position_ - 1] : nullptr;
}

const RegisterChange* UndoHistory::next_redo() const {
    return position_ < steps_.size() ? &steps_[position_] : nullptr;
}

IoStatus UndoHistory::undo(AppliedStep* applied) {
    if (position_ == 0) return {};
    const IoStatus done = apply(steps_[position_ - 1], true, applied);
    if (done) --position_;
    return done;
}

IoStatus UndoHistory::redo(AppliedStep* applied) {
    if (position_ == steps_.size()) return {};
    const IoStatus done = apply(steps_[position_], false, applied);
    if (done) ++position_;
    return done;
}

IoStatus UndoHistory::apply(const RegisterChange& step, bool backward, AppliedStep* applied) {
    WriteCheck check;
    check.listed = stamp_;
    AppliedStep left;
    left.slot = step.slot;
    IoStatus done;
    switch (step.kind) {
        case ChangeKind::kAdd:
            if (backward) {
                check.record = step.after;
                done = remove_last_record(path_, step.slot, &check);
            } else {
                done = write_record_bytes(path_, step.slot, step.after, &check);
                left.record = step.after;
                left.shown = is_live(step.after);
            }
            break;
        case ChangeKind::kDeleteRegister:
            if (backward) {
                done = restore_register(path_, step, check);
                left.register_restored = true;
            } else {
                // Only the register the step put back goes again, as our last write left it.
                check.record = step.after;
                RemovedRegister removed;
                done = remove_register(path_, step.slot, &check, removed);
                left.register_removed = true;
            }
            break;
        case ChangeKind::kImport: {
            left.count = static_cast<std::int64_t>(step.records.size() / kRecordSize);
            std::int64_t first = step.slot;
            done = backward ? remove_appended_records(path_, step.slot, step.records, &check)
                            : append_records(path_, step.records, first, &check);
            left.shown = !backward;
            break;
        }
        case ChangeKind::kReconcile:
            // Nothing of the register changes, but its records must still be where the marks were.
            done = file_stamp(path_) == stamp_ ? IoStatus() : IoStatus::failure(ESTALE);
            check.after = stamp_;
            left.count = 0;
            break;
        default:
            check.record = backward ? step.after : step.before;
            left.record = backward ? step.before : step.after;
            left.shown = is_live(left.record);
            done = write_record_bytes(path_, step.slot, left.record, &check);
            break;
    }
    if (!done) return done;
    stamp_ = check.after;
    if (applied != nullptr) *applied = left;
    return {};
}

}  // namespace quillet
