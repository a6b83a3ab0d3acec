// Starting programs and opening documents with their associated programs. Programs get an argument
// vector: no shell ever sees a path or a user's text. Paths and the parameter are passed on as the
// operating system's bytes. A program started without waiting or a handle is started detached, so
// that it leaves no zombie behind when it ends.
#pragma once

#include <string>

namespace quillet {

namespace start_flags {
inline constexpr int kWait = 1;        // wait until the started process ends
inline constexpr int kKeepHandle = 4;  // keep the process for program_running/terminate/release
}  // namespace start_flags

// Starts the program with the parameter as its one argument (none when empty), in the working
// folder (the program's current folder when empty). A program that cannot be run as a program (a
// document) is opened with its associated program instead, in the document's folder.
// With kKeepHandle: a handle (> 0) for the checks below, or 0. Otherwise nonzero when it started.
int start_program(const std::string& program, const std::string& parameter = {},
                  const std::string& working_folder = {}, int flags = 0);
// Opens a document (or starts a program) with no parameter, folder or flags.
inline int open_document(const std::string& path) { return start_program(path); }

// Nonzero while the kept process runs.
bool program_running(int handle);
void terminate_program(int handle);
// Forgets the kept process (it is still reaped when it ends).
void release_program(int handle);

// The folder of the running process's own current directory (for tests and diagnostics).
std::string current_folder();

}  // namespace quillet
