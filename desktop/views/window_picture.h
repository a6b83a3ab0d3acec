// The window picture: a PNG picture of the main window, frame and all, saved where the user
// chooses and opened with the program the desktop associates with PNG files.
#pragma once

#include <string>

namespace quillet {

void save_window_picture();

// The chosen path with the picture extension appended unless it already ends in it (any case).
std::string picture_path_with_extension(const std::string& chosen);

}  // namespace quillet
