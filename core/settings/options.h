// The user's display and behaviour options, kept in the settings file's Settings section, and the
// one table that names each option's key and default.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

struct Options {
    // Every number at its default from kOptionFields; the two texts start empty and get their
    // start-up values (the text table's) from the program.
    Options();

    std::string tool_program;  // the program the tool command starts: a path, the system's bytes
    std::uint8_t right_align_amounts;
    std::uint8_t tooltips_off;
    std::uint8_t hide_tool_bar;
    std::uint8_t hide_status_bar;
    std::uint8_t compact_at_exit;
    std::uint8_t backup_at_exit;
    std::uint8_t profile_shortcut;
    std::string list_font_name;
    std::int32_t list_font_size;    // points
    std::int32_t list_font_style;   // 256 bold, 512 italic, 4 underline, 8 strike-out, 16 high quality
    std::int32_t list_text_colour;  // 0x00BBGGRR
    std::int32_t list_background;   // negative: the system's colours
    std::int32_t find_highlight;
    std::uint8_t list_order;        // the order the list starts in: 0 file order, 1 reverse
    std::uint8_t import_cleared;    // imported transactions arrive marked cleared at the bank
    std::int32_t low_balance;       // cents: the balance ahead falling below it is said in the status bar
    std::uint8_t learn_categories;  // a payee's category is learned from the user's choices
    std::uint8_t category_column;   // the list shows a tenth column, the category

    bool operator==(const Options&) const = default;
};

// One option of the Settings section: its key, how it is stored, the field it fills and, for a
// number, its default (what a missing key gives).
struct OptionField {
    enum class Kind {
        kPath,     // a path, stored as the system's bytes
        kText,     // a program text
        kByte,     // an 8-bit number, written as its signed value
        kInteger,  // a 32-bit number
    };
    std::string_view key;
    Kind kind;
    std::string Options::*text = nullptr;
    std::uint8_t Options::*byte = nullptr;
    std::int32_t Options::*integer = nullptr;
    std::int32_t default_value = 0;
};

// The options in the order they are written to the Settings section.
inline constexpr OptionField kOptionFields[] = {
    {.key = "ToolProgram", .kind = OptionField::Kind::kPath, .text = &Options::tool_program},
    {.key = "RightAlignAmounts", .kind = OptionField::Kind::kByte, .byte = &Options::right_align_amounts},
    {.key = "TooltipsOff", .kind = OptionField::Kind::kByte, .byte = &Options::tooltips_off},
    {.key = "HideToolBar", .kind = OptionField::Kind::kByte, .byte = &Options::hide_tool_bar},
    {.key = "HideStatusBar", .kind = OptionField::Kind::kByte, .byte = &Options::hide_status_bar},
    {.key = "CompactAtExit", .kind = OptionField::Kind::kByte, .byte = &Options::compact_at_exit},
    {.key = "BackupAtExit", .kind = OptionField::Kind::kByte, .byte = &Options::backup_at_exit},
    {.key = "ProfileShortcut", .kind = OptionField::Kind::kByte, .byte = &Options::profile_shortcut},
    {.key = "ListFontName", .kind = OptionField::Kind::kText, .text = &Options::list_font_name},
    {.key = "ListFontSize",
     .kind = OptionField::Kind::kInteger,
     .integer = &Options::list_font_size,
     .default_value = 9},
    {.key = "ListFontStyle", .kind = OptionField::Kind::kInteger, .integer = &Options::list_font_style},
    {.key = "ListTextColour", .kind = OptionField::Kind::kInteger, .integer = &Options::list_text_colour},
    {.key = "ListBackgroundColour",
     .kind = OptionField::Kind::kInteger,
     .integer = &Options::list_background,
     .default_value = 0xFFFFFF},
    // A light yellow, clearly visible behind black text on the white list (a near-white grey was
    // not); a settings file that stores another colour keeps it.
    {.key = "FindHighlightColour",
     .kind = OptionField::Kind::kInteger,
     .integer = &Options::find_highlight,
     .default_value = 0x99FFFF},
    {.key = "ListOrder", .kind = OptionField::Kind::kByte, .byte = &Options::list_order},
    // A statement's transactions are the bank's own: cleared unless the user says otherwise.
    {.key = "ImportCleared",
     .kind = OptionField::Kind::kByte,
     .byte = &Options::import_cleared,
     .default_value = 1},
    // In cents: the scheduled balance ahead falling below it is said once a day.
    {.key = "LowBalanceCents", .kind = OptionField::Kind::kInteger, .integer = &Options::low_balance},
    {.key = "LearnCategories",
     .kind = OptionField::Kind::kByte,
     .byte = &Options::learn_categories,
     .default_value = 1},
    {.key = "CategoryColumn", .kind = OptionField::Kind::kByte, .byte = &Options::category_column},
};

}  // namespace quillet
