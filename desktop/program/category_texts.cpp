#include "desktop/program/category_texts.h"

namespace quillet {

void prepare_category_texts(CategoryTexts& t) {
    t.category_caption = "Cate&gory:";
    t.split_button = "&Split...";
    t.proposed = "proposed for this payee";
    t.split_shown = "Split";
    t.unavailable = "Categories cannot be used: ";

    t.split_title = "Split";
    t.split_category = "Category";
    t.split_amount = "Amount";
    t.remainder = "Left to place: ";
    t.split_ok = "OK";
    t.split_cancel = "Cancel";
    t.split_help_topic = "categories";

    t.name_problems = {"", "A category's name (and each part of \"Parent:Child\") needs a letter.",
                       "A category's name has at most 48 characters.",
                       "A category has at most one parent: one \":\" in its name."};
    t.refusals = {"",
                  "",
                  "There is a category of that name already.",
                  "There is no such category.",
                  "A category cannot be merged into itself or into its own child.",
                  "Transactions use this category: choose where they go.",
                  "A category with children cannot become a child.",
                  "The rule's text has no letter or digit: it would match every payee.",
                  "There is no such rule."};
    t.split_unbalanced = "The split's parts do not add up to the amount.";

    t.tip_category = "Category: ";

    t.categories_item = "Cate&gories...";
    t.categories_title = "Categories";
    t.add_button = "&Add";
    t.rename_button = "&Rename";
    t.merge_button = "&Merge into";
    t.delete_button = "&Delete...";
    t.close_button = "&Close";
    t.rules_caption = "Payee rules, tried in this order (the first that matches decides):";
    t.add_rule_button = "Add r&ule";
    t.delete_rule_button = "Delete ru&le";
    t.apply_rules_button = "A&pply rules to uncategorised...";
    t.categories_help_topic = "categories";
    t.name_caption = "&Name:";
    t.window_note = "Rename, Merge into and Delete act on the selected category, with the name typed.";
    t.merge_wants_name = "Type the name of the category to merge into, then press Merge again.";
    t.applied_count = " transactions were given a category by the rules.";
    t.nothing_applied = "No transaction without a category matches a rule.";
    t.category_columns = {"Category", "Transactions"};
    t.rule_columns = {"Payee", "Text", "Category"};
    t.matches = {"equals", "contains", "starts with"};
    t.learned_mark = " (learned)";

    t.by_category_option = "Spending &by category";
    t.learn_box = "Learn &payees' categories";
    t.column_box = "Category colu&mn in the list";
    t.column_title = "Category";
    t.line_category_caption = "Category o&f the line:";
    t.by_rules = "As the rules give";
    t.no_category = "None";
    t.bars_caption = "&Bars:";
    t.bars_by_month = "By month";
    t.payments_of = "Payments in ";
}

}  // namespace quillet
