// The open register: the one object through which the desktop program and the command-line tool
// read and change a register. It owns what the program knows of the register (its path, the file's
// stamp when it was listed, the rows with their slots and fingerprints, the balance figures, the
// payee index and the undo history) and makes every change by one protocol: check that the file is
// as listed, take the register's lock, write (putting the file back when the write fails), note the
// file's new stamp, keep the rows in step and record the undo step.
//
// A change ends in one of three ways: done; stale, when another program changed the register since
// it was listed (nothing was written: the caller opens it again); or failed, with the cause (the
// register is as it was). A view shows what the session holds and is told what a change did to the
// rows. Two sessions may stand side by side; nothing of a session lives in statics.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/register/balance_book.h"
#include "core/register/payee_index.h"
#include "core/register/record.h"
#include "core/register/record_places.h"
#include "core/register/register_file.h"
#include "core/register/register_lock.h"
#include "core/register/undo_history.h"
#include "core/runtime/file_access.h"
#include "core/runtime/io_status.h"
#include "core/store/companion_store.h"

namespace quillet {

enum class SessionOutcome {
    kDone,
    kStale,   // another program changed the register since it was listed; nothing was written
    kFailed,  // the write failed; the register is as it was
};

class [[nodiscard]] SessionResult {
  public:
    SessionResult() = default;
    // ESTALE is the stale outcome, any other failure a failed one.
    static SessionResult of(const IoStatus& status);
    SessionOutcome outcome() const { return outcome_; }
    bool done() const { return outcome_ == SessionOutcome::kDone; }
    bool stale() const { return outcome_ == SessionOutcome::kStale; }
    bool failed() const { return outcome_ == SessionOutcome::kFailed; }
    const IoStatus& cause() const { return cause_; }
    // A failure of the companion store's part (the register is as it was): the store's file is
    // the one to name.
    static SessionResult of_store(const IoStatus& status);
    bool in_store() const { return in_store_; }

  private:
    SessionOutcome outcome_ = SessionOutcome::kDone;
    IoStatus cause_;
    bool in_store_ = false;
};

// What a change did to the rows, for the view to show.
struct RowChange {
    enum class Kind {
        kNone,
        kInserted,     // a row at row
        kReplaced,     // the row's record was rewritten
        kRemoved,      // the row at row is gone
        kReloaded,     // the rows must be read again: open the register anew
        kRowsChanged,  // many rows came or went: show the session's rows anew (nothing to read)
        kClosed,       // the register file is gone: no register is open
    };
    Kind kind = Kind::kNone;
    std::int64_t row = -1;
};

// What the companion store is to the open register.
enum class StoreState {
    kUnread,    // not read yet since the register was opened
    kNone,      // there is none (nothing was ever imported): normal
    kRead,      // its links are read and marked
    kUnusable,  // it cannot be read (damaged, newer, locked...): the session works without it
};

// An import ready to be written: the records in the order they go, each one's identity, and what
// the store keeps of the file.
struct ImportBatch {
    std::vector<TransactionRecord> records;
    std::vector<std::string> identities;
    StoredImport entry;
};

// Row orders: the file's, or newest first.
inline constexpr int kListFileOrder = 0;
inline constexpr int kListNewestFirst = 1;

class RegisterSession {
  public:
    struct Opened {
        IoStatus read;                 // a failure part way: the rows read so far are there
        std::int64_t misnumbered = 0;  // records whose stored number is not their slot
    };
    // Reads the register at path into rows in the order: each live record's slot, fingerprint and
    // figures, and its payee in the index; its texts are made when they are asked for (row_text).
    // Another path than the history's starts a new undo history; the same path keeps it unless
    // another program changed the file since our last write (the history then ends, for it could
    // never be applied). The caller has checked the file (check_register_file).
    Opened open(const std::string& path, int list_order);
    // No register is open afterwards; the undo history stays for the file that was.
    void close();

    bool is_open() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    int list_order() const { return list_order_; }
    std::int64_t row_count() const { return static_cast<std::int64_t>(slots_.size()); }
    std::int64_t slot_of(std::int64_t row) const;
    // The row of the slot's record, or -1; the hint is tried first.
    std::int64_t row_of_slot(std::int64_t slot, std::int64_t hint = -1) const;
    const BalanceBook& balances() const { return book_; }
    const UndoHistory& history() const { return history_; }
    // The slot of the latest transaction to the payee (blanks around it and case aside).
    std::optional<std::int64_t> latest_slot_of_payee(std::string_view payee) const;
    // Reads the slot's record as it stands in the file.
    IoStatus read(std::int64_t slot, RecordBytes& bytes) const;
    // The row's nine texts as the list shows them (row_text.h), from its record in the file. False
    // when the record cannot be read or is no longer the one listed (another program changed it);
    // the texts are then those of what the file holds, if anything.
    bool row_text(std::int64_t row, std::string& out) const;
    // The fingerprint the row's record had when it was listed or written.
    std::uint64_t fingerprint_of(std::int64_t row) const;
    // Every record of the file by slot, deleted ones too: fingerprints, places, import marks.
    const RecordPlaces& places() const { return places_; }
    // Whether an import made the row's record (known once the store is read).
    bool row_imported(std::int64_t row) const;
    // Works the balances and this month's figures out again (the month comes from today).
    void recompute();
    std::size_t memory_bytes() const;

