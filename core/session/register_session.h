// The open register: the one object through which the desktop program and the command-line tool
// read and change a register and its companion store. It owns what the program knows of them (the
// path, the file's stamp when it was listed, every record's fingerprint, place and marks, the list's
// rows, the statements) and the undo history. Nothing of a session lives in statics; two sessions
// may stand side by side.
//
// Every change is a value (change.h) that apply takes through one path: settle what a killed change
// left, take the register's lock, check that the file is as listed, plan, write the intent when
// the change is more than one step, write the register, write the store with the change's number,
// remove the intent, bring the session's knowledge up to date and record the undo step. Undo and
// redo apply a step's inverse, or the step again, through the same path. A change ends done; stale,
// when another program changed the register since it was listed (nothing was written: the caller
// opens it again); or failed, with the file and the cause (both files as they were).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/list/register_list.h"
#include "core/list/row_change.h"
#include "core/register/record.h"
#include "core/register/register_file.h"
#include "core/runtime/io_status.h"
#include "core/session/change.h"
#include "core/session/session_result.h"
#include "core/session/session_state.h"
#include "core/session/undo_history.h"

namespace quillet {

// Settles what a killed change left beside the register (intent.h), then checks the file as
// check_register_file does: what every reader of a register does first.
RegisterCheck settle_and_check(const std::string& path, IoStatus* cause = nullptr);

// A store that an earlier version made beside a symbolic link to the register moves beside the
// register itself, where the register is found however it is opened.
void adopt_store_beside_link(const std::string& register_path);

class RegisterSession {
  public:
    struct Opened {
        IoStatus read;                 // a failure part way: the rows read so far are there
        std::int64_t misnumbered = 0;  // records whose stored number is not their slot
    };
    // Reads the register at path into the list in the order: each live record's slot and figures.
    // The records' fingerprints and places are made when first needed (make_places), the payee
    // index when first asked for (RegisterList). Another path than the history's starts a new undo
    // history; the same path keeps it unless another program changed the file since our last
    // write. The caller has settled and checked the file (settle_and_check).
    Opened open(const std::string& path, int list_order);
    // No register is open afterwards; the undo history stays for the file that was.
    void close();

    bool is_open() const { return state_.open(); }
    const std::string& path() const { return state_.path; }
    const RegisterList& list() const { return state_.list; }
    int list_order() const { return state_.list.order(); }
    std::int64_t row_count() const { return state_.list.row_count(); }
    std::int64_t slot_of(std::int64_t row) const { return state_.list.slot_of(row); }
    std::int64_t row_of_slot(std::int64_t slot, std::int64_t hint = -1) const {
        return state_.list.row_of_slot(slot, hint);
    }
    const BalanceBook& balances() const { return state_.list.balances(); }
    const UndoHistory& history() const { return history_; }
    // Reads the slot's record as it stands in the file.
    IoStatus read(std::int64_t slot, RecordBytes& bytes) const;
    // The row's nine texts as the list shows them, from its record in the file; false when the
    // record is no longer the one listed (another program changed it) or cannot be read.
    bool row_text(std::int64_t row, std::string& out) const;
    // The fingerprint the row's record had when it was listed or written (the places made first).
    std::uint64_t fingerprint_of(std::int64_t row);
    // Makes every record's fingerprint and place from the file, once an open: each change, the
    // store's reading (which the desktop asks for once the list is painted) and places() make them
    // first.
    void make_places();
    // Works the balances and this month's figures out again (the month comes from today).
    void recompute() { state_.list.recompute(); }
    std::size_t memory_bytes() const;

    // The one path every change takes; an undoable change becomes the next undo step.
    SessionResult apply(std::shared_ptr<Change> change, RowChange& rows);
    // Takes the last change back, or makes the last one taken back again.
    SessionResult undo(RowChange& rows);
    SessionResult redo(RowChange& rows);

    // The companion store beside the register. Its links and marks are read once per open: when the
    // caller asks (the desktop, after the list is painted) or before anything that needs them. A
    // missing store is normal; one that cannot be read leaves the session working without it, and
    // says why.
    void read_store();
    StoreState store_state() const { return state_.store_state; }
    const IoStatus& store_problem() const { return state_.store_problem; }
    std::string store_path() const { return store_path_of(state_.path); }
    // Every record of the file by slot, deleted ones too: fingerprints, places, import marks (read
    // from the store first).
    const RecordPlaces& places();
    // The categories, the payee rules and each record's category lines, once the store is read.
    const CategoryBook& categories();
    // Looks the identities up in the store (read first), and reads its imports (oldest first). A
    // missing store knows none of them.
    IoStatus look_up_imports(const std::vector<std::string>& identities,
                             std::vector<std::optional<FoundIdentity>>& found,
                             std::vector<StoredImport>& imports);
    // The import links of the records at the places (none for a record no import made).
    IoStatus look_up_links(const std::vector<RecordPlace>& places,
                           std::vector<std::optional<StoredLink>>& found);
    // The schedules and what became of their occurrences (none without a store).
    IoStatus look_up_schedules(std::vector<Schedule>& schedules, std::vector<UsedOccurrence>& used);
    // The list's filters saved under a name, by name, each as its terms' line (none without a store).
    IoStatus look_up_saved_filters(std::vector<std::pair<std::string, std::string>>& filters);

    // The row's state against the bank's statements and a reconciled row's statement, the store
    // read first; shown_state gives the state as known, without reading (for painting).
    ClearState row_state(std::int64_t row);
    ClearState shown_state(std::int64_t row) const;
    std::int64_t row_statement(std::int64_t row);
    // The statements reconciled, oldest first (the store read first).
    const std::vector<StoredStatement>& statements();
    const StoredStatement* statement(std::int64_t id);
    // The balance of the cleared and reconciled rows (void rows count nothing), the store read first.
    Figure cleared_balance();
    // Each slot's state as a byte (0 uncleared, 1 cleared, 2 reconciled), as the reports take
    // them; empty while no record has one (the store read first).
    std::vector<std::uint8_t> states_by_slot();

    // Copies the register as it is, with its store, to the destination (the exit's backup).
    SessionResult back_up(const std::string& destination) const;
    // Copies the register as listed, with its store, to the destination and goes on with the copy.
    SessionResult save_as(const std::string& destination);
    // Makes a new one-record register at path (replacing a file there, and its store) and starts
    // its history; the caller opens it.
    SessionResult create(const std::string& path, const TransactionRecord& opening);

  private:
    SessionResult run(Change& change, RowChange& rows);
    // Writes the plan's register part, then its store part, as one change (intent.h).
    SessionResult write(ChangePlan& plan, const RegisterLock* lock, const std::string& path);
    // Copies the register and its store to the destination as one change; a store that could not
    // be copied is told in store_problem (the copy then has none).
    SessionResult copy_to(const std::string& destination, bool as_listed, IoStatus& store_problem) const;
    void ensure_store_read();
    std::uint64_t listed_fingerprint(std::int64_t row) const;
    void read_category_lines(CategoryLists lists, const std::vector<CategoryPart>& parts,
                             const RecordPlaces::PrintedSlots& slots);

    SessionState state_;
    UndoHistory history_;
};

}  // namespace quillet
