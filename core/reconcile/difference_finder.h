// The likely causes of a difference between the cleared balance and the statement's ending
// balance, each a correction that moves the cleared balance by the difference, sign and all: a
// transaction whose amount is the difference (ticked that should not be, or not ticked that
// should), a ticked one whose amount is half of it (entered as a deposit for a withdrawal, or the
// other way), and, for a difference divisible by 9, a ticked one whose amount has two neighbouring
// digits that, swapped back, make it. Never a guess between several: every candidate is listed. No
// clue at all means no single transaction explains it.
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

// Whether swapping two neighbouring digits of the amount (in cents; a deposit positive, a
// withdrawal negative) moves the balance by exactly the difference (in cents, signed).
bool transposition_explains(std::int64_t amount_cents, std::int64_t difference_cents);

}  // namespace quillet
