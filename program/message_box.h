// The program's numbered messages, shown through one message box.
#pragma once

#include <string>

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

// Shows the message, owned by the window; an extra text (a path, say) comes first, then the
// separator, then the message's own text. Returns the answer: 6 for Yes; anything else means No.
int show_message(int number, int owner_window, const std::string& extra = {});

}  // namespace quillet
