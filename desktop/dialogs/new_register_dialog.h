// The new register dialog (window 201): a file name and an opening amount make a new register.
#pragma once

#include <string>

namespace quillet {

void open_new_register_dialog();
void handle_new_register_dialog(int kind);

// The file the open dialog will create (a path, the system's bytes), shown in its file field.
void set_new_register_path(const std::string& path);

}  // namespace quillet
