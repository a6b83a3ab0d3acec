#include "core/runtime/program_start.h"

#include <fcntl.h>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <map>
#include <memory>
#include <vector>

#include "core/runtime/file_access.h"

extern char** environ;

namespace quillet {
namespace {

struct Processes {
    std::map<int, pid_t> kept;     // handle -> process
    std::vector<pid_t> unwatched;  // released while running: reaped when they end
    int next_handle = 1;
};

Processes& processes() {
    static Processes table;
    return table;
}

void reap_unwatched() {
    auto& unwatched = processes().unwatched;
    std::erase_if(unwatched, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool is_runnable(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The program's file: a name without "/" is looked up on PATH.
std::string program_file(const std::string& program) {
    if (program.find('/') != std::string::npos) return program;
    const char* variable = std::getenv("PATH");
    const std::string path = variable != nullptr ? variable : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(':', start), path.size());
        const std::string folder = end > start ? path.substr(start, end - start) : std::string(".");
        if (const std::string candidate = folder + "/" + program; is_runnable(candidate)) return candidate;
        start = end + 1;
    }
    return program;
}

std::vector<char*> argument_vector(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// Spawns a child of ours, to be waited for or watched. A quiet child reads and writes nothing of
// ours: its input and output are /dev/null (a text browser that the desktop's opener falls back
// on would otherwise write a whole page into the program's output).
pid_t spawn_child(const std::vector<std::string>& arguments, const std::string& folder, bool quiet = false) {
    const std::vector<char*> argv = argument_vector(arguments);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    const std::string file = program_file(arguments.front());
    const int failed = ::posix_spawn(&pid, file.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

void write_error(int descriptor, int error) {
    while (::write(descriptor, &error, sizeof error) < 0 && errno == EINTR) {
    }
}

// Starts a program that nobody waits for, without leaving a zombie behind: a short-lived child
// starts it as a grandchild (which the system adopts) and ends at once; it is reaped here. A pipe
// that closes on exec tells whether the program really started.
bool spawn_detached(const std::vector<std::string>& arguments, const std::string& folder) {
    const std::string file = program_file(arguments.front());
    const std::vector<char*> argv = argument_vector(arguments);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::close(report[0]);
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
                write_error(report[1], errno);
                ::_exit(127);
            }
            ::execve(file.c_str(), argv.data(), environ);
            write_error(report[1], errno);
            ::_exit(127);
        }
        if (grandchild < 0) write_error(report[1], errno);
        ::_exit(0);
    }
    ::close(report[1]);
    if (child > 0) {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    int error = 0;
    ssize_t got = 0;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return child > 0 && got == 0;
}

void remember_pid(GDesktopAppInfo*, GPid pid, gpointer found) { *static_cast<pid_t*>(found) = pid; }

// Opens the document with the desktop's default program for its type. With keep, the program
// stays our child (its pid is the result, to be watched); without, GLib starts it detached and
// the result is 1. 0 when the program was started with no process of ours (the desktop's message
// bus started it); -1 when there is no such program or it did not start.
pid_t open_with_default_program(const std::string& document, bool keep) {
    gboolean uncertain = FALSE;
    gchar* type = g_content_type_guess(document.c_str(), nullptr, 0, &uncertain);
    GAppInfo* program = type != nullptr ? g_app_info_get_default_for_type(type, FALSE) : nullptr;
    g_free(type);
    pid_t pid = -1;
    if (program != nullptr && G_IS_DESKTOP_APP_INFO(program)) {
        GFile* file = g_file_new_for_path(document.c_str());
        gchar* uri = g_file_get_uri(file);
        GList* uris = g_list_append(nullptr, uri);
        const auto flags =
            static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | (keep ? G_SPAWN_DO_NOT_REAP_CHILD : 0));
        pid_t started = -1;
        if (g_desktop_app_info_launch_uris_as_manager(G_DESKTOP_APP_INFO(program), uris, nullptr, flags,
                                                      nullptr, nullptr, remember_pid, &started, nullptr)) {
            pid = keep ? std::max<pid_t>(started, 0) : 1;
        }
        g_list_free(uris);
        g_free(uri);
        g_object_unref(file);
    }
    if (program != nullptr) g_object_unref(program);
    return pid;
}

// How long the desktop's opener may take to say that it found nothing to open a file with.
constexpr int kOpenerVerdictMilliseconds = 1000;

// Opens the file or address with the desktop's opener (xdg-open), quietly. Kept, the opener is the
// watched process (a pid). Otherwise it has a moment to fail: one that ends with an error found no
// program for it (-1); one that ends well, or still runs (an editor or browser it started in the
// foreground), opened it (1), and is reaped when it ends.
pid_t open_with_opener(const std::string& target, const std::string& folder, bool keep) {
    const pid_t pid = spawn_child({"xdg-open", target}, folder, true);
    if (pid < 0 || keep) return pid;
    for (int waited = 0; waited < kOpenerVerdictMilliseconds; waited += 10) {
        int status = 0;
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : -1;
        if (ended < 0 && errno != EINTR) return -1;
        ::usleep(10000);
    }
    processes().unwatched.push_back(pid);
    return 1;
}

// Starts the argument vector: kept as our child with keep, detached otherwise. A pid (kept) or 1
// (detached) when it started, else -1.
pid_t start(const std::vector<std::string>& arguments, const std::string& folder, bool keep) {
    if (keep) return spawn_child(arguments, folder);
    return spawn_detached(arguments, folder) ? 1 : -1;
}

}  // namespace

int start_program(const std::string& program, const std::string& parameter, const std::string& working_folder,
                  int flags) {
    std::vector<std::string> arguments = {program};
    if (!parameter.empty()) arguments.push_back(parameter);
    return start_arguments(arguments, working_folder, flags);
}

int start_arguments(const std::vector<std::string>& arguments, const std::string& working_folder, int flags) {
    reap_unwatched();
    if (arguments.empty() || arguments.front().empty()) return 0;
    const std::string& program = arguments.front();
    // Waiting and watching need the process as our own child.
    const bool keep = (flags & (start_flags::kWait | start_flags::kKeepHandle)) != 0;
    pid_t pid = -1;
    if (program.find('/') == std::string::npos || is_runnable(program)) {
        pid = start(arguments, working_folder, keep);
    } else if (file_size(program) >= 0) {
        // A document: its associated program, else the desktop's opener, in the document's folder.
        pid = open_with_default_program(program, keep);
        if (pid < 0)
            pid = open_with_opener(program, working_folder.empty() ? folder_part(program) : working_folder,
                                   keep);
    }
    if (pid < 0) return 0;
    // Opened, but without a process of ours: nothing to wait for, and a handle that never runs.
    if (pid == 0 && (flags & start_flags::kKeepHandle) == 0) return 1;
    if (pid > 0 && (flags & start_flags::kWait) != 0) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return (flags & start_flags::kKeepHandle) != 0 ? 0 : 1;
    }
    if ((flags & start_flags::kKeepHandle) == 0) return 1;
    const int handle = processes().next_handle++;
    processes().kept[handle] = pid;
    return handle;
}

int open_address(const std::string& address) {
    reap_unwatched();
    if (g_app_info_launch_default_for_uri(address.c_str(), nullptr, nullptr)) return 1;
    return open_with_opener(address, {}, false) > 0 ? 1 : 0;
}

bool has_default_program(const std::string& document) {
    gboolean uncertain = FALSE;
    gchar* type = g_content_type_guess(document.c_str(), nullptr, 0, &uncertain);
    GAppInfo* program = type != nullptr ? g_app_info_get_default_for_type(type, FALSE) : nullptr;
    g_free(type);
    if (program == nullptr) return false;
    g_object_unref(program);
    return true;
}

std::string find_program(const std::string& name) {
    if (name.empty()) return {};
    const std::string file = program_file(name);
    return is_runnable(file) ? file : std::string();
}

namespace {

// Starts for real: detached, nothing kept.
class SystemStarter : public ProgramStarter {
  public:
    int start(const std::vector<std::string>& arguments, const std::string& folder) override {
        return start_arguments(arguments, folder, 0);
    }
    int open(const std::string& document) override { return open_document(document); }
    int open_address(const std::string& address) override { return quillet::open_address(address); }
    bool has_default_program(const std::string& document) override {
        return quillet::has_default_program(document);
    }
    int open_kept(const std::string& document) override {
        return start_program(document, {}, {}, start_flags::kKeepHandle);
    }
    bool running(int handle) override { return program_running(handle); }
    void release(int handle) override { release_program(handle); }
};

std::unique_ptr<ProgramStarter>& installed_starter() {
    static std::unique_ptr<ProgramStarter> starter;
    return starter;
}

}  // namespace

ProgramStarter& program_starter() {
    std::unique_ptr<ProgramStarter>& current = installed_starter();
    if (!current) current = std::make_unique<SystemStarter>();
    return *current;
}

void install_program_starter(std::unique_ptr<ProgramStarter> replacement) {
    installed_starter() = std::move(replacement);
}

bool program_running(int handle) {
    auto& kept = processes().kept;
    const auto found = kept.find(handle);
    if (found == kept.end() || found->second <= 0) return false;
    if (::waitpid(found->second, nullptr, WNOHANG) == 0) return true;
    found->second = 0;  // ended and reaped
    return false;
}

void terminate_program(int handle) {
    const auto& kept = processes().kept;
    const auto found = kept.find(handle);
    if (found != kept.end() && found->second > 0) ::kill(found->second, SIGTERM);
}

void release_program(int handle) {
    auto& kept = processes().kept;
    const auto found = kept.find(handle);
    if (found == kept.end()) return;
    if (found->second > 0) processes().unwatched.push_back(found->second);
    kept.erase(found);
    reap_unwatched();
}

}  // namespace quillet
