#include "desktop/dialogs/due_window.h"

#include "core/import/conventions.h"
#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"
#include "core/schedule/due_check.h"
#include "core/session/enter_scheduled.h"
#include "desktop/dialogs/amount_filter.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/program/undo_captions.h"
#include "desktop/views/balance_warning.h"
#include "desktop/views/register_view.h"
#include "desktop/views/reminder_indicator.h"
#include "ui/bars.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {

using namespace due_ids;

namespace {

const ScheduleTexts& words() { return texts().schedules; }

DueSheet& sheet() { return *app().due_sheet; }

DateValue today() { return day_of_value(current_date()); }

std::string day_text(DateValue day) { return format_date(kDisplayDateMask, day); }

std::string late_text(std::int64_t days) {
    const ScheduleTexts& t = words();
    if (days <= 0) return t.due_today;
    return integer_text(days) + (days == 1 ? t.day_late : t.days_late);
}

// Due, payee, amount, late; a heading names its schedule and how many are due.
void supply_row(int row, std::string& text) {
    text.clear();
    const DueSheet& due = sheet();
    if (row < 0 || static_cast<std::size_t>(row) >= due.rows().size()) return;
    const DueSheetRow& at = due.rows()[static_cast<std::size_t>(row)];
    const Schedule& schedule = due.schedule_of(at);
    if (at.heading) {
        text = "\n" + trim(schedule.payee) + "\n\n" + integer_text(static_cast<std::int64_t>(at.count)) +
               words().due_count_suffix;
        return;
    }
    const DueSheetLine& line = due.lines()[at.first];
    const bool grouped = row > 0 && due.rows()[static_cast<std::size_t>(row - 1)].schedule == at.schedule;
    text = day_text(line.day) + '\n' + (grouped ? "    " : "") + trim(schedule.payee) + '\n' +
           cents_text(schedule.deposit ? line.cents : -line.cents) + '\n' + late_text(line.due.days_late);
}

void show_ticks() {
    const DueSheet& due = sheet();
    std::vector<bool> ticks(due.rows().size());
    for (std::size_t row = 0; row < ticks.size(); ++row) ticks[row] = due.ticked(row);
    ui::set_item_ticks(kList, ticks);
    const bool any = due.ticked_count() > 0;
    ui::disable_gadget(kEnter, any ? 0 : 1);
    ui::disable_gadget(kSkip, any ? 0 : 1);
}

bool take_fields();

// The selected line's day and amount in the fields below the list (what was typed for the line
// shown before is kept first); a heading has none.
void show_selected() {
    if (app().due_row_shown != ui::get_state(kList)) (void)take_fields();
    const int row = ui::get_state(kList);
    app().due_row_shown = row;
    const DueSheet& due = sheet();
    const bool line = row >= 0 && static_cast<std::size_t>(row) < due.rows().size() &&
                      !due.rows()[static_cast<std::size_t>(row)].heading;
    ui::disable_gadget(kDay, line ? 0 : 1);
    ui::disable_gadget(kAmount, line ? 0 : 1);
    if (!line) return;
    const DueSheetLine& shown = due.lines()[due.rows()[static_cast<std::size_t>(row)].first];
    ui::set_state(kDay, shown.day);
    ui::set_text(kAmount, cents_text(shown.cents));
}

// The fields' day and amount into the line they show; false (and said) for an amount the register
// cannot hold.
bool take_fields() {
    const int row = app().due_row_shown;
    if (row < 0 || static_cast<std::size_t>(row) >= sheet().rows().size() ||
        sheet().rows()[static_cast<std::size_t>(row)].heading)
        return true;
    DueSheetLine& line = sheet().line_of(static_cast<std::size_t>(row));
    const AmountReading reading = read_amount(trim(ui::get_text(kAmount)), DecimalMark::kPoint);
    if (reading.status != AmountReading::Status::kOk || reading.cents <= 0 ||
        !register_keeps(reading.cents)) {
        show_message(kMessageScheduleRefused, kWindow, ShownText::of_text(words().amount_not_kept));
        ui::set_focus(kAmount);
        return false;
    }
    const DateValue day = day_of_value(ui::get_state(kDay));
    line.cents = reading.cents;
    if (day != kNoDate) line.day = day;
    ui::supplied_row_changed(kList, row);
    return true;
}

void fill_list() {
    const int count = static_cast<int>(sheet().rows().size());
    ui::suspend_drawing(kList);
    ui::supply_rows(kList, count, supply_row);
    show_ticks();
    ui::resume_drawing(kList);
    app().due_row_shown = -1;
    if (count > 0) ui::set_state(kList, 0);
    show_selected();
}

void close_due() {
    close_dialog(kWindow);
    app().due_sheet.reset();
    refresh_due_count();
}

// The status bar's note: how many entered themselves or were entered, then the warning of a
// balance falling low ahead, when there is one.
void say_in_status_bar(std::size_t entered, const std::string& warning) {
    const ScheduleTexts& t = words();
    std::string note = entered == 0   ? std::string()
                       : entered == 1 ? t.entered_one
                                      : integer_text(static_cast<std::int64_t>(entered)) + t.entered_many;
    if (!note.empty() && !warning.empty()) note += ".   ";
    ui::set_status_field_text(main_ids::kStatusBar, main_ids::kScheduleField, note + warning);
}

// What is still due, read again: the window closes when nothing is left.
void list_again() {
    RowChange none;
    DueCheck check = check_due(register_session(), today(), false, none);
    app().due_waiting = check.asked.size();
    if (check.asked.empty()) {
        close_due();
        return;
    }
    app().due_sheet = DueSheet(std::move(check.schedules), check.asked);
    fill_list();
}

// A change refused because another program entered or skipped an occurrence meanwhile is said,
// and the list shows what is left; any other failure leaves the window as it was.
bool due_result(const SessionResult& result) {
    if (result.done()) return true;
    if (result.cause().error() == EALREADY) {
        show_message(kMessageDueFailed, kWindow, ShownText::of_text(words().entered_elsewhere));
        list_again();
        return false;
    }
    show_session_result(result, kWindow);
    return false;
}

void enter_ticked() {
    if (!take_fields()) return;
    const std::vector<ScheduledEntry> entries = sheet().ticked_entries();
    if (entries.empty()) return;
    RowChange change;
    if (!due_result(register_session().apply(std::make_shared<EnterScheduled>(entries), change))) return;
    show_row_change(change);
    say_in_status_bar(entries.size(), {});
    list_again();
}

void skip_ticked() {
    const std::vector<UsedOccurrence> skips = sheet().ticked_skips(today());
    if (skips.empty()) return;
    RowChange change;
    if (!due_result(register_session().apply(std::make_shared<SkipScheduled>(skips), change))) return;
    show_undo_captions();
    list_again();
}

void note_tick() {
    const int row = ui::get_state(kList);
    if (row < 0 || static_cast<std::size_t>(row) >= sheet().rows().size()) return;
    sheet().tick(static_cast<std::size_t>(row), ui::is_item_ticked(kList, row));
    show_ticks();
}

void open_due_window(DueCheck& check) {
    const ScheduleTexts& t = words();
    app().due_sheet = DueSheet(std::move(check.schedules), check.asked);
    open_dialog(kWindow, kWidth, kHeight, t.due_title);
    ui::create_text(kCaption, 16, 14, 588, 18, t.due_caption);
    ui::create_list(
        kList, 16, 38, 588, 290, t.due_columns[0], 100,
        ui::kListFullRowSelect | ui::kListGridLines | ui::kListAlwaysShowSelection | ui::kListTickBoxes);
    const int widths[] = {100, 230, 110, 130};
    for (int column = 1; column < 4; ++column)
        ui::add_column(kList, column, t.due_columns[static_cast<std::size_t>(column)], widths[column]);
    ui::set_column_alignment(kList, 2, ui::kAlignRight);
    ui::set_column_figures(kList, 2);
    ui::create_text(kDayCaption, 16, 346, 50, 18, t.day_caption_due);
    ui::create_date(kDay, 70, 342, 150, 26, std::string(kDisplayDateMask), today());
    ui::set_label_target(kDayCaption, kDay);
    ui::create_text(kAmountCaption, 240, 346, 64, 18, t.amount_caption_due);
    ui::create_string(kAmount, 308, 342, 120, 26, "");
    ui::set_attribute(kAmount, ui::kAttributeTextLimit, kAmountLimit);
    ui::set_label_target(kAmountCaption, kAmount);
    ui::create_button(kEnter, 316, 392, 92, 28, t.enter_button, ui::kButtonDefault);
    ui::create_button(kSkip, 414, 392, 92, 28, t.skip_button);
    ui::create_button(kLater, 512, 392, 92, 28, t.later_button);
    install_dialog_shortcuts(kWindow, kList, kLater, kHelp);
    fill_list();
}

void show_due_indicator() { refresh_reminder_indicator(); }

}  // namespace

