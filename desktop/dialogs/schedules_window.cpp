#include "desktop/dialogs/schedules_window.h"

#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"
#include "core/schedule/due_check.h"
#include "core/session/enter_scheduled.h"
#include "core/session/put_schedule.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/dialogs/due_window.h"
#include "desktop/dialogs/schedule_editor.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/program/undo_captions.h"
#include "desktop/views/register_view.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"

namespace quillet {

using namespace schedules_ids;

namespace {

const ScheduleTexts& words() { return texts().schedules; }

ScheduleBook& book() { return *app().schedule_book; }

// The store's schedules read again; false (and said) when they cannot be read.
bool read_book(int owner) {
    ScheduleBook fresh;
    if (const IoStatus read = register_session().look_up_schedules(fresh.schedules, fresh.used); !read) {
        show_message(
            kMessageSchedulesUnreadable, owner,
            file_and_cause(register_session().store_path(), cause_text(read, &texts().store_causes)));
        return false;
    }
    app().schedule_book = std::move(fresh);
    return true;
}

// Next due, payee, amount, repeats, entered.
void supply_row(int row, std::string& text) {
    text.clear();
    const std::vector<Schedule>& schedules = book().schedules;
    if (row < 0 || static_cast<std::size_t>(row) >= schedules.size()) return;
    const Schedule& schedule = schedules[static_cast<std::size_t>(row)];
    const std::optional<Occurrence> next = next_open(schedule, book().used);
    text = (next ? format_date(kDisplayDateMask, next->due) : words().ended) + '\n' + trim(schedule.payee) +
           '\n' + cents_text(schedule.signed_cents()) + '\n' + rule_text(schedule.rule) + '\n' +
           words().entered_how[schedule.enters_unasked() ? 1 : 0];
}

void fill_list(int selected) {
    const int count = static_cast<int>(book().schedules.size());
    ui::supply_rows(kList, count, supply_row);
    ui::set_text(kNote, count == 0 ? words().nothing_scheduled : std::string());
    for (const int button : {kEdit, kDelete, kEnterNow}) ui::disable_gadget(button, count == 0 ? 1 : 0);
    if (count > 0) ui::set_state(kList, std::clamp(selected, 0, count - 1));
}

const Schedule* selected_schedule() {
    const int row = ui::get_state(kList);
    const std::vector<Schedule>& schedules = book().schedules;
    if (row < 0 || static_cast<std::size_t>(row) >= schedules.size()) return nullptr;
    return &schedules[static_cast<std::size_t>(row)];
}

void close_schedules() {
    close_dialog(kWindow);
    app().schedule_book.reset();
}

void new_schedule() {
    Schedule schedule;
    schedule.rule.first = day_of_value(current_date());
    schedule.rule.day = 0;
    open_schedule_editor(kWindow, schedule, std::nullopt);
}

void edit_schedule() {
    if (const Schedule* schedule = selected_schedule()) open_schedule_editor(kWindow, *schedule, *schedule);
}

std::vector<UsedOccurrence> occurrences_of(const Schedule& schedule) {
    std::vector<UsedOccurrence> its;
    for (const UsedOccurrence& each : book().used) {
        if (each.schedule_id == schedule.id) its.push_back(each);
    }
    return its;
}

void delete_schedule() {
    const Schedule* schedule = selected_schedule();
    if (schedule == nullptr) return;
    if (show_message(kMessageConfirmScheduleDelete, kWindow,
                     ShownText::of_text(trim(schedule->payee) + ", " + rule_text(schedule->rule))) !=
        ui::kAnswerYes)
        return;
    RowChange change;
    const SessionResult removed = register_session().apply(
        std::make_shared<RemoveSchedule>(*schedule, occurrences_of(*schedule)), change);
    if (!show_session_result(removed, kWindow)) return;
    show_undo_captions();
    show_schedules_again();
    refresh_due_count();
}

// The schedule's next open occurrence entered today: early or late, it is used up.
void enter_now() {
    const Schedule* schedule = selected_schedule();
    if (schedule == nullptr) return;
    const std::optional<Occurrence> next = next_open(*schedule, book().used);
    if (!next) return;
    Occurrence today = *next;
    today.due = day_of_value(current_date());
    RowChange change;
    const SessionResult entered = register_session().apply(
        std::make_shared<EnterScheduled>(
            std::vector<ScheduledEntry>{{schedule->id, next->index, record_of(*schedule, today)}}),
        change);
    if (!entered.done() && entered.cause().error() == EALREADY) {
        show_message(kMessageDueFailed, kWindow, ShownText::of_text(words().entered_elsewhere));
        show_schedules_again();
        return;
    }
    if (!show_session_result(entered, kWindow)) return;
    show_row_change(change);
    show_schedules_again();
    refresh_due_count();
}

}  // namespace

void show_schedules_again() {
    if (!app().schedule_book) return;
    const int selected = ui::get_state(kList);
    if (read_book(kWindow)) fill_list(selected);
}

void open_schedules_window() {
    const ScheduleTexts& t = words();
    if (!read_book(main_ids::kMainWindow)) return;
    open_dialog(kWindow, kWidth, kHeight, t.schedules_title);
    ui::create_list(kList, 16, 16, 668, 300, t.schedule_columns[0], 90,
                    ui::kListFullRowSelect | ui::kListGridLines | ui::kListAlwaysShowSelection);
    const int widths[] = {90, 130, 90, 268, 86};
    for (int column = 1; column < 5; ++column)
        ui::add_column(kList, column, t.schedule_columns[static_cast<std::size_t>(column)], widths[column]);
    ui::set_column_alignment(kList, 2, ui::kAlignRight);
    ui::set_column_figures(kList, 2);
    ui::create_text(kNote, 16, 322, 668, 32, "");
    ui::create_button(kNew, 16, 360, 96, 28, t.new_button);
    ui::create_button(kEdit, 120, 360, 96, 28, t.edit_button);
    ui::create_button(kDelete, 224, 360, 96, 28, t.delete_button);
    ui::create_button(kEnterNow, 328, 360, 110, 28, t.enter_now_button);
    ui::create_button(kClose, 588, 360, 96, 28, t.close_button, ui::kButtonDefault);
    install_dialog_shortcuts(kWindow, kList, kClose, kHelp);
    fill_list(0);
    if (book().schedules.empty()) ui::set_focus(kNew);
}

void handle_schedules_window(int kind) {
    if (!app().schedule_book) return;
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kList:
                if (ui::event_type() == ui::kLeftDoubleClick) edit_schedule();
                break;
            case kNew: new_schedule(); break;
            case kEdit: edit_schedule(); break;
            case kDelete: delete_schedule(); break;
            case kEnterNow: enter_now(); break;
            case kClose: close_schedules(); break;
            default: break;
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        case kClose: close_schedules(); break;
        case kHelp: open_help_topic(words().schedules_help_topic); break;
        case kDialogReturn:
            if (ui::get_focus() == kList) {
                edit_schedule();
            } else {
                click_focused_gadget();
            }
            break;
        default: break;
    }
}

void schedule_this(int row) {
    RecordBytes bytes{};
    RegisterSession& session = register_session();
    if (const IoStatus read = session.read(session.slot_of(row), bytes); !read) {
        show_message(kMessageRecordUnreadable, main_ids::kMainWindow, file_and_cause(session.path(), read));
        return;
    }
    open_schedule_editor(main_ids::kMainWindow, schedule_from(decode_record(bytes.data())), std::nullopt);
}

}  // namespace quillet
