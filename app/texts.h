// The program's own fixed texts, in one table prepared once at start-up and read-only afterwards.
// Texts are Windows-1252 bytes like every text of the program.
#pragma once

#include <array>
#include <string>

namespace quillet {

struct TextTable {
    std::string program_title;       // title bar and message box caption
    std::string instance_name;       // names the lock that keeps a second copy from running
    std::string settings_file_name;  // in the program folder
    std::string reminder_file_name;  // in the program folder
    std::string list_font_face;      // the list font before the settings say otherwise
    std::string tool_program_path;   // the tool program before the settings say otherwise
    std::array<std::string, 9> column_titles;
    std::string idle_status;  // status field 1 before a register is shown
};

// Fills the table; called once by start-up before any text is used.
void prepare_texts();
const TextTable& texts();

}  // namespace quillet
