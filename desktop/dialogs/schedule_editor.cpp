#include "desktop/dialogs/schedule_editor.h"

#include <charconv>

#include "core/import/conventions.h"
#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"
#include "core/schedule/schedule.h"
#include "core/session/put_schedule.h"
#include "desktop/dialogs/amount_filter.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/dialogs/due_window.h"
#include "desktop/dialogs/schedules_window.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/program/undo_captions.h"
#include "desktop/views/register_view.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {

using namespace schedule_editor_ids;

namespace {

constexpr int kShownDueDays = 5;

const ScheduleTexts& words() { return texts().schedules; }

// A whole number as typed, or -1 for none.
std::int32_t typed_count(int gadget) {
    const std::string text = trim(ui::get_text(gadget));
    std::int32_t value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0 ? value : -1;
}

int ends_shown() { return std::max(0, ui::get_state(kEnds)); }

ScheduleRule rule_from_fields() {
    ScheduleRule rule;
    rule.first = day_of_value(ui::get_state(kFirstDue));
    rule.repeat = static_cast<Repeat>(std::max(0, ui::get_state(kRepeats)));
    rule.every = typed_count(kEvery);
    const bool has_day = rule.repeat == Repeat::kMonthsOnDay || rule.repeat == Repeat::kMonthsBeforeEnd;
    rule.day = has_day ? typed_count(kDay) : 0;
    // A day left empty on a monthly rule is the first due day's.
    if (rule.repeat == Repeat::kMonthsOnDay && trim(ui::get_text(kDay)).empty()) rule.day = 0;
    if (rule.repeat == Repeat::kMonthsOnDay && rule.day < 0) rule.day = 32;
    if (rule.repeat == Repeat::kOnce) rule.every = 1;
    if (ends_shown() == 1) rule.until = day_of_value(ui::get_state(kUntil));
    if (ends_shown() == 2) rule.count = typed_count(kCount);
    rule.weekend = static_cast<WeekendRule>(std::max(0, ui::get_state(kWeekend)));
    return rule;
}

// Why the rule cannot be kept, or empty.
std::string rule_refusal(const ScheduleRule& rule) {
    if (ends_shown() == 2 && rule.count <= 0) return words().count_wanted;
    return words().rule_problems[static_cast<std::size_t>(rule_problem(rule))];
}

// The gadgets the chosen rule does not use are disabled; the next five due days are shown.
void show_rule() {
    const ScheduleRule rule = rule_from_fields();
    const bool has_day = rule.repeat == Repeat::kMonthsOnDay || rule.repeat == Repeat::kMonthsBeforeEnd;
    ui::disable_gadget(kDay, has_day ? 0 : 1);
    ui::disable_gadget(kEvery, rule.repeat == Repeat::kOnce ? 1 : 0);
    ui::disable_gadget(kUntil, ends_shown() == 1 ? 0 : 1);
    ui::disable_gadget(kCount, ends_shown() == 2 ? 0 : 1);
    ui::disable_gadget(kSecondDays, ui::get_state(kHasSecondDate) == 1 ? 0 : 1);
    const std::string refusal = rule_refusal(rule);
    if (!refusal.empty()) {
        ui::set_text(kNextDue, refusal);
        return;
    }
    std::string days;
    for (std::int64_t index = 0; index < kShownDueDays; ++index) {
        const std::optional<Occurrence> next = occurrence(rule, index);
        if (!next) break;
        days += (index > 0 ? ", " : "") + format_date(kDisplayDateMask, next->due);
    }
    ui::set_text(kNextDue, words().next_due_label + days);
}

void fill_combo(int combo, const PickList& list, const std::string& text) {
    for (const std::string& entry : list) ui::add_item(combo, -1, entry);
    ui::set_text(combo, text);
}

void create_gadgets(const Schedule& schedule) {
    const ScheduleTexts& t = words();
    const AppState& state = app();
    const int captions[] = {kPayee, kType, kNumber, kMemo};
    const int places[][2] = {{16, 16}, {266, 16}, {16, 50}, {266, 50}};
    for (int at = 0; at < 4; ++at) {
        const int x = places[at][0];
        const int y = places[at][1];
        ui::create_text(kFirstCaption + at, x, y + 4, 64, 16, t.field_captions[static_cast<std::size_t>(at)]);
        if (captions[at] == kNumber) {
            ui::create_string(kNumber, x + 68, y, 170, 26, schedule.number);
        } else {
            ui::create_combo(captions[at], x + 68, y, 170, 26, ui::kComboEditable);
        }
        ui::set_attribute(captions[at], ui::kAttributeTextLimit, kTextLimit);
        ui::set_label_target(kFirstCaption + at, captions[at]);
    }
    fill_combo(kPayee, state.pick_lists[kPayeeList], schedule.payee);
    fill_combo(kType, state.pick_lists[kTypeList], schedule.type);
    fill_combo(kMemo, state.pick_lists[kDescriptionList], schedule.memo);
    ui::create_option(kDeposit, 16, 86, 80, 16, t.deposit_option);
    ui::create_option(kPaid, 16, 106, 80, 16, t.paid_option);
    ui::create_string(kAmount, 100, 90, 154, 26, schedule.cents > 0 ? cents_text(schedule.cents) : "");
    ui::set_attribute(kAmount, ui::kAttributeTextLimit, kAmountLimit);
    ui::set_state(schedule.deposit ? kDeposit : kPaid, 1);
    ui::create_check_box(kVaries, 266, 94, 238, 18, t.varies_box);
    ui::set_state(kVaries, schedule.amount_varies ? 1 : 0);
    ui::create_check_box(kHasSecondDate, 16, 134, 170, 18, t.second_date_box);
    ui::create_string(kSecondDays, 190, 130, 64, 26,
                      schedule.second_date_days >= 0 ? std::to_string(schedule.second_date_days) : "");
    ui::set_attribute(kSecondDays, ui::kAttributeTextLimit, 3);
    ui::set_state(kHasSecondDate, schedule.second_date_days >= 0 ? 1 : 0);
    ui::create_check_box(kEntersItself, 266, 134, 238, 18, t.enters_itself_box);
    ui::set_state(kEntersItself, schedule.enters_itself ? 1 : 0);

    const ScheduleRule& rule = schedule.rule;
    ui::create_text(kFirstDueCaption, 16, 180, 80, 16, t.first_caption);
    ui::create_date(kFirstDue, 100, 176, 154, 26, std::string(kDisplayDateMask),
                    rule.first != kNoDate ? rule.first : day_of_value(current_date()));
    ui::set_label_target(kFirstDueCaption, kFirstDue);
    ui::create_text(kWeekendCaption, 266, 180, 64, 16, t.weekend_caption);
    ui::create_combo(kWeekend, 334, 176, 170, 26);
    for (const std::string& each : t.weekends) ui::add_item(kWeekend, -1, each);
    ui::set_state(kWeekend, static_cast<int>(rule.weekend));
    ui::set_label_target(kWeekendCaption, kWeekend);
    ui::create_text(kRepeatsCaption, 16, 214, 80, 16, t.repeats_caption);
    ui::create_combo(kRepeats, 100, 210, 154, 26);
    for (const std::string& each : t.repeats) ui::add_item(kRepeats, -1, each);
    ui::set_state(kRepeats, static_cast<int>(rule.repeat));
    ui::set_label_target(kRepeatsCaption, kRepeats);
    ui::create_text(kEveryCaption, 266, 214, 64, 16, t.every_caption);
    ui::create_string(kEvery, 334, 210, 50, 26, std::to_string(std::max(1, rule.every)));
    ui::set_attribute(kEvery, ui::kAttributeTextLimit, 3);
    ui::set_label_target(kEveryCaption, kEvery);
    ui::create_text(kDayCaption, 394, 214, 56, 16, t.day_caption);
    ui::create_string(
        kDay, 454, 210, 50, 26,
        rule.day > 0 || rule.repeat == Repeat::kMonthsBeforeEnd ? std::to_string(rule.day) : "");
    ui::set_attribute(kDay, ui::kAttributeTextLimit, 2);
    ui::set_label_target(kDayCaption, kDay);
    ui::create_text(kEndsCaption, 16, 248, 80, 16, t.ends_caption);
    ui::create_combo(kEnds, 100, 244, 154, 26);
    for (const std::string& each : t.ends) ui::add_item(kEnds, -1, each);
    ui::set_state(kEnds, rule.until != kNoDate ? 1 : rule.count > 0 ? 2 : 0);
    ui::set_label_target(kEndsCaption, kEnds);
    ui::create_date(kUntil, 266, 244, 150, 26, std::string(kDisplayDateMask),
                    rule.until != kNoDate ? rule.until : day_of_value(current_date()));
    ui::create_string(kCount, 426, 244, 78, 26, rule.count > 0 ? std::to_string(rule.count) : "");
    ui::set_attribute(kCount, ui::kAttributeTextLimit, 5);
    ui::create_text(kNextDue, 16, 286, 488, 40, "");
    ui::create_button(kOk, 324, 340, 86, 28, t.ok_button, ui::kButtonDefault);
    ui::create_button(kCancel, 418, 340, 86, 28, t.cancel_button);
}

void close_editor() {
    const int parent = app().schedule_editing ? app().schedule_editing->parent : main_ids::kMainWindow;
    app().schedule_editing.reset();
    ui::close_window(kWindow);
    ui::disable_window(parent, 0);
    ui::activate_window(parent);
    if (parent == main_ids::kMainWindow) {
        select_register_row(app().current_row);
    } else {
        show_schedules_again();
    }
}

// The schedule the fields make, or why they make none.
std::optional<Schedule> schedule_from_fields(std::string& refusal) {
    const ScheduleTexts& t = words();
    Schedule schedule;
    if (app().schedule_editing->before) schedule.id = app().schedule_editing->before->id;
    schedule.payee = left(ui::get_text(kPayee), kTextLimit);
    schedule.type = left(ui::get_text(kType), kTextLimit);
    schedule.number = left(ui::get_text(kNumber), kTextLimit);
    schedule.memo = left(ui::get_text(kMemo), kTextLimit);
    const std::string amount = trim(ui::get_text(kAmount));
    if (trim(schedule.payee).empty() || amount.empty()) {
        refusal = t.payee_and_amount_wanted;
        return std::nullopt;
    }
    const AmountReading reading = read_amount(amount, DecimalMark::kPoint);
    if (reading.status != AmountReading::Status::kOk || reading.cents <= 0 ||
        !register_keeps(reading.cents)) {
        refusal = t.amount_not_kept;
        return std::nullopt;
    }
    schedule.cents = reading.cents;
    schedule.deposit = ui::get_state(kDeposit) == 1;
    schedule.amount_varies = ui::get_state(kVaries) == 1;
    schedule.enters_itself = ui::get_state(kEntersItself) == 1;
    if (ui::get_state(kHasSecondDate) == 1) {
        schedule.second_date_days = typed_count(kSecondDays);
        if (schedule.second_date_days < 0) {
            refusal = t.days_later_wrong;
            return std::nullopt;
        }
    }
    schedule.rule = rule_from_fields();
    refusal = rule_refusal(schedule.rule);
    if (!refusal.empty()) return std::nullopt;
    return schedule;
}

void save() {
    std::string refusal;
    const std::optional<Schedule> schedule = schedule_from_fields(refusal);
    if (!schedule) {
        show_message(kMessageScheduleRefused, kWindow, ShownText::of_text(refusal));
        return;
    }
    RowChange change;
    const SessionResult saved = register_session().apply(
        std::make_shared<PutSchedule>(*schedule, app().schedule_editing->before), change);
    if (!show_session_result(saved, kWindow)) return;
    close_editor();
    show_undo_captions();
    refresh_due_count();
}

}  // namespace

