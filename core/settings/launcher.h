// The desktop launcher (a freedesktop .desktop file) that the profile shortcut option keeps in the
// user's applications folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/runtime/shown_text.h"

namespace quillet {

struct LauncherFields {
    ShownText name;
    ShownText comment;
    std::string program;  // the program file: a path, the system's bytes
    std::string folder;   // the folder it starts in: a path
    std::string icon;     // an icon name from the icon theme
};

// The launcher's text, UTF-8 with LF line ends. Paths keep their bytes; the program path is one
// quoted argument of Exec=, escaped so that no character of it is taken for anything else. None
// when a path cannot be written safely: one holding a line feed or another control character, or
// one that is not valid UTF-8 (a desktop would read such a launcher otherwise than it was meant).
std::optional<std::string> launcher_text(const LauncherFields& fields);

// Whether a path can stand in a desktop entry as it is.
bool desktop_entry_can_hold(std::string_view path);

// A value as a desktop entry's string: backslashes, line ends and tabs escaped.
std::string desktop_string(std::string_view value);
// A path as one quoted argument of a desktop entry's Exec= line.
std::string desktop_exec_argument(std::string_view path);

}  // namespace quillet
