// The one way a balance is summed, wherever one is shown (the list, the reports, the reconcile
// window, the chart, quillet-cli): a figure is whole cents, exact at any size; a sum that does not
// fit in 64-bit cents is out of range, and a running balance that once was stays out of range from
// there on (the sum of a million deposits of 9999999.00 in one month already passes 5e20 cents).
#pragma once

#include <cstdint>

namespace quillet {

struct Figure {
    std::int64_t cents = 0;
    bool out_of_range = false;
    // Adds with a check; a sum that does not fit is out of range from then on.
    Figure& operator+=(const Figure& more);
    bool operator==(const Figure&) const = default;
};

// A sum kept wider than any figure (ticks come and go, a month's running balances add up), given
// as a figure: out of range when it does not fit.
__extension__ using WideCents = __int128;
Figure figure_of(WideCents cents);

// The balance as transactions move it, one after another.
class RunningBalance {
  public:
    RunningBalance() = default;
    explicit RunningBalance(Figure start) : balance_(start) {}
    // Moves the balance by a deposit less a withdrawal (an amount out of range makes it so); gives
    // the balance after.
    const Figure& add(std::int64_t deposit_cents, std::int64_t withdrawal_cents, bool out_of_range = false);
    const Figure& figure() const { return balance_; }

  private:
    Figure balance_;
};

}  // namespace quillet
