// The reminder dialog (window 208): a day from a calendar and a one-line text make a reminder at
// the top of the reminder file. It stays open for the next reminder; closing it brings the main
// window's indicator up to date.
#pragma once

namespace quillet {

void open_reminder_dialog();
void handle_reminder_dialog(int kind);

}  // namespace quillet
