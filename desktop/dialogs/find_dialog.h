// The find dialog (window 203): marks the rows of the register list that hold a text.
#pragma once

#include <string_view>

namespace quillet {

void open_find_dialog();
void handle_find_dialog(int kind);

// Whether the text holds the wanted text, letters compared without regard to case (the
// Windows-1252 letters included).
bool contains_ignoring_case(std::string_view text, std::string_view wanted);

}  // namespace quillet
