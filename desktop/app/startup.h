// Start-up and shutdown of the whole program.
#pragma once

#include <string>

namespace quillet {

// Runs the program living in the folder (ending in "/") from start-up to shutdown and returns the
// exit code, which is always 0. A second copy ends at once without a window.
int run_quillet(const std::string& program_folder);

// The three stages of run_quillet, for tests that look at the program between them.
// Starts up; false for a second copy, which has then shown nothing.
bool start_quillet(const std::string& program_folder);
// Runs the event loop until the running flag is cleared.
void run_event_loop();
// Releases everything; the exit code.
int shut_down_quillet();

// The folder main() hands to run_quillet: the program file's own folder, or the user's data folder
// for an installed program or one in a folder the user may not write.
std::string program_folder_of_this_process();

}  // namespace quillet
