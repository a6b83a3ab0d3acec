// The changes made to one register in this run, undone and redone step by step. A step holds the
// bytes it replaced and the bytes it wrote, and finds its record by slot, never by a row of the
// list; undoing puts the file back byte for byte. Every step goes through the register's checked
// writes, and none is applied once another program has changed the file since our last write.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/register/record.h"
#include "core/register/register_file.h"
#include "core/runtime/file_access.h"
#include "core/runtime/io_status.h"
#include "core/store/companion_store.h"

namespace quillet {

enum class ChangeKind {
    kAdd,             // a record appended at slot
    kEdit,            // a record rewritten in place
    kVoid,            // an edit that only set the void flag
    kUnvoid,          // an edit that only cleared it
    kDelete,          // the deleted flag set
    kDeleteRegister,  // the last row deleted by removing the register file
    kImport,          // records appended from slot on by an import, with their links in the store
    kReconcile,       // a statement finished: only the store changes
};

// What an import wrote to the companion store, to take it back and make it again.
struct ImportNote {
    StoredImport entry;
    std::vector<StoredLink> links;
};

// What finishing a statement wrote to the store: the statement, and its transactions' marks
// before and after (by slot and by place), to take it back and make it again.
struct ReconcileNote {
    StoredStatement statement;
    std::vector<std::int64_t> record_slots;
    std::vector<StoredMark> before;
    std::vector<StoredMark> after;
};

struct RegisterChange {
    ChangeKind kind = ChangeKind::kEdit;
    std::int64_t slot = 0;
    RecordBytes before{};      // the record before the change (not for kAdd)
    RecordBytes after{};       // the record after it; kDeleteRegister: the removed row's record
    std::string removed_file;  // kDeleteRegister: every byte of the removed file...
    std::string removed_from;  // ...and the file it was (where a link at the register's path led)
    std::string records;       // kImport: the records appended, one after another (after: the first)
    std::shared_ptr<const ImportNote> import;        // kImport: the store's part
    std::shared_ptr<const ReconcileNote> reconcile;  // kReconcile: the store's part
};

// An edit's kind: kVoid or kUnvoid when nothing but the void flag changed, else kEdit.
ChangeKind kind_of_edit(const RecordBytes& before, const RecordBytes& after);

// The record a step is named by in the menu: the one changed, as it is after the change.
TransactionRecord named_record(const RegisterChange& change);

// Why the last history of the program ended.
enum class HistoryEnd { kNone, kOpened, kCreated, kCompacted, kChangedElsewhere };

// What a step left in the file, for the list: the record at slot, or none (removed or deleted);
// or the whole register gone or back.
struct AppliedStep {
    std::int64_t slot = 0;
    bool shown = false;  // the record at slot is live and belongs in the list
    RecordBytes record{};
    bool register_removed = false;
    bool register_restored = false;
    std::int64_t count = 1;  // kImport: the records from slot on, appended or cut
};

class UndoHistory {
  public:
    // Starts an empty history for the register as it is now. The reason is kept for the menu when
    // the history that ends had steps.
    void start(const std::string& path, HistoryEnd reason);
    // Our own change, just written: the check's listed stamp is the file before and its after
    // stamp the file after. When the file was not as our last write left it (another program
    // wrote meanwhile), the older steps go. Steps that could be redone go.
    void record(RegisterChange change, const WriteCheck& check);

    const std::string& path() const { return path_; }
    // The file as our last write (or the start) left it.
    const FileStamp& stamp() const { return stamp_; }
    HistoryEnd ended() const { return ended_; }
    const RegisterChange* next_undo() const;
    const RegisterChange* next_redo() const;
    std::size_t undo_count() const { return position_; }
    std::size_t redo_count() const { return steps_.size() - position_; }

    // Applies the next step back or forward. Fails (ESTALE) when the file is not as our last
    // write left it, or with the write's cause; on failure nothing moves and the file is as it
    // was. With applied, tells what the step left for the list.
    IoStatus undo(AppliedStep* applied = nullptr);
    IoStatus redo(AppliedStep* applied = nullptr);

  private:
    IoStatus apply(const RegisterChange& step, bool backward, AppliedStep* applied);

    std::string path_;
    HistoryEnd ended_ = HistoryEnd::kNone;
    std::vector<RegisterChange> steps_;
    std::size_t position_ = 0;  // steps before it are done
    FileStamp stamp_;           // the file as our last write left it
};

}  // namespace quillet
