// Undo and redo of the changes made to the open register in this run.
#pragma once

namespace quillet {

// The undo and redo commands: each applies one step, or says why it cannot.
void undo_register_change();
void redo_register_change();

}  // namespace quillet
