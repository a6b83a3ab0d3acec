// The identity an imported transaction is known by in the companion store, so that the next import
// of an overlapping statement finds it: the bank's own ID where the format has one, otherwise a
// fingerprint of the statement line. A counter tells lines with the same identity apart within
// one file, so that two identical lines of one day stay two transactions.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/import/statement.h"

namespace quillet {

// The lines' identities, in their order.
std::vector<std::string> line_identities(const std::vector<StatementLine>& lines);
// The same for lines kept elsewhere (a preview's): count of them, and each by its index.
std::vector<std::string> line_identities(std::size_t count,
                                         const std::function<const StatementLine&(std::size_t)>& line_at);

}  // namespace quillet
