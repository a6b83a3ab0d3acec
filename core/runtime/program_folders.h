// Where the program keeps its files and where it finds its help document. A program the user
// unpacked or built keeps its files beside itself; an installed one (under /usr or /opt, or laid
// out as bin/ beside share/quillet/) keeps them in the user's data folder, since one user's files
// do not belong in a system folder. Decided once, at start-up.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The folder of the program file is an installed program's.
bool is_installed_program_folder(const std::string& folder);

// The user's data folder for the program, ending in "/": $XDG_DATA_HOME/quillet/ when the
// variable holds an absolute path, else $HOME/.local/share/quillet/.
std::string user_data_folder();

// The folder (ending in "/") the program keeps its settings, example register, reminders and
// report work file in, for a program file in program_folder. The user's data folder is made when
// it is chosen and missing. When it cannot be made it is still the answer: the program never
// falls back on a system folder, and the settings it then cannot write are reported by name.
std::string choose_program_folder(const std::string& program_folder, std::string_view settings_file_name);

// The desktop entry the package installed beside an installed program (share/applications/ beside
// its bin/), when it is there; empty for a program run from a folder of its own.
std::string package_desktop_entry(const std::string& program_folder, std::string_view entry_name);

// The help document: beside the program in a build, in ../share/quillet/ when installed.
std::string help_document_path(const std::string& program_folder, std::string_view file_name);

}  // namespace quillet
