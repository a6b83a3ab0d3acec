// A change to the register and its companion store, as a value. Each kind of change is one small
// type that knows what it writes to the register and what to the store (its plan), what the
// session's knowledge becomes once both are written, and the change that takes it back. The
// session applies every kind through one path (RegisterSession::apply), undo and redo too: a new
// kind is a new file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/list/row_change.h"
#include "core/register/record.h"
#include "core/register/register_lock.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/dates.h"
#include "core/runtime/io_status.h"
#include "core/session/session_state.h"
#include "core/store/companion_store.h"

namespace quillet {

// The kinds, as the undo menu names them (in this order); the last ones are never undo steps.
enum class ChangeKind {
    kAdd,             // a record appended
    kEdit,            // a record rewritten in place
    kVoid,            // an edit that only set the void flag
    kUnvoid,          // an edit that only cleared it
    kDelete,          // the deleted flag set
    kDeleteRegister,  // the last row deleted by removing the register file
    kImport,          // records appended by an import, with their links in the store
    kReconcile,       // a statement finished: only the store changes
    kEnterScheduled,  // scheduled occurrences entered: records appended, the occurrences noted entered
    kSchedule,        // a schedule added, changed or deleted: only the store changes
    kCategory,        // categories, payee rules or transactions' categories: only the store changes
    kCleared,         // records marked cleared or uncleared
    kCompaction,      // the deleted records dropped and the rest renumbered
    kSavedFilter,     // a filter of the list saved under a name or deleted: only the store changes
};

// A record written over in place; it must still hold the bytes before.
struct RecordWrite {
    std::int64_t slot = 0;
    RecordBytes before{};
    RecordBytes after{};
};

// What a change writes, worked out under the register's lock with the file as listed. The path
// writes the register's part, then the store's, as one change that a kill leaves whole or undone.
struct ChangePlan {
    std::vector<RecordWrite> writes;
    std::string appended;        // whole records appended at the end (numbered by the path)
    std::int64_t cut_from = -1;  // the records from this slot to the end are cut...
    std::string cut;             // ...and must hold these bytes
    // A new register file written whole (compaction), renamed over the register.
    std::unique_ptr<AtomicReplace> replacement;
    std::string removed_file;   // the register file is removed (where a link at the path leads)
    std::string restored_file;  // the register file comes back at this file...
    std::string restored;       // ...with these bytes
    // The store's part, made in one transaction; none when empty.
    std::function<IoStatus(CompanionStore&)> store;
    bool store_made_when_missing = false;  // else a missing store has nothing to keep in step

    std::int64_t first_appended = -1;  // told by the path: the slot of the first appended record

    bool writes_register() const {
        return !writes.empty() || !appended.empty() || cut_from >= 0 || replacement ||
               !removed_file.empty() || !restored_file.empty();
    }
};

// How the undo menu names a step: by the record it changed (as it is after the change), by the
// number of records an import added, by the day of the statement finished, or by a text.
struct StepName {
    std::optional<TransactionRecord> record;
    std::int64_t count = 0;
    DateValue statement_day = kNoDate;
    std::string text;  // else a name of its own (a category's)
};

class Change {
  public:
    virtual ~Change() = default;
    virtual ChangeKind kind() const = 0;
    // Whether the companion store is read before the change is planned (what it writes depends on
    // the links and marks known), and whether the change is refused while the store cannot be used.
    // The store never blocks a change that only keeps it in step.
    virtual bool reads_store() const { return false; }
    virtual bool needs_usable_store() const { return false; }
    // Whether the register must be as listed (every change but the exit's compaction).
    virtual bool needs_as_listed() const { return true; }
    // Whether the register file is there to lock (all but putting a removed register back).
    virtual bool needs_register_file() const { return true; }
    // Works out what to write, under the register's lock. Fails with ESTALE when a record is not
    // the one the change was made for.
    // The lock is there unless the change needs no register file.
    virtual IoStatus plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) = 0;
    // Both files are written: the session's knowledge follows, and the rows tell what the list
    // must show.
    virtual void applied(SessionState& state, ChangePlan& plan, RowChange& rows) = 0;
    // Whether the change becomes an undo step, and the change that takes it back once applied.
    virtual bool undoable() const { return true; }
    virtual std::shared_ptr<Change> inverse() const { return nullptr; }
    // Whether the changes before this one can no longer be taken back (compaction moves records).
    virtual bool ends_history() const { return false; }
    virtual StepName step_name() const { return {}; }
};

}  // namespace quillet
