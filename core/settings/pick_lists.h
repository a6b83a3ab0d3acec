// The pick lists: recently used texts offered by the dialogs (types, payees, descriptions, find
// texts, reminder texts), newest first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

using PickList = std::vector<std::string>;

inline constexpr std::size_t kPickListLength = 20;

// With put_first, the text goes to the top; then every later entry equal (byte for byte, letter
// case included) to an earlier one is removed, and with put_first the list is cut to 20 entries.
// Without put_first the call only removes duplicates.
void insert_into_pick_list(PickList& list, std::string_view text, bool put_first);

}  // namespace quillet
