// The about window (window 206): the program's picture, name and version, and a link to the user's
// guide.
#pragma once

namespace quillet {

void open_about_window();
void handle_about_window(int kind);

}  // namespace quillet
