// Starting programs and opening documents with their associated programs. Programs get an argument
// vector: no shell ever sees a path or a user's text. Paths and the parameter are passed on as the
// operating system's bytes. A program started without waiting or a handle is started detached, so
// that it leaves no zombie behind when it ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace quillet {

namespace start_flags {
inline constexpr int kWait = 1;        // wait until the started process ends
inline constexpr int kKeepHandle = 4;  // keep the process for program_running/terminate/release
}  // namespace start_flags

// Starts the program with the parameter as its one argument (none when empty), in the working
// folder (the program's current folder when empty). A program that cannot be run as a program (a
// document) is opened with its associated program instead, in the document's folder.
// With kKeepHandle: a handle (> 0) for the checks below, or 0. A document that the desktop opened
// with no process of ours (through its message bus) gets a handle that is not running from the
// start. Otherwise nonzero when it started.
int start_program(const std::string& program, const std::string& parameter = {},
                  const std::string& working_folder = {}, int flags = 0);
// The same with a whole argument vector: the program first, then its arguments.
int start_arguments(const std::vector<std::string>& arguments, const std::string& working_folder = {},
                    int flags = 0);
// Opens a document (or starts a program) with no parameter, folder or flags.
inline int open_document(const std::string& path) { return start_program(path); }

// The program file that a name without "/" finds on PATH (or the path itself when it names a
// runnable file); empty when there is none.
std::string find_program(const std::string& name);

// Opens an address in the desktop's default program for it (the browser for a page), without
// waiting; nonzero when something was started. Documents and addresses for which the desktop knows
// no program go to its opener (xdg-open); when that finds nothing either, the result is 0, so that
// the user can be told.
int open_address(const std::string& address);

// Whether the desktop names a program of its own for the document's type.
bool has_default_program(const std::string& document);

// The programs the program starts for the user (the tool program, a saved report's viewer) go
// through this one object, which tests replace so that no test ever starts a real program.
class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;
    // Starts the argument vector in the folder without waiting; nonzero when it started.
    virtual int start(const std::vector<std::string>& arguments, const std::string& folder) = 0;
    // Opens the document with the program the desktop associates with its type.
    virtual int open(const std::string& document) = 0;
    // Opens an address (a file:// URI with a #topic, say) in the desktop's program for it.
    virtual int open_address(const std::string& address) = 0;
    // Whether the desktop names a program for the document's type (see has_default_program).
    virtual bool has_default_program(const std::string& document) = 0;
    // Opens the document like open(), keeping the process to watch: a handle, or 0 when nothing
    // was started. See start_program with kKeepHandle.
    virtual int open_kept(const std::string& document) = 0;
    virtual bool running(int handle) = 0;
    // Stops watching the process; it goes on running.
    virtual void release(int handle) = 0;
};
// The starter in use: the real one unless a test installed another.
ProgramStarter& program_starter();
// Installs another starter; nullptr restores the real one.
void install_program_starter(std::unique_ptr<ProgramStarter> replacement);

// Nonzero while the kept process runs.
bool program_running(int handle);
void terminate_program(int handle);
// Forgets the kept process (it is still reaped when it ends).
void release_program(int handle);

}  // namespace quillet
