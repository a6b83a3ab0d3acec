#include "desktop/program/schedule_texts.h"

namespace quillet {

void prepare_schedule_texts(ScheduleTexts& t) {
    t.schedules_item = "Sc&hedules...\tCtrl+H";
    t.due_item = "Wha&t is due...\tCtrl+D";
    t.schedule_this_item = "Schedule th&is...";
    t.popup_schedule_this = "Schedule this...";

    t.schedules_title = "Schedules";
    t.new_button = "&New...";
    t.edit_button = "&Edit...";
    t.delete_button = "&Delete";
    t.enter_now_button = "Enter n&ow";
    t.close_button = "&Close";
    t.schedules_help_topic = "schedules";
    t.ended = "ended";
    t.nothing_scheduled =
        "Nothing is scheduled yet. New makes a schedule; Schedule this... starts one from "
        "a transaction.";
    t.schedule_columns = {"Next due", "Payee", "Amount", "Repeats", "Entered"};
    t.entered_how = {"when asked", "by itself"};
    t.entered_elsewhere =
        "Another program entered or skipped some of it meanwhile. The list shows what is "
        "still due.";

    t.new_schedule_title = "New schedule";
    t.edit_schedule_title = "Edit schedule";
    // Every access key of the editor is its own; OK takes Return.
    t.field_captions = {"&Payee:", "&Type:", "&Number:", "&Memo:"};
    t.deposit_option = "&Deposit";
    t.paid_option = "Pa&id";
    t.varies_box = "Amount &varies";
    t.second_date_box = "&Also on, days after:";
    t.second_date_after = "";
    t.first_caption = "&First due:";
    t.repeats_caption = "&Repeats:";
    t.every_caption = "&Every";
    t.day_caption = "&On day";
    t.ends_caption = "End&s:";
    t.weekend_caption = "&Weekend:";
    t.enters_itself_box = "Enters &by itself when due";
    t.next_due_label = "Next due: ";
    t.ok_button = "OK";
    t.cancel_button = "&Cancel";
    t.repeats = {
        "Once", "Days", "Weeks", "Months, on a day", "Months, on the last day", "Months, days before the end",
        "Years"};
    t.ends = {"Never", "After a day", "After a count"};
    t.weekends = {"Stays on the weekend", "Moves to the Friday before", "Moves to the Monday after"};
    t.rule_problems = {"", "Choose the first due day.", "Every is a count of 1 or more.",
                       "A day of the month is 1 to 31; days before the end are 0 to 27.",
                       "The schedule ends before its first day."};
    t.payee_and_amount_wanted = "Type the payee and the amount first.";
    t.amount_not_kept = "The amount is not one the register can hold to the cent.";
    t.days_later_wrong = "The second date is 0 to 999 days after the due day.";
    t.count_wanted = "Type how many times it falls due, 1 or more.";

    t.due_title = "Due";
    t.due_caption = "Scheduled transactions due up to today. The ticked ones are entered or skipped.";
    t.enter_button = "&Enter";
    t.skip_button = "&Skip";
    t.later_button = "&Later";
    t.day_caption_due = "&Day:";
    t.amount_caption_due = "A&mount:";
    t.due_help_topic = "due";
    t.due_count_suffix = " due";
    t.due_today = "today";
    t.day_late = " day late";
    t.days_late = " days late";
    t.due_columns = {"Due", "Payee", "Amount", "Late"};
    t.nothing_due = "Nothing scheduled is due.";

    t.entered_one = "1 scheduled transaction entered";
    t.entered_many = " scheduled transactions entered";
    t.due_tip_one = "1 scheduled transaction is due: What is due... in the transaction menu.";
    t.due_tip_many = " scheduled transactions are due: What is due... in the transaction menu.";

    t.ahead_caption = "&Ahead";
    t.forecast_series = "Forecast";
    t.lowest_ahead = "Lowest ahead: ";
    t.on_day = " on ";
    t.falls_to = "Balance falls to ";
    t.low_balance_caption = "&Warn below:";
    t.low_balance_wrong = "The amount to warn below is not an amount to the cent, such as 100.00 or -500.00.";
    t.ahead_ranges = {"No forecast", "The next 30 days", "The next 90 days", "The next 365 days"};
}

}  // namespace quillet
