// The user's display and behaviour options, kept in the settings file's Settings section.
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

struct Options {
    std::string tool_program;  // the program the tool command starts
    std::uint8_t right_align_amounts = 0;
    std::uint8_t tooltips_off = 0;
    std::uint8_t hide_tool_bar = 0;
    std::uint8_t hide_status_bar = 0;
    std::uint8_t compact_at_exit = 0;
    std::uint8_t backup_at_exit = 0;
    std::uint8_t profile_shortcut = 0;
    std::string list_font_name;
    int list_font_size = 9;          // points
    int list_font_style = 0;         // 256 bold, 512 italic, 4 underline, 8 strike-out, 16 high quality
    int list_text_colour = 0;        // 0x00BBGGRR
    int list_background = 0xFFFFFF;  // negative: the system's colours
    int find_highlight = 0xFAFAFA;
    std::uint8_t list_order = 0;  // the order the list starts in: 0 file order, 1 reverse
};

}  // namespace quillet
