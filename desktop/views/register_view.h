// The register view: the main window's register list (one row per live transaction) and the
// figures of the status bar. Single changes patch one row; a fill reads the file again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/register/record.h"
#include "core/register/register_file.h"

namespace quillet {

// Order modes of a fill.
inline constexpr int kKeepOrder = 0;
inline constexpr int kFileOrder = 1;
inline constexpr int kReverseOrder = 2;
inline constexpr int kToggleOrder = 3;

// Checks the file and rebuilds the list from it (deleted records leave no row), works out the
// balance, selects row 0, records the path and sets the window title. A refused file has shown its
// message, if it has one, and leaves the list, the order and the path as they were.
bool fill_register_view(const std::string& path, int order_mode);

// Titles the main window with the register's file name (without folder and extension).
void show_register_title(const std::string& path);

// Works out the running balance of every row and the status fields of the figures from the rows' texts.
void recompute_balance();

// After the record was written at index: replaces the current row's texts (editing) or inserts
// a row for it, recomputes the balance, selects the row and remembers the record's type, payee
// and description in their pick lists.
void show_saved_transaction(std::int64_t index, bool editing, const TransactionRecord& record);

// Makes the row current: focus on the list, withdrawals red and balances blue, the row selected.
void select_register_row(int row);

// Removes a row (its record was flagged deleted) and keeps the balance in step.
void remove_register_row(int row);

// Shows the slot's record as it now is in the file (undo and redo): a live record's row is
// replaced, or inserted at its place in the list's order (where a new transaction's row goes, when
// it was added); a deleted or missing record's row goes. The balance follows and the row is
// selected.
void show_record_at_slot(std::int64_t slot, const RecordBytes* record, bool added = false);

// The slot of the latest transaction to the payee in the list (payees compared without the blanks
// around them and without regard to case), without reading the register.
std::optional<std::int64_t> latest_slot_of_payee(std::string_view payee);

// The check for a write of a row: the register must still be the file the list was filled from
// (or last written by us); with the file's stamp from then.
WriteCheck listed_register_check();
// After a write of ours: the file as it is now is the one the list shows.
void note_register_written(const WriteCheck& check);
// A write found the register changed by another program (ESTALE) and wrote nothing: the list is
// filled again from the file and the user is told, over the owner window.
void show_register_changed(int owner_window);
// The row that shows the record of the slot, or -1 (the current row is tried first).
int row_of_slot(std::int64_t slot);

// The memory the list's rows and their balances take, in bytes.
std::size_t register_view_memory_bytes();

// Empties the list and forgets the register: no register is open afterwards.
void clear_register_view();
// Empties the list and shows that no register is open: the status bar and the title say so.
void show_no_register();

}  // namespace quillet
