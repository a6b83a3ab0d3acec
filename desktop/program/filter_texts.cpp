#include "desktop/program/filter_texts.h"

namespace quillet {

void prepare_filter_texts(FilterTexts& t) {
    t.filter_item = "&Filter\tCtrl+F";
    t.text_caption = "Te&xt:";
    t.when_caption = "&When:";
    t.and_caption = "a&nd";
    t.kind_caption = "&Kind:";
    t.least_caption = "Amo&unt:";
    t.most_caption = "u&p to";
    t.state_caption = "Stat&e:";
    t.category_caption = "&Category:";
    t.saved_caption = "&Saved:";
    t.save_button = "Sa&ve";
    t.forget_button = "&Delete";
    t.periods = {"Between", "This month", "Last month", "This year", "Since the last statement"};
    t.kinds = {"All", "Deposits", "Payments"};
    t.states = {"All", "Not cleared", "Cleared", "Reconciled"};
    t.any_category = "Any";
    t.no_saved = "";
    t.bar_tip =
        "Only the transactions that match every field are listed. Escape clears the filter, then hides it.";
    t.not_a_day = " is not a day (yyyy/mm/dd): the filter leaves it out.";
    t.not_an_amount = " is not an amount: the filter leaves it out.";
    t.ends_before_start = "The period ends before it starts: no transaction is in it.";
    t.shown_of = " of ";
    t.shown_transactions = " transactions, deposits ";
    t.shown_deposits = "";
    t.shown_payments = ", payments ";
    t.name_wanted = "Type the filter's name here, then Save (or Delete).";
    t.saving = "saving the filter ";
    t.deleting = "deleting the filter ";
    t.only_filtered_box = "&Only the filtered transactions";
}

}  // namespace quillet
