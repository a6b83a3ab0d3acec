// The likely causes of a difference between the cleared balance and the statement's ending
// balance: a transaction whose amount is the difference (ticked that should not be, or not ticked
// that should), one whose amount is half of it (entered as a deposit for a withdrawal, or the other
// way), and, for a difference divisible by 9, the transactions whose amount has two neighbouring
// digits that, swapped, make the difference. Never a guess between several: every candidate is
// listed. No clue at all means no single transaction explains it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/reconcile/reconcile_sheet.h"

namespace quillet {

enum class ClueKind {
    kAmount,      // its amount is the difference
    kHalf,        // its amount is half the difference: the wrong sign or kind
    kTransposed,  // two neighbouring digits of its amount swapped make the difference
};

struct DifferenceClue {
    ClueKind kind = ClueKind::kAmount;
    std::vector<std::size_t> items;  // into the sheet's items, in their order
};

std::vector<DifferenceClue> find_difference(const ReconcileSheet& sheet);

// Whether swapping two neighbouring digits of the amount (in cents) changes it by exactly the
// difference (in cents, either sign).
bool transposition_explains(std::int64_t amount_cents, std::int64_t difference_cents);

}  // namespace quillet
