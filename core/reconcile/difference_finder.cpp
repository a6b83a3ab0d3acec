#include "core/reconcile/difference_finder.h"

#include <cstdlib>
#include <limits>

namespace quillet {

bool transposition_explains(std::int64_t amount_cents, std::int64_t difference_cents) {
    if (difference_cents == 0 || difference_cents % 9 != 0 ||
        amount_cents == std::numeric_limits<std::int64_t>::min())
        return false;
    const std::int64_t amount = std::llabs(amount_cents);
    // Putting the digits right changes the amount's size by this much: a deposit's size moves the
    // balance its own way, a withdrawal's the other.
    const std::int64_t change = amount_cents >= 0 ? difference_cents : -difference_cents;
    // Neighbouring digits high (at 10^(k+1)) and low (at 10^k) swapped back change the size by
    // 9 * (low - high) * 10^k.
    std::int64_t power = 1;
    for (std::int64_t rest = amount; rest >= 10; rest /= 10, power *= 10) {
        const std::int64_t low = rest % 10;
        const std::int64_t high = rest / 10 % 10;
        if (low != high && 9 * (low - high) * power == change) return true;
        if (power > std::llabs(change)) break;
    }
    return false;
}

std::vector<DifferenceClue> find_difference(const ReconcileSheet& sheet) {
    const Figure difference = sheet.difference();
    std::vector<DifferenceClue> clues;
    // No transaction the sheet holds can explain a difference beyond what 64 bits hold.
    if (difference.cents == 0 || difference.out_of_range ||
        difference.cents == std::numeric_limits<std::int64_t>::min())
        return clues;
    // The cleared balance must move by the difference, sign and all: every clue is a correction that
    // moves it so.
    const std::int64_t wanted = difference.cents;
    DifferenceClue amount{ClueKind::kAmount, {}};
    DifferenceClue half{ClueKind::kHalf, {}};
    DifferenceClue transposed{ClueKind::kTransposed, {}};
    for (std::size_t item = 0; item < sheet.size(); ++item) {
        const std::int64_t cents = sheet.items()[item].cents;
        if (cents == std::numeric_limits<std::int64_t>::min()) continue;
        if (!sheet.ticked(item)) {
            // Ticking it adds its amount.
            if (cents == wanted) amount.items.push_back(item);
            continue;
        }
        // Unticking it takes its amount away; its other kind turns its amount round; its digits
        // put right change its size.
        if (-cents == wanted) amount.items.push_back(item);
        if (wanted % 2 == 0 && -2 * cents == wanted) half.items.push_back(item);
        if (transposition_explains(cents, wanted)) transposed.items.push_back(item);
    }
    for (DifferenceClue* clue : {&amount, &half, &transposed}) {
        if (!clue->items.empty()) clues.push_back(std::move(*clue));
    }
    return clues;
}

}  // namespace quillet
