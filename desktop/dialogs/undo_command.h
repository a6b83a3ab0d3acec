// Undo and redo of the changes made to the open register in this run, and the two menu items
// that name the next step.
#pragma once

#include "core/register/register_file.h"
#include "core/register/undo_history.h"

namespace quillet {

UndoHistory& undo_history();

// Starts an empty history for the register (another one was opened, created or compacted).
void start_undo_history(const std::string& path, HistoryEnd reason);

// Records a change just written to the register with the check it was written with.
void note_register_change(RegisterChange change, const WriteCheck& check);

// The undo and redo commands: each applies one step, or says why it cannot.
void undo_register_change();
void redo_register_change();

// Writes the undo and redo items' captions for the history as it is.
void show_undo_captions();

}  // namespace quillet
