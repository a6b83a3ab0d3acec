// Leaving the program: run by the exit command and by the close request of the main window.
#pragma once

namespace quillet {

// Hides the main window and clears the running flag, which ends the event loop.
void run_exit_procedure();

}  // namespace quillet
