// The window picture: a PNG picture of the main window (or a dialog), frame and all, saved where the
// user chooses and opened with the program the desktop associates with PNG files.
#pragma once

#include <string>

#include "desktop/program/main_window_ids.h"

namespace quillet {

// The window's picture, proposed as the register's name with the suffix; messages owned by the window.
void save_window_picture(int window = main_ids::kMainWindow, const std::string& name_suffix = "");

// The chosen path with the picture extension appended unless it already ends in it (any case).
std::string picture_path_with_extension(const std::string& chosen);

}  // namespace quillet
