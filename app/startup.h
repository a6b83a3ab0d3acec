// Start-up and shutdown of the whole program.
#pragma once

#include <string>

namespace quillet {

// Runs the program living in the folder (ending in "/") from start-up to shutdown and returns the
// exit code, which is always 0. A second copy ends at once without a window.
int run_quillet(const std::string& program_folder);

// The folder main() hands to run_quillet: the program file's own folder.
std::string program_folder_of_this_process();

}  // namespace quillet
