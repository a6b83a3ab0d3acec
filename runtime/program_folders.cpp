#include "runtime/program_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "runtime/file_access.h"

namespace quillet {

namespace {

constexpr std::string_view kSystemFolders[] = {"/usr/", "/opt/", "/bin/", "/sbin/"};
// Below an installation's top: the program in bin/, its shared files in share/quillet/.
constexpr std::string_view kInstalledShare = "../share/quillet/";

bool starts_with(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool is_folder(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Makes the folder and the missing folders above it, for the user alone. A failure shows later,
// when the first file cannot be written there.
void make_folders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return;
    }
}

// "bin/../share/quillet/" without the detour, so that messages show a plain path.
std::string beside_bin(const std::string& program_folder, std::string_view name) {
    std::string top = program_folder;
    if (ends_with(top, "/bin/")) return top.substr(0, top.size() - 4) + "share/quillet/" + std::string(name);
    return top + std::string(kInstalledShare) + std::string(name);
}

}  // namespace

bool is_installed_program_folder(const std::string& folder) {
    for (const std::string_view system : kSystemFolders) {
        if (starts_with(folder, system)) return true;
    }
    return ends_with(folder, "/bin/") && is_folder(beside_bin(folder, ""));
}

std::string user_data_folder() {
    const char* data_home = std::getenv("XDG_DATA_HOME");
    std::string folder;
    if (data_home != nullptr && data_home[0] == '/') {
        folder = data_home;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home != nullptr ? home : "") + "/.local/share";
    }
    if (folder.back() != '/') folder += '/';
    return folder + "quillet/";
}

std::string choose_program_folder(const std::string& program_folder, std::string_view settings_file_name) {
    if (!is_installed_program_folder(program_folder)) {
        const std::string settings = program_folder + std::string(settings_file_name);
        if (::access(program_folder.c_str(), W_OK) == 0 || ::access(settings.c_str(), W_OK) == 0)
            return program_folder;
    }
    const std::string data = user_data_folder();
    make_folders(data);
    return data;
}

std::string help_document_path(const std::string& program_folder, std::string_view file_name) {
    const std::string beside = program_folder + std::string(file_name);
    if (file_size(beside) >= 0) return beside;
    return beside_bin(program_folder, file_name);
}

}  // namespace quillet
