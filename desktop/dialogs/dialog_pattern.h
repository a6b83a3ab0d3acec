// What every dialog shares: it opens over the disabled main window, takes Return, Ctrl+Tab,
// Escape and F1 as menu events, and closes through one step that gives the register list back.
#pragma once

#include <string>

namespace quillet {

// Menu events every dialog receives.
inline constexpr int kDialogReturn = 100;
inline constexpr int kDialogNextOption = 101;  // Ctrl+Tab

// Disables the main window and opens the dialog window centred over it, with the dialog style.
void open_dialog(int window, int width, int height, const std::string& title);
// Return -> 100, Ctrl+Tab -> 101, Escape -> escape_id, F1 -> f1_id (only when above 0); then
// the focus goes to the focus gadget.
void install_dialog_shortcuts(int window, int focus_gadget, int escape_id, int f1_id);
// Closes the dialog, enables the main window and re-selects the current row of the list.
void close_dialog(int window);

// Sets the next option button of first..last after the one that is set (wrapping around) and
// gives it the focus.
void cycle_options(int first, int last, int step = 1);
// Clicks the focused gadget as the mouse would: a button fires, a check box toggles, an option is
// set; other gadgets ignore it.
void click_focused_gadget();
// Return: in the dialog's text field it presses the OK button; elsewhere it clicks the focused
// gadget.
void press_return(int window, int text_field, int ok_button);

// The menu events of a dialog with one option group: Ctrl+Tab cycles the group when one of its
// options has the focus, Escape (cancel_id) closes the dialog, F1 (help_id) opens its help topic,
// and anything else (Return) clicks the focused gadget.
struct DialogKeys {
    int window;
    int first_option;
    int last_option;
    int cancel_id;
    int help_id;
    const std::string& help_topic;
};
void handle_option_dialog_menu(const DialogKeys& keys);

// Opens the help document at the topic.
void open_help_topic(const std::string& topic);

}  // namespace quillet
