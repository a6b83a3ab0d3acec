// The report dialog (window 205): the range and the format of a report of the open register. It
// stays open after a report has been made, so that several can be made in a row.
#pragma once

namespace quillet {

void open_report_dialog();
void handle_report_dialog(int kind);

}  // namespace quillet
