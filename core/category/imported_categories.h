// The categories of what an import adds: the one the user chose for a line, else the one the payee
// rules give, written with the records in the import's one step.
#pragma once

#include <memory>

#include "core/category/category_rules.h"
#include "core/session/category_book.h"
#include "core/session/change.h"
#include "core/session/import_statement.h"

namespace quillet {

// The category a line gets: its chosen one (0: none), or what the rules give its payee.
std::int64_t line_category(std::int64_t chosen, const CategoryRules& rules, std::string_view payee);

// The import of the batch, with its records' categories where any has one.
std::shared_ptr<Change> categorised_import(ImportBatch batch, const CategoryBook& book);

}  // namespace quillet
