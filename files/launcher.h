// The desktop launcher (a freedesktop .desktop file) that the profile shortcut option keeps in the
// user's applications folder.
#pragma once

#include <string>

#include "runtime/shown_text.h"

namespace quillet {

struct LauncherFields {
    ShownText name;
    ShownText comment;
    std::string program;  // the program file: a path, the system's bytes
    std::string folder;   // the folder it starts in: a path
    std::string icon;     // an icon name from the icon theme
};

// The launcher's text, UTF-8 with LF line ends. Paths keep their bytes; the program path is one
// quoted argument of Exec=, escaped so that no character of it is taken for anything else.
std::string launcher_text(const LauncherFields& fields);

// A value as a desktop entry's string: backslashes, line ends and tabs escaped.
std::string desktop_string(std::string_view value);
// A path as one quoted argument of a desktop entry's Exec= line.
std::string desktop_exec_argument(std::string_view path);

}  // namespace quillet
