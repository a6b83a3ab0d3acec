// The one program-wide state record: it lives from start-up to exit and the parts of the program
// read and write it directly (there is one thread).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

// The user's display and behaviour options, saved with the settings.
struct Options {
    std::uint8_t right_align_amounts = 0;
    std::uint8_t tooltips_off = 0;
    std::uint8_t hide_tool_bar = 0;
    std::uint8_t hide_status_bar = 0;
    std::uint8_t compact_at_exit = 0;
    std::uint8_t backup_at_exit = 0;
    std::uint8_t list_order = 0;
    std::uint8_t profile_shortcut = 0;
    int list_background = 0xFFFFFF;  // 0x00BBGGRR
    int find_highlight = 0xFAFAFA;
    int list_font_size = 9;
    int list_text_colour = 0;
    int list_font_style = 0;
    std::string list_font_name;
    std::string tool_program;
};

enum PickListId { kTypeList, kPayeeList, kDescriptionList, kMaskList, kReminderList, kPickListCount };

struct AppState {
    int record_size = 211;
    int current_row = -1;
    int dialog_mode = 0;
    int list_order = 0;  // live order: 0 file order, 1 reverse
    int running = 1;
    Options options;
    int editor_process = 0;      // the kept editor of the reminder file, 0 for none
    std::string program_folder;  // ends in "/"
    std::string reminder_path;
    std::string settings_path;
    std::string register_path;  // empty while no register is open
    std::array<std::vector<std::string>, kPickListCount> pick_lists;
};

AppState& app();

// Gives the state its start-up values for a program living in the folder (ending in "/").
void reset_app_state(const std::string& program_folder);

}  // namespace quillet
