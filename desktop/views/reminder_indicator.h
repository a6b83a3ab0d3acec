// Today's reminder in the main window: the indicator in the status bar with the reminder as its
// tooltip, and the round trip of editing the reminder file in the user's editor.
#pragma once

#include "core/reminders/reminders.h"

namespace quillet {

// The reminder file's fixed texts, from the text table.
ReminderTexts reminder_texts();

// Shows the indicator with today's reminder and what scheduled is due as its tooltip, or removes
// it when there is neither.
void refresh_reminder_indicator();

// Opens the reminder file in the program the desktop associates with it and watches the edit:
// timer 328 refreshes the indicator whenever the file changes and when that program ends. Does
// nothing while a program it started still runs, or when the file is missing or empty.
void open_reminder_file_for_editing();
// Timer 328.
void check_reminder_editor();
// At exit: stops watching. The editor goes on, so that nothing the user typed in it is lost.
void stop_watching_reminder_editor();

}  // namespace quillet
