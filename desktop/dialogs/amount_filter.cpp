#include "desktop/dialogs/amount_filter.h"

#include <algorithm>

#include "ui/gadgets.h"

namespace quillet {

FilteredAmount filter_amount(std::string_view text, int caret) {
    FilteredAmount filtered;
    filtered.caret = caret;
    bool seen_stop = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        const bool keep = (c >= '0' && c <= '9') || (c == '.' && !seen_stop);
        if (c == '.') seen_stop = true;
        if (keep) {
            filtered.text += c;
        } else if (static_cast<int>(at) < caret) {
            --filtered.caret;
        }
    }
    filtered.caret = std::max(filtered.caret, 0);
    return filtered;
}

void filter_amount_gadget(int gadget) {
    const std::string text = ui::get_text(gadget);
    const FilteredAmount filtered = filter_amount(text, ui::get_selection(gadget).first);
    // A text that needs no filtering keeps its caret and selection (a filled amount stays selected).
    if (filtered.text == text) return;
    ui::set_text(gadget, filtered.text);
    ui::set_selection(gadget, filtered.caret, filtered.caret);
}

}  // namespace quillet
