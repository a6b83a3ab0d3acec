// The fixed texts of scheduled transactions: their menu items, the schedules window, the schedule
// editor, the due window and the balance ahead. Windows-1252 bytes, "&" before an access key.
#pragma once

#include <array>
#include <string>

namespace quillet {

struct ScheduleTexts {
    std::string schedules_item, due_item, schedule_this_item, popup_schedule_this;
    // The schedules window.
    std::string schedules_title, new_button, edit_button, delete_button, enter_now_button, close_button,
        schedules_help_topic, ended, nothing_scheduled;
    std::array<std::string, 5> schedule_columns;  // next due, payee, amount, repeats, entered
    std::array<std::string, 2> entered_how;       // when asked, by itself
    std::string entered_elsewhere;                // another program entered or skipped it meanwhile
    // The schedule editor.
    std::string new_schedule_title, edit_schedule_title;
    std::array<std::string, 4> field_captions;  // payee, type, number, memo
    std::string deposit_option, paid_option, varies_box, second_date_box, second_date_after, first_caption,
        repeats_caption, every_caption, day_caption, ends_caption, weekend_caption, enters_itself_box,
        next_due_label, ok_button, cancel_button;
    std::array<std::string, 7> repeats;   // in the order of the rule's kinds
    std::array<std::string, 3> ends;      // never, on a day, after a count
    std::array<std::string, 3> weekends;  // stays, the Friday before, the Monday after
    // Why a rule cannot be kept, by its problem (none, no first day, every 0, no such day, ends first).
    std::array<std::string, 5> rule_problems;
    std::string payee_and_amount_wanted, amount_not_kept, days_later_wrong, count_wanted;
    // The due window.
    std::string due_title, due_caption, enter_button, skip_button, later_button, day_caption_due,
        amount_caption_due, due_help_topic, due_count_suffix, due_today, day_late, days_late;
    std::array<std::string, 4> due_columns;  // due, payee, amount, late
    std::string nothing_due;
    // The status bar and the reminder indicator.
    std::string entered_one, entered_many, due_tip_one, due_tip_many;
    // The balance ahead in the chart and the status bar.
    std::string ahead_caption, forecast_series, lowest_ahead, on_day, falls_to;
    std::array<std::string, 4> ahead_ranges;             // none, 30, 90, 365 days
    std::string low_balance_caption, low_balance_wrong;  // in the options dialog
};

void prepare_schedule_texts(ScheduleTexts& t);

}  // namespace quillet
