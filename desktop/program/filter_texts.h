// The fixed texts of the filter bar, its figures in the status bar and the report dialog's choice.
// Windows-1252 bytes, "&" before an access key.
#pragma once

#include <array>
#include <string>

namespace quillet {

struct FilterTexts {
    std::string filter_item;
    std::string text_caption, when_caption, and_caption, kind_caption, least_caption, most_caption,
        state_caption, category_caption, saved_caption, save_button, forget_button;
    std::array<std::string, 5>
        periods;  // the days given, this month, last month, this year, since the statement
    std::array<std::string, 3> kinds;   // all, deposits, payments
    std::array<std::string, 4> states;  // all, not cleared, cleared, reconciled
    std::string any_category, no_saved;
    // The bar's tool tip, and what it says of fields it leaves out or rows it cannot show.
    std::string bar_tip, not_a_day, not_an_amount, ends_before_start;
    // "12 of 1,000 transactions, deposits 10.00, payments 250.00"
    std::string shown_of, shown_transactions, shown_deposits, shown_payments;
    // Saving a filter under a name.
    std::string name_wanted, saving, deleting;
    // The report dialog.
    std::string only_filtered_box;
};

void prepare_filter_texts(FilterTexts& t);

}  // namespace quillet
