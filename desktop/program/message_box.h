// The program's numbered messages, shown through one message box.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/runtime/io_status.h"
#include "core/runtime/shown_text.h"
#include "core/session/session_result.h"

namespace quillet {

// Message numbers.
inline constexpr int kMessageNoRegister = 0;
inline constexpr int kMessageNoRow = 1;
inline constexpr int kMessageFieldsMissing = 2;
inline constexpr int kMessageConfirmDelete = 3;
inline constexpr int kMessageConfirmReplace = 4;
inline constexpr int kMessageNewRegisterMissing = 5;
inline constexpr int kMessageConfirmCompact = 6;
inline constexpr int kMessageNotice = 7;  // shows only the caller's text
inline constexpr int kMessageNothingToCompact = 8;
inline constexpr int kMessageReadOnly = 9;
inline constexpr int kMessageNotARegister = 10;
inline constexpr int kMessageConfirmDeleteLast = 11;
inline constexpr int kMessageCompactFailed = 12;  // the register stays as it was
inline constexpr int kMessageReminderFile = 13;
inline constexpr int kMessageRegisterNotChanged = 14;  // a write to the register failed
inline constexpr int kMessageReminderEmpty = 15;
inline constexpr int kMessageRecordUnreadable = 16;       // a transaction to edit could not be read
inline constexpr int kMessageReportNotSaved = 17;         // a report could not be written where chosen
inline constexpr int kMessageReportNotMade = 18;          // a report could not be made at all
inline constexpr int kMessagePictureNotSaved = 19;        // a window picture could not be written
inline constexpr int kMessageReminderUnreadable = 20;     // adding would lose the reminders
inline constexpr int kMessageMisnumbered = 21;            // stored record numbers differ from their places
inline constexpr int kMessageBackupFailed = 22;           // the exit backup could not be written
inline constexpr int kMessageChangedElsewhere = 23;       // another program changed the register
inline constexpr int kMessageUndoRefused = 24;            // undo or redo would overwrite another's change
inline constexpr int kMessageSettingsNotSaved = 25;       // options and pick lists will not be kept
inline constexpr int kMessageShortcutNotSaved = 26;       // the desktop launcher could not be written
inline constexpr int kMessageNotOpened = 27;              // nothing opened the file for the user
inline constexpr int kMessageStoreUnusable = 28;          // the import history cannot be read
inline constexpr int kMessageStatementUnreadable = 29;    // a statement to import cannot be read
inline constexpr int kMessageImportedBefore = 30;         // the same file was imported as a whole
inline constexpr int kMessageImportFailed = 31;           // the import was not made
inline constexpr int kMessageOtherCurrency = 32;          // a statement in another currency than before
inline constexpr int kMessageReconciledChange = 33;       // a question: change a reconciled transaction?
inline constexpr int kMessageStatementRefused = 34;       // the statement's day or ending balance is wrong
inline constexpr int kMessageReconcileReread = 35;        // another program changed the register: ticks kept
inline constexpr int kMessageReconcileFailed = 36;        // nothing was finished
inline constexpr int kMessageConfirmAdjustment = 37;      // a question: book the difference?
inline constexpr int kMessageScheduleRefused = 38;        // the schedule editor's fields make no schedule
inline constexpr int kMessageDueFailed = 39;              // nothing was entered or skipped
inline constexpr int kMessageSchedulesUnreadable = 40;    // the store's schedules cannot be read
inline constexpr int kMessageScheduledDelete = 41;        // a question: skip the deleted occurrence?
inline constexpr int kMessageConfirmScheduleDelete = 42;  // a question
inline constexpr int kMessageNewCategory = 43;            // a question: add the category typed?
inline constexpr int kMessageCategoryRefused = 44;        // the caller's text says why
inline constexpr int kMessageSplitSpread = 45;         // a question: give the difference to the first part?
inline constexpr int kMessageDeleteUsedCategory = 46;  // a question: leave its transactions without one?
inline constexpr int kMessageCount = 47;

// Shows the message, owned by the window; an extra text (a path, say) comes first, then the
// separator, then the message's own text. Returns the answer: 6 for Yes; anything else means No.
int show_message(int number, int owner_window, const ShownText& extra = {});

// Says, over the window on top, that the file could not be opened for the user (no program for it,
// or it did not start), naming it, so that the user can open it by hand.
void say_not_opened(const std::string& path);

// Why a file operation failed, in the user's words ("The disk is full."); with more causes, those
// are tried first (a statement's or the import history's own words for a cause).
ShownText cause_text(const IoStatus& status, const std::vector<std::pair<int, std::string>>* more = nullptr);

// The extra text of a message about a file: the path, and on the next line why it failed.
ShownText file_and_cause(const std::string& path, const ShownText& cause);
// A failed change of the register session: the file that failed (the register or its store) and
// why, a store's causes in its own words.
ShownText failure_text(const SessionResult& result);
inline ShownText file_and_cause(const std::string& path, const IoStatus& status) {
    return file_and_cause(path, cause_text(status));
}

}  // namespace quillet
