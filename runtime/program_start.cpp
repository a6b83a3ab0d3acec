#include "runtime/program_start.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <vector>

#include "runtime/file_access.h"
#include "runtime/windows1252.h"

extern char** environ;

namespace quillet {
namespace {

struct Processes {
    std::map<int, pid_t> kept;     // handle -> process
    std::vector<pid_t> unwatched;  // started without a handle: reaped when they end
    int next_handle = 1;
};

Processes& processes() {
    static Processes table;
    return table;
}

// Collects the ends of processes nobody watches, so that they leave no zombies behind.
void reap_unwatched() {
    auto& unwatched = processes().unwatched;
    std::erase_if(unwatched, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool is_runnable(const std::string& native) {
    struct stat status {};
    return ::stat(native.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(native.c_str(), X_OK) == 0;
}

// Spawns the argument vector; a program without "/" is looked up on PATH.
pid_t spawn(const std::vector<std::string>& arguments, const std::string& native_folder) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!native_folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, native_folder.c_str());
    pid_t pid = 0;
    const bool on_path = arguments.front().find('/') == std::string::npos;
    const int failed = on_path ? ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ)
                               : ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

void remember_pid(GDesktopAppInfo*, GPid pid, gpointer found) { *static_cast<pid_t*>(found) = pid; }

// Opens the document with the desktop's default program for its type, keeping that process.
pid_t open_with_default_program(const std::string& native_document) {
    gboolean uncertain = FALSE;
    gchar* type = g_content_type_guess(native_document.c_str(), nullptr, 0, &uncertain);
    GAppInfo* program = type != nullptr ? g_app_info_get_default_for_type(type, FALSE) : nullptr;
    g_free(type);
    pid_t pid = -1;
    if (program != nullptr && G_IS_DESKTOP_APP_INFO(program)) {
        GFile* file = g_file_new_for_path(native_document.c_str());
        gchar* uri = g_file_get_uri(file);
        GList* uris = g_list_append(nullptr, uri);
        if (!g_desktop_app_info_launch_uris_as_manager(
                G_DESKTOP_APP_INFO(program), uris, nullptr,
                static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr,
                remember_pid, &pid, nullptr)) {
            pid = -1;
        }
        g_list_free(uris);
        g_free(uri);
        g_object_unref(file);
    }
    if (program != nullptr) g_object_unref(program);
    return pid;
}

}  // namespace

int start_program(const std::string& program, const std::string& parameter, const std::string& working_folder,
                  int flags) {
    reap_unwatched();
    if (program.empty()) return 0;
    const std::string native = native_path(program);
    pid_t pid = -1;
    if (native.find('/') == std::string::npos || is_runnable(native)) {
        std::vector<std::string> arguments = {native};
        if (!parameter.empty()) arguments.push_back(native_path(parameter));
        pid = spawn(arguments, native_path(working_folder));
    } else if (file_size(program) >= 0) {
        // A document: its associated program, else the desktop's opener, in the document's folder.
        pid = open_with_default_program(native);
        if (pid < 0) {
            const std::string folder = working_folder.empty() ? folder_part(program) : working_folder;
            pid = spawn({"xdg-open", native}, native_path(folder));
        }
    }
    if (pid <= 0) return 0;
    if ((flags & start_flags::kWait) != 0) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return (flags & start_flags::kKeepHandle) != 0 ? 0 : 1;
    }
    if ((flags & start_flags::kKeepHandle) == 0) {
        processes().unwatched.push_back(pid);
        return 1;
    }
    const int handle = processes().next_handle++;
    processes().kept[handle] = pid;
    return handle;
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

std::string current_folder() {
    std::vector<char> buffer(4096);
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) return {};
    return program_path(buffer.data());
}

}  // namespace quillet
