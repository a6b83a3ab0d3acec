// The undo and redo items of the transaction menu name the next step of the open register's undo
// history ("Undo delete of Groceries 48.50"), or say that there is none and why.
#pragma once

namespace quillet {

// Writes both items' captions for the history as it is now; called after every change and fill.
void show_undo_captions();

}  // namespace quillet
