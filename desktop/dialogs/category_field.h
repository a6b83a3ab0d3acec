// The transaction dialog's category: the field below the others with completion from the list and
// its Split button, the category proposed for a payee, and the change that writes the transaction
// with its category (and the category typed, and the payee's learned rule) as one step.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "core/register/record.h"
#include "core/session/category_book.h"
#include "core/session/change.h"

namespace quillet {

// The categories the dialog works with: the session's, with those the split added until OK.
const CategoryLists& working_lists();
// The category named in the lists, asking over the window to add it when it is new (into lists); 0
// with the reason said, or after the user's No, when there is none.
std::int64_t category_named(int window, const std::string& typed, CategoryLists& lists);

// The gadgets, below the dialog's others; for an edit, the record's category or split.
void create_category_field(std::optional<std::int64_t> edited_slot);
// The payee was left: its category is proposed where the user has not chosen one.
void propose_category(const std::string& payee);
// The user typed in the field: it is no longer the proposal.
void category_typed();
// The transaction's change with its category; none when the user is still to settle the field (the
// reason said, or the split opened).
std::shared_ptr<Change> change_with_category(std::shared_ptr<Change> inner, const TransactionRecord& record,
                                             std::optional<std::int64_t> edited_slot);
// The split is set (none: back to one category or none), as the split table's OK leaves it.
void show_split_in_field();

}  // namespace quillet
