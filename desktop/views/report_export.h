// Making a report of the open register and saving it where the user chooses: the report is made
// into a work file, the save requester asks for the place, and the work file is copied there in
// one step; the saved report is opened when the user asked for that.
#pragma once

#include <string>

#include "core/reports/report.h"

namespace quillet {

// Makes and saves the report; messages are owned by owner_window (the report dialog). Every
// failure is said with the path and its cause: a report that was not saved never looks saved.
// Cleared and reconciled transactions are marked; a CSV file gets them as a column of its own
// only with state_column. By category: the spending report of the range instead of its transactions.
// Only filtered: only the transactions the list's filter shows, while one is on.
void export_report(ReportFormat format, ReportRange range, DateValue first, DateValue last, bool open_after,
                   bool state_column, bool by_category, bool only_filtered, int owner_window);

// The chosen path with the format's extension appended, unless it already ends in one of the
// format's extensions (in any letter case).
std::string report_path_with_extension(const std::string& chosen, ReportFormat format);

// Where the report is made before it is saved: the program folder, or the temporary folder when
// the program folder cannot be written.
std::string report_work_path();

}  // namespace quillet
