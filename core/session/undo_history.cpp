#include "core/session/undo_history.h"

namespace quillet {

void UndoHistory::start(const std::string& path, HistoryEnd reason) {
    ended_ = steps_.empty() ? HistoryEnd::kNone : reason;
    path_ = path;
    steps_.clear();
    position_ = 0;
    stamp_ = file_stamp(path);
}

void UndoHistory::record(std::shared_ptr<Change> step) {
    steps_.resize(position_);
    steps_.push_back(std::move(step));
    position_ = steps_.size();
    ended_ = HistoryEnd::kNone;
}

std::shared_ptr<Change> UndoHistory::next_undo() const {
    return position_ > 0 ? steps_[position_ - 1] : nullptr;
}

std::shared_ptr<Change> UndoHistory::next_redo() const {
    return position_ < steps_.size() ? steps_[position_] : nullptr;
}

}  // namespace quillet
