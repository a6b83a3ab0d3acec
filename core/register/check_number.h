// The number a new check is proposed with: one more than the highest number of the register's
// checks, in the width that number is written in ("0099" gives "0100", "1008" gives "1009").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// One more than the digits, kept as wide as they are (or one wider when they are all nines).
std::string next_number_text(std::string_view digits);

// Of the live records whose type is "Check" in any letter case and whose number is all digits, the
// highest number plus one; none when the register has no such record or cannot be read.
std::optional<std::string> next_check_number(const std::string& register_path);

}  // namespace quillet
