// The find dialog (window 203): marks the rows of the register list that hold a text.
#pragma once

namespace quillet {

void open_find_dialog();
void handle_find_dialog(int kind);

}  // namespace quillet
