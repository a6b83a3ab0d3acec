// A bare window that stands in for the main window until the toolkit layer is built, so that
// the program can be started and looked at from the first day.
#pragma once

#include <string>

namespace quillet {

// Shows an empty window with the title and inner size, and returns when the user closes it.
int run_placeholder_window(const std::string& title, int width, int height);

}  // namespace quillet
