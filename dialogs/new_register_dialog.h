// The new register dialog (window 201): a file name and an opening amount make a new register.
#pragma once

namespace quillet {

void open_new_register_dialog();
void handle_new_register_dialog(int kind);

}  // namespace quillet
