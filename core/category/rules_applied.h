// "Apply rules to uncategorised": the live records without a category whose payee a rule decides,
// with the category it gives. A record the user gave a category (or split) is never changed.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/register/record_places.h"
#include "core/runtime/io_status.h"
#include "core/session/category_book.h"

namespace quillet {

using SlotLines = std::vector<std::pair<std::int64_t, CategoryLines>>;

// Reads the register's payees; the lines of each record a rule decides, in file order.
IoStatus rules_for_uncategorised(const std::string& register_path, const CategoryBook& book,
                                 const RecordPlaces& places, SlotLines& decided);

}  // namespace quillet
