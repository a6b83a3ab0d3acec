// The settings file: the register open at exit, the options, and five pick lists, in an
// INI-style file beside the program.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/runtime/io_status.h"
#include "core/settings/options.h"
#include "core/settings/pick_lists.h"

namespace quillet {

// The pick lists in the order of their sections: Type, Payee, Description, Mask, reminder.
inline constexpr int kSettingsListCount = 5;
using SettingsLists = std::array<PickList, kSettingsListCount>;

struct Settings {
    std::string open_path;  // the register that was open at exit: a path, the system's bytes
    Options options;
    SettingsLists lists;
};

// Writes the content a missing or empty settings file gets (every line ended by CR LF) in one
// step.
IoStatus write_default_settings(const std::string& path);

// At most this many entries are read from a list's section.
inline constexpr std::size_t kListEntriesRead = 21;

// Reads the settings into the record. A missing number gives its default; a missing text keeps the
// record's value (the start-up value), and the tool program changes only when the file names an
// existing non-empty file. Paths are read as the system's bytes, whatever the file's encoding.
// False, with nothing read, when the file cannot be opened.
bool read_settings(const std::string& path, Settings& settings);

// Writes the settings: Files and Settings keys in place, then every list section rewritten at the
// end under the keys 1, 2, 3... (an empty list leaves no section). Comments and unknown entries
// stay. Paths are written as the system's bytes. The file is replaced in one step.
IoStatus write_settings(const std::string& path, const Settings& settings);

}  // namespace quillet
