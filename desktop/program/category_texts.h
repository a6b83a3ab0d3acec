// The fixed texts of categories: the transaction dialog's category field and split table, the
// categories window, the list's tool tip and the spending report's choice. Windows-1252 bytes, "&"
// before an access key.
#pragma once

#include <array>
#include <string>

namespace quillet {

struct CategoryTexts {
    // The transaction dialog.
    std::string category_caption, split_button, proposed, split_shown, unavailable;
    // The split table.
    std::string split_title, split_category, split_amount, remainder, split_ok, split_cancel,
        split_help_topic;
    // Why a name or an edit is refused, by CategoryRefusal (kBadName by its NameProblem).
    std::array<std::string, 4> name_problems;  // none, empty, too long, too deep
    std::array<std::string, 9> refusals;
    std::string split_unbalanced;
    // The list's tool tip.
    std::string tip_category;
    // The categories window.
    std::string categories_item, categories_title, add_button, rename_button, merge_button, delete_button,
        close_button, name_caption, rules_caption, add_rule_button, delete_rule_button, apply_rules_button,
        categories_help_topic, window_note, merge_wants_name, applied_count, nothing_applied;
    std::array<std::string, 2> category_columns;  // category, transactions
    std::array<std::string, 3> rule_columns;      // payee, text, category
    std::array<std::string, 3> matches;           // equals, contains, starts with
    std::string learned_mark;
    // The report dialog and the options.
    std::string by_category_option, learn_box, column_box, column_title;
    // The import dialog: each line's category, as the rules give it or as chosen.
    std::string line_category_caption, by_rules, no_category;
    // The chart: the bars by month, or a month's or year's payments by category.
    std::string bars_caption, bars_by_month, payments_of;
};

void prepare_category_texts(CategoryTexts& t);

}  // namespace quillet