void open_schedule_editor(int parent, const Schedule& schedule, std::optional<Schedule> before) {
    const ScheduleTexts& t = words();
    app().schedule_editing = ScheduleEditing{std::move(before), parent};
    ui::disable_window(parent, 1);
    ui::open_window(kWindow, kWidth, kHeight,
                    app().schedule_editing->before ? t.edit_schedule_title : t.new_schedule_title,
                    ui::WindowStyle::kDialog, parent);
    create_gadgets(schedule);
    show_rule();
    install_dialog_shortcuts(kWindow, kPayee, kCancel, kHelp);
}

void handle_schedule_editor(int kind) {
    if (!app().schedule_editing) return;
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kAmount:
                if (ui::event_type() == ui::kChange) filter_amount_gadget(kAmount);
                break;
            case kFirstDue:
            case kRepeats:
            case kEvery:
            case kDay:
            case kEnds:
            case kUntil:
            case kCount:
            case kWeekend:
            case kHasSecondDate: show_rule(); break;
            case kOk: save(); break;
            case kCancel: close_editor(); break;
            default: break;
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        case kCancel: close_editor(); break;
        case kHelp: open_help_topic(words().schedules_help_topic); break;
        case kDialogNextOption: cycle_options(kDeposit, kPaid); break;
        case kDialogReturn: {
            const int focused = ui::get_focus();
            if (focused == kCancel || focused == kVaries || focused == kHasSecondDate ||
                focused == kEntersItself) {
                click_focused_gadget();
            } else {
                save();
            }
            break;
        }
        default: break;
    }
}

}  // namespace quillet
