#include "core/settings/pick_lists.h"

#include <algorithm>
#include <unordered_set>

namespace quillet {

void insert_into_pick_list(PickList& list, std::string_view text, bool put_first) {
    if (put_first) list.insert(list.begin(), std::string(text));
    // The earliest of equal texts survives, so a text entered again ends up at the top.
    PickList unique;
    unique.reserve(list.size());  // no reallocation: the views below stay valid
    std::unordered_set<std::string_view> seen;
    for (std::string& entry : list) {
        if (seen.count(entry) != 0) continue;
        unique.push_back(std::move(entry));
        seen.insert(unique.back());
    }
    list = std::move(unique);
    if (put_first && list.size() > kPickListLength) list.resize(kPickListLength);
}

}  // namespace quillet
