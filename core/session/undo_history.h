// The changes made to one register in this run, undone and redone step by step. A step is the
// change value itself: undo applies its inverse through the session's one path, redo applies it
// again. Steps find their records by slot, never by a row of the list, and no step is applied once
// another program has changed the file since our last write: the session checks the file as listed,
// and reading the register again after such a change ends the history.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/runtime/file_access.h"
#include "core/session/change.h"

namespace quillet {

// Why the last history of the program ended.
enum class HistoryEnd { kNone, kOpened, kCreated, kCompacted, kChangedElsewhere };

class UndoHistory {
  public:
    // Starts an empty history for the register as it is now. The reason is kept for the menu when
    // the history that ends had steps.
    void start(const std::string& path, HistoryEnd reason);
    // Our own change, just made: steps that could be redone go.
    void record(std::shared_ptr<Change> step);
    // The file as our last write left it.
    void note_stamp(const FileStamp& stamp) { stamp_ = stamp; }
    void moved_back() { --position_; }
    void moved_forward() { ++position_; }

    const std::string& path() const { return path_; }
    const FileStamp& stamp() const { return stamp_; }
    HistoryEnd ended() const { return ended_; }
    std::shared_ptr<Change> next_undo() const;
    std::shared_ptr<Change> next_redo() const;
    std::size_t undo_count() const { return position_; }
    std::size_t redo_count() const { return steps_.size() - position_; }

  private:
    std::string path_;
    HistoryEnd ended_ = HistoryEnd::kNone;
    std::vector<std::shared_ptr<Change>> steps_;
    std::size_t position_ = 0;  // steps before it are done
    FileStamp stamp_;
};

}  // namespace quillet
