// The import of a bank statement: a file requester for the statement, then a dialog that shows
// what the file holds under the columns and conventions chosen, every line ticked or, for a
// duplicate, unticked with its reason; Import adds the ticked lines through the register session.
#pragma once

namespace quillet {

// Asks for a statement and opens the dialog with its preview (or says why it cannot be read).
void start_import();
void handle_import_dialog(int kind);

}  // namespace quillet
