#include "core/reconcile/difference_finder.h"

#include <cstdlib>
#include <limits>

namespace quillet {

bool transposition_explains(std::int64_t amount_cents, std::int64_t difference_cents) {
    const std::int64_t amount = std::llabs(amount_cents);
    const std::int64_t wanted = std::llabs(difference_cents);
    if (wanted == 0 || wanted % 9 != 0) return false;
    // Neighbouring digits a (at 10^(k+1)) and b (at 10^k) swapped change the amount by
    // 9 * (a - b) * 10^k.
    std::int64_t power = 1;
    for (std::int64_t rest = amount; rest >= 10; rest /= 10, power *= 10) {
        const std::int64_t low = rest % 10;
        const std::int64_t high = rest / 10 % 10;
        if (low != high && 9 * std::llabs(high - low) * power == wanted) return true;
        if (power > wanted) break;
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
    const std::int64_t wanted = std::llabs(difference.cents);
    DifferenceClue amount{ClueKind::kAmount, {}};
    DifferenceClue half{ClueKind::kHalf, {}};
    DifferenceClue transposed{ClueKind::kTransposed, {}};
    const bool by_nine = wanted % 9 == 0;
    for (std::size_t item = 0; item < sheet.size(); ++item) {
        const std::int64_t cents = std::llabs(sheet.items()[item].cents);
        if (cents == wanted) amount.items.push_back(item);
        if (cents * 2 == wanted) half.items.push_back(item);
        if (by_nine && transposition_explains(cents, wanted)) transposed.items.push_back(item);
    }
    for (DifferenceClue* clue : {&amount, &half, &transposed}) {
        if (!clue->items.empty()) clues.push_back(std::move(*clue));
    }
    return clues;
}

}  // namespace quillet
