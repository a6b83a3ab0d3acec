#include "core/runtime/program_folders.h"

#include <unistd.h>

#include <cstdlib>

#include "core/runtime/file_access.h"

namespace quillet {

namespace {

constexpr std::string_view kSystemFolders[] = {"/usr/", "/opt/", "/bin/", "/sbin/"};

// An installation's top: the program in bin/, its shared files in share/ beside it. Written without
// the "bin/../" detour where it can be, so that messages show a plain path.
std::string installation_top(const std::string& program_folder) {
    return program_folder.ends_with("/bin/") ? program_folder.substr(0, program_folder.size() - 4)
                                             : program_folder + "../";
}

std::string beside_bin(const std::string& program_folder, std::string_view name) {
    return installation_top(program_folder) + "share/quillet/" + std::string(name);
}

}  // namespace

bool is_installed_program_folder(const std::string& folder) {
    for (const std::string_view system : kSystemFolders) {
        if (folder.starts_with(system)) return true;
    }
    return folder.ends_with("/bin/") && file_size(beside_bin(folder, "")) == -2;
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
    // A failure shows later, when the first file cannot be written there.
    (void)create_folders(data, 0700);  // for the user alone
    return data;
}

std::string package_desktop_entry(const std::string& program_folder, std::string_view entry_name) {
    if (!is_installed_program_folder(program_folder)) return {};
    const std::string entry =
        installation_top(program_folder) + "share/applications/" + std::string(entry_name);
    return file_size(entry) >= 0 ? entry : std::string();
}

std::string help_document_path(const std::string& program_folder, std::string_view file_name) {
    const std::string beside = program_folder + std::string(file_name);
    if (file_size(beside) >= 0) return beside;
    return beside_bin(program_folder, file_name);
}

}  // namespace quillet