    // The companion store beside the register. Its links are read once per open: when the caller
    // asks (after the list is painted) or before the first change that needs them. A missing store
    // is normal; one that cannot be read leaves the session working without it, and says why.
    void read_store();
    StoreState store_state() const { return store_state_; }
    const IoStatus& store_problem() const { return store_problem_; }
    std::string store_path() const;
    // Looks the identities up in the store, and reads its imports (oldest first). A missing store
    // knows none of them.
    IoStatus look_up_imports(const std::vector<std::string>& identities,
                             std::vector<std::optional<FoundIdentity>>& found,
                             std::vector<StoredImport>& imports);
    // Appends the batch's records in one write and records the import and its links in the store
    // (made when missing), as one step that undo takes back whole. The rows go where the list's
    // order puts new ones. When the store cannot take the import, the records are cut again.
    SessionResult import(ImportBatch batch, RowChange& change);

    // The row's state against the bank's statements, and a reconciled row's statement (known once
    // the store is read).
    ClearState row_state(std::int64_t row) const;
    std::int64_t row_statement(std::int64_t row) const;
    // The statements reconciled, oldest first, as the store was read or our changes left it.
    const std::vector<StoredStatement>& statements() const { return statements_; }
    const StoredStatement* statement(std::int64_t id) const;
    // The balance of the cleared and reconciled rows (void rows count nothing).
    Figure cleared_balance() const;
    // Sets the slots' records cleared or uncleared (reconciled ones stay as they are). The register
    // must be as listed (else stale: the places would name other records); not an undo step.
    SessionResult set_cleared(const std::vector<std::int64_t>& slots, const std::vector<bool>& cleared);
    // Finishes a statement: the ticked slots' records become reconciled with it, the others of the
    // statement's slots uncleared; the statement is recorded. One undo step.
    SessionResult finish_statement(StoredStatement statement, const std::vector<std::int64_t>& slots,
                                   const std::vector<bool>& ticked, RowChange& change);

    // Appends the record; its row goes at the top when at_top, else at the end.
    SessionResult add(TransactionRecord record, bool at_top, RowChange& change);
    // Rewrites the slot's record, which must still hold the bytes the edit was opened on.
    SessionResult edit(std::int64_t slot, const RecordBytes& opened, TransactionRecord record,
                       RowChange& change);
    // Flags the row's record deleted; the last row takes the whole file with it.
    SessionResult delete_row(std::int64_t row, RowChange& change);
    // Drops the deleted records and renumbers the rest; with as_listed, only a file as listed (the
    // exit's compaction takes the file as it is). The rows must be read again afterwards.
    SessionResult compact(CompactionCounts& counts, bool as_listed);
    // Copies the register as it is to the destination (the exit's backup).
    SessionResult back_up(const std::string& destination) const;
    // Copies the register, as listed, to the destination and goes on with the copy.
    SessionResult save_as(const std::string& destination);
    // Makes a new one-record register at path (replacing a file there) and starts its history;
    // the caller opens it.
    SessionResult create(const std::string& path, std::string_view opening_amount_text, std::uint8_t kind,
                         const RecordTexts& texts);
    // Takes the last change back, or makes the last one taken back again. A redone add goes where
    // add puts a row.
    SessionResult undo(RowChange& change);
    SessionResult redo(bool at_top, RowChange& change);

  private:
    WriteCheck listed_check() const;
    void note_written(const WriteCheck& check);
    void insert_row(std::int64_t row, std::int64_t slot, const std::uint8_t* record);
    // Rows for the records appended from slot first on (bytes one after another).
    void insert_appended_rows(std::int64_t first, std::string_view records);
    void remove_appended_rows(std::int64_t first, std::string_view records);
    void replace_row(std::int64_t row, const std::uint8_t* record);
    void remove_row(std::int64_t row);
    void clear_rows();
    // Shows what an undo or redo left at the slot.
    void show_applied(const AppliedStep& applied, bool added, bool at_top, RowChange& change);
    SessionResult apply_step(bool backward, bool at_top, RowChange& change);
    // The store's part of an undo or redo; on failure the register's part is taken back.
    SessionResult apply_store_step(const RegisterChange& step, bool backward);
    // The store for a change, opened for writing (made when missing); none for a read-only register.
    IoStatus open_store_for_writing(CompanionStore& store) const;
    // Makes one change to the store, opened for writing; a store made for a change that fails goes
    // again, so that a failure leaves no file behind.
    IoStatus change_store(const std::function<IoStatus(CompanionStore&)>& change) const;
    // The record at slot now has other bytes: a link to it, and the places of its old and new
    // fingerprints' other records, follow in the store.
    IoStatus follow_in_store(std::int64_t slot, const RecordBytes& before, const RecordBytes& after);
    // After our compaction: the links forget the removed records and close up.
    void forget_in_store(std::vector<RecordPlace> removed);
    // Reads the store's marks and statements (the slots sorted by fingerprint).
    IoStatus read_marks(const CompanionStore& store, const RecordPlaces::PrintedSlots& slots);
    // A reconciled record was changed or deleted: its statement is marked changed (as far as the
    // store lets it: the change itself is made).
    void note_reconciled_change(std::int64_t slot);
    // The store's part of a finished statement, made or taken back.
    IoStatus apply_reconcile(const ReconcileNote& note, bool backward, std::int64_t* made_id = nullptr);
    // Fails with ESTALE unless the register is as listed; holds its lock meanwhile.
    IoStatus check_as_listed(std::optional<RegisterLock>& lock) const;
    std::string path_;
    FileStamp stamp_;  // the file as listed, or as our last write left it
    int list_order_ = kListFileOrder;
    // In list order, a row each.
    std::vector<std::int32_t> slots_;
    RecordPlaces places_;
    StoreState store_state_ = StoreState::kUnread;
    IoStatus store_problem_;
    std::vector<StoredStatement> statements_;
    BalanceBook book_;
    PayeeIndex payees_;
    UndoHistory history_;
};

}  // namespace quillet