void check_what_is_due(bool on_command) {
    AppState& state = app();
    RegisterSession& session = register_session();
    if (!session.is_open() || state.due_sheet) return;
    state.due_checked = today();
    RowChange change;
    DueCheck check = check_due(session, today(), true, change);
    if (!check.read) {
        if (on_command)
            show_message(kMessageSchedulesUnreadable, main_ids::kMainWindow,
                         file_and_cause(session.store_path(), cause_text(check.read, &texts().store_causes)));
        return;
    }
    if (check.entered > 0) {
        show_row_change(change);
    } else if (!check.entry.done()) {
        show_session_result(check.entry, main_ids::kMainWindow);
    }
    state.due_waiting = check.asked.size();
    show_due_indicator();
    say_in_status_bar(check.entered, balance_warning(check.schedules, check.used));
    if (check.asked.empty()) {
        if (on_command)
            show_message(kMessageNotice, main_ids::kMainWindow, ShownText::of_text(words().nothing_due));
        return;
    }
    // A dialog already open keeps the main window: the indicator says what is due meanwhile.
    if (ui::is_window_enabled(main_ids::kMainWindow)) open_due_window(check);
}

void check_due_for_register() {
    RegisterSession& session = register_session();
    if (!session.is_open() || app().due_register == session.path()) return;
    app().due_register = session.path();
    check_what_is_due(false);
}

void check_new_day() {
    if (app().due_checked == today() || !register_session().is_open()) return;
    check_what_is_due(false);
}

void refresh_due_count() {
    RegisterSession& session = register_session();
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    app().due_waiting = session.is_open() && session.look_up_schedules(schedules, used)
                            ? due_through(schedules, used, today()).size()
                            : 0;
    show_due_indicator();
}

void handle_due_window(int kind) {
    if (!app().due_sheet) return;
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kList:
                if (ui::event_type() == ui::kTicked) {
                    note_tick();
                } else if (ui::event_type() == ui::kChange) {
                    show_selected();
                }
                break;
            case kAmount:
                if (ui::event_type() == ui::kChange) filter_amount_gadget(kAmount);
                break;
            case kEnter: enter_ticked(); break;
            case kSkip: skip_ticked(); break;
            case kLater: close_due(); break;
            default: break;
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        case kLater: close_due(); break;
        case kHelp: open_help_topic(words().due_help_topic); break;
        case kDialogReturn: {
            const int focused = ui::get_focus();
            if (focused == kSkip || focused == kLater) {
                click_focused_gadget();
            } else {
                enter_ticked();
            }
            break;
        }
        default: break;
    }
}

}  // namespace quillet
