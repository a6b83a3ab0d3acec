// The settings as the program uses them: loaded while the main window is built, applied to the
// window, and saved (with the exit actions) when the program ends.
#pragma once

#include "core/runtime/io_status.h"

namespace quillet {

// Creates the default settings and the example register when the settings file is missing or
// empty, reads the options and pick lists, applies the options and opens the last register.
void load_settings();

// Applies the options to the main window; with reload, a list of two rows or more is filled again.
void apply_options(bool reload);

// Creates the desktop launcher when the option is 1 and none is there, deletes it when it is 0.
// Returns why the launcher could not be written (in the first step that failed), nothing said.
IoStatus update_profile_shortcut(int option);

// Saves the settings, runs the exit actions (compact and back up the register when the options
// say so) and clears the running flag, which ends the program.
void save_settings_and_exit();

}  // namespace quillet
