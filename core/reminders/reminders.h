// The reminder file: one-line reminders for calendar days, newest first, in a text file a user may
// also edit by hand. Plain logic: adding a reminder, and finding today's.
//
// The file is for a Linux text editor: lines are written as UTF-8 ending in LF, and a reminder's
// text is UTF-8 with every character the user typed (unlike the register's texts, which are the
// program's code page). Reading takes UTF-8, a line that is not valid UTF-8 as Windows-1252, skips
// a byte-order mark and accepts CR LF. A file that begins with a byte-order mark keeps it first.
#pragma once

#include <string>
#include <string_view>

#include "core/runtime/dates.h"
#include "core/runtime/io_status.h"

namespace quillet {

// The fixed texts of the file, from the program's text table.
struct ReminderTexts {
    std::string separator;    // after the day; beyond the lookup's 11 characters only spaces
    std::string line_end;     // after the text
    std::string lookup_mask;  // gives the first 11 characters of a line for a day
    std::string prefix;       // before today's text in the tooltip
    std::string unreadable;   // the tooltip when the file cannot be read
};

// A reminder line as it is written: the day through the display date mask, the separator, the
// text (UTF-8; bytes that are not UTF-8 are taken as Windows-1252) and the line end, in UTF-8.
std::string reminder_line(DateValue day, std::string_view text, const ReminderTexts& texts);

// Puts the reminder before everything the file holds, replacing the file in one step. A file that
// exists but cannot be read is left alone (its reminders would otherwise be lost): the failure
// says why, and *unreadable (when given) tells it from a failure to write.
IoStatus add_reminder(const std::string& path, DateValue day, std::string_view text,
                      const ReminderTexts& texts, bool* unreadable = nullptr);

// The tooltip for today, in UTF-8: the prefix and the text of the first line whose first 11
// characters are today's lookup text (at most 80 characters of it, spaces trimmed), the whole cut to
// 86 characters. Empty when the file is missing, empty or holds nothing for today; the unreadable
// text (cut to 86) when it cannot be read. Characters are counted as characters, never cut inside.
std::string todays_reminder(const std::string& path, DateValue today, const ReminderTexts& texts);

// The first count characters of a UTF-8 text (a byte that is not UTF-8 counts as one).
std::string_view first_characters(std::string_view utf8, std::size_t count);

}  // namespace quillet
