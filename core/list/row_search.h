// Finding the rows of the register list that hold a text, as the find command marks them: in any
// of the nine cells the list shows (the running balance and the void mark among them), whatever
// the letter case of every Windows-1252 letter.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/list/register_list.h"

namespace quillet {

bool contains_ignoring_case(std::string_view text, std::string_view wanted);

// A mark a row of the list: 1 where the row holds the text (with inverse, where it does
// not). The register's records are read once, in as many pieces as the machine has cores, each
// searched on a core of its own. Rows whose records cannot be read stay unmarked.
std::vector<std::uint8_t> rows_holding(const RegisterList& list, std::string_view wanted, bool inverse);

}  // namespace quillet
