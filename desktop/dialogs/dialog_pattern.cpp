#include "desktop/dialogs/dialog_pattern.h"

#include "core/runtime/file_access.h"
#include "core/runtime/help_viewer.h"
#include "core/runtime/program_folders.h"
#include "core/runtime/windows1252.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {

void open_dialog(int window, int width, int height, const std::string& title) {
    ui::disable_window(main_ids::kMainWindow, 1);
    ui::open_window(window, width, height, title, ui::WindowStyle::kDialog, main_ids::kMainWindow);
}

void install_dialog_shortcuts(int window, int focus_gadget, int escape_id, int f1_id) {
    ui::add_shortcut(window, ui::kKeyReturn, kDialogReturn);
    ui::add_shortcut(window, ui::kControl | ui::kKeyTab, kDialogNextOption);
    ui::add_shortcut(window, ui::kKeyEscape, escape_id);
    if (f1_id > 0) ui::add_shortcut(window, ui::kKeyF1, f1_id);
    ui::activate_window(window);
    ui::set_focus(focus_gadget);
}

void close_dialog(int window) {
    ui::close_window(window);
    ui::disable_window(main_ids::kMainWindow, 0);
    ui::activate_window(main_ids::kMainWindow);
    select_register_row(app().current_row);
}

void cycle_options(int first, int last, int step) {
    int position = last + 1;
    for (int gadget = first; gadget <= last; ++gadget) {
        if (ui::is_gadget(gadget) && ui::get_state(gadget) == 1) {
            position = gadget;
            break;
        }
    }
    position += step;
    if (position < first) position = last;
    if (position > last) position = first;
    ui::set_state(position, 1);
    ui::set_focus(position);
}

void click_focused_gadget() {
    const int focused = ui::get_focus();
    if (focused >= 0) ui::click_button(focused);
}

void press_return(int window, int text_field, int ok_button) {
    if (ui::get_focus() == text_field) {
        ui::post_event(ui::kEventGadget, window, ok_button);
    } else {
        click_focused_gadget();
    }
}

void handle_option_dialog_menu(const DialogKeys& keys) {
    const int item = ui::event_menu();
    if (item == kDialogNextOption) {
        const int focused = ui::get_focus();
        if (focused >= keys.first_option && focused <= keys.last_option)
            cycle_options(keys.first_option, keys.last_option);
    } else if (item == keys.cancel_id) {
        close_dialog(keys.window);
    } else if (item == keys.help_id) {
        open_help_topic(keys.help_topic);
    } else {
        click_focused_gadget();
    }
}

void open_help_topic(const std::string& topic) {
    // Found from the program file, wherever the program keeps its own files.
    const std::string guide =
        help_document_path(folder_part(program_file_path()), path_from_text(texts().help_file_name));
    if (!open_help(guide, topic)) say_not_opened(guide);
}

}  // namespace quillet
