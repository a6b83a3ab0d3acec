// The register view: the main window's register list (one row per live transaction) and the
// figures of the status bar, showing what the register session holds. A change made through the
// session patches the rows it touched; a fill reads the file again.
#pragma once

#include <cstdint>
#include <string>

#include "core/session/register_session.h"
#include "desktop/program/app_state.h"

namespace quillet {

// Order modes of a fill.
inline constexpr int kKeepOrder = 0;
inline constexpr int kFileOrder = 1;
inline constexpr int kReverseOrder = 2;
inline constexpr int kToggleOrder = 3;

// Checks the file and rebuilds the list from it (deleted records leave no row), works out the
// balance, selects row 0 and sets the window title. A refused file has shown its message, if it has
// one, and leaves the list, the order and the register as they were.
bool fill_register_view(const std::string& path, int order_mode);

// Titles the main window with the register's file name (without folder and extension).
void show_register_title(const std::string& path);

// Shows the running balance of every row and the status fields of the figures, as the session
// worked them out.
void show_balances();
// The rows' cleared and reconciled marks changed: the list and the cleared balance show them.
void show_row_states_again();

// Shows what a change did to the rows, with the balance, and selects the row it touched.
void show_row_change(const RowChange& change);
// Reads the companion store's links once the list is painted, and says once for the register when
// the store cannot be used.
void read_store_after_painting();

// The list's tenth column, each transaction's category ("Split" for a split one), when the user
// turned it on; gone when off.
void show_category_column(bool shown);

// Says how a change ended unless it was done, over the owner window: a register changed by another
// program is read again and the user told with the message (the changed-elsewhere one by default);
// a failure names the file and its cause. True when the change was done.
bool show_session_result(const SessionResult& result, int owner_window, int stale_message = -1);

// Makes the list row current: focus on the list, withdrawals red and balances blue, the row
// selected (the nearest shown one, when the filter hides it).
void select_register_row(int row);
// The filter changed the rows shown: the view shows them with their figures, the list row selected
// (or the nearest shown), the keyboard where it was.
void show_shown_rows(std::int64_t selected);
// The shown rows' count and sums in the status bar while the filter is on.
void show_filter_figures();

// The memory the list's rows and what the session keeps beside them take, in bytes.
std::size_t register_view_memory_bytes();

// Empties the list and forgets the register: no register is open afterwards.
void clear_register_view();
// Empties the list and shows that no register is open: the status bar and the title say so.
void show_no_register();

}  // namespace quillet
