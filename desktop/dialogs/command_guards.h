// The checks the main window's register commands run before they act.
#pragma once

namespace quillet {

enum class Guard {
    kRegisterWithRecords,  // the open register file holds at least one record
    kListHasRows,          // the register list is not empty
    kRowSelected,          // a row of the register list is selected
};

// True when the command may go on; otherwise the guard has shown its message.
bool command_guard(Guard guard);
// Runs the three guards in order and stops at the first that fails (edit and delete).
bool row_command_guards();

}  // namespace quillet
