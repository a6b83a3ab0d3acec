// The balance chart: the balance at the end of each day as a line and each month's deposits and
// payments as bars, over all transactions, the last twelve months or this year, with the date and
// the exact figure under the pointer; saved as a PNG picture like the window picture.
#pragma once

namespace quillet {

void open_chart_window();
void handle_chart_window(int kind);

}  // namespace quillet
