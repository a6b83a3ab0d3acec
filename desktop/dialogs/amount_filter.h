// The amount field takes digits and one full stop, nothing else, whatever is typed or pasted.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

struct FilteredAmount {
    std::string text;
    int caret = 0;
};

// Drops every character but digits and the first full stop, and moves the caret back by the
// characters dropped before it.
FilteredAmount filter_amount(std::string_view text, int caret);

// Filters the amount gadget's text in place, keeping its caret where it belongs.
void filter_amount_gadget(int gadget);

}  // namespace quillet
