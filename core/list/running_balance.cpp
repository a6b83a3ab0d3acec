#include "core/list/running_balance.h"

#include <limits>

namespace quillet {

Figure& Figure::operator+=(const Figure& more) {
    out_of_range = out_of_range || more.out_of_range || __builtin_add_overflow(cents, more.cents, &cents);
    return *this;
}

Figure figure_of(WideCents cents) {
    if (cents > std::numeric_limits<std::int64_t>::max() || cents < std::numeric_limits<std::int64_t>::min())
        return {0, true};
    return {static_cast<std::int64_t>(cents), false};
}

const Figure& RunningBalance::add(std::int64_t deposit_cents, std::int64_t withdrawal_cents,
                                  bool out_of_range) {
    // The change as a figure: a negated withdrawal cannot overflow, as -INT64_MIN is never read.
    Figure change{deposit_cents, out_of_range};
    change += Figure{-withdrawal_cents, false};
    balance_ += change;
    return balance_;
}

}  // namespace quillet
