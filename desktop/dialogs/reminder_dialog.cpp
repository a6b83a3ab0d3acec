#include "desktop/dialogs/reminder_dialog.h"

#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"
#include "core/settings/pick_lists.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/app_state.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/reminder_indicator.h"
#include "ui/events.h"
#include "ui/gadgets.h"

namespace quillet {

using namespace reminder_ids;

namespace {

void add() {
    AppState& state = app();
    const std::string text = trim(ui::get_text(kText));
    if (text.empty()) {
        show_message(kMessageReminderEmpty, kWindow);
        ui::set_focus(kText);
        return;
    }
    const DateValue day = ui::get_state(kCalendar);
    bool unreadable = false;
    if (const IoStatus added = add_reminder(state.reminder_path, day, text, reminder_texts(), &unreadable);
        !added) {
        // A file that could not be read is left alone, or its reminders would be lost.
        show_message(unreadable ? kMessageReminderUnreadable : kMessageReminderFile, kWindow,
                     file_and_cause(state.reminder_path, added));
        return;
    }
    insert_into_pick_list(state.pick_lists[kReminderList], text, true);
    show_message(kMessageNotice, kWindow,
                 ShownText::of_text(texts().reminder_added + format_date(kDisplayDateMask, day)));
    const int end = static_cast<int>(ui::get_text(kText).size());
    ui::set_selection(kText, end, end);
    ui::set_focus(kCalendar);
}

// The indicator is brought up to date once the dialog is gone (it belongs to the main window).
void close() {
    close_dialog(kWindow);
    refresh_reminder_indicator();
}

}  // namespace

void open_reminder_dialog() {
    const TextTable& t = texts();
    const DateValue today = current_date();
    open_dialog(kWindow, kWidth, kHeight, t.reminder_title);
    ui::create_calendar(kCalendar, 16, 16, 230, 166, today);
    ui::set_attribute(kCalendar, ui::kAttributeMinimumDate, today);
    ui::create_combo(kText, 16, 198, 230, 26, ui::kComboEditable);
    // The reminder file is UTF-8: a reminder keeps every character typed.
    ui::set_attribute(kText, ui::kAttributeUnicodeText, 1);
    ui::set_attribute(kText, ui::kAttributeTextLimit, kTextLimit);
    for (const std::string& entry : app().pick_lists[kReminderList]) ui::add_item(kText, -1, entry);
    ui::set_state(kText, 0);
    ui::create_button(kOk, 70, 240, 80, 28, t.add_reminder_button);
    ui::create_button(kClose, 166, 240, 80, 28, t.close_button);
    install_dialog_shortcuts(kWindow, kText, kClose, kHelp);
    ui::select_all(kText);
}

void handle_reminder_dialog(int kind) {
    if (kind == ui::kEventGadget) {
        if (ui::event_gadget() == kOk) add();
        if (ui::event_gadget() == kClose) close();
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        // Escape does exactly what Close does.
        case kClose: ui::post_event(ui::kEventGadget, kWindow, kClose); break;
        case kHelp: open_help_topic(texts().reminder_help_topic); break;
        default: press_return(kWindow, kText, kOk); break;  // in the text field it adds
    }
}

}  // namespace quillet
