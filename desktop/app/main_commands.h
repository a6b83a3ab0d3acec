// The main window's handler: menu items, tool bar buttons and shortcuts become commands, run
// behind their guards; list clicks, drops, timer ticks and the close request are handled here.
#pragma once

namespace quillet {

void handle_main_window(int kind);

// Compacts the open register after asking, refills the list and says what was removed.
void compact_register_interactively();

}  // namespace quillet
