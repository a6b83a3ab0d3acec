#include "desktop/dialogs/about_window.h"

#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "ui/events.h"
#include "ui/gadgets.h"

namespace quillet {

using namespace about_ids;

void open_about_window() {
    const TextTable& t = texts();
    open_dialog(kWindow, kWidth, kHeight, t.about_title);
    ui::create_picture(kPicture, 52, 40, main_ids::kAboutImage);
    ui::create_text(kName, 108, 48, 116, 16, t.name_and_version);
    ui::create_text(kSecondLine, 108, 66, 116, 16, t.second_about_line);
    ui::create_hyperlink(kLink, 16, 100, 130, 16, t.about_link, kLinkHoverColour, ui::kHyperlinkUnderline);
    ui::create_button(kOk, 188, 96, 80, 28, t.ok_button);
    install_dialog_shortcuts(kWindow, kOk, kOk, kHelp);
}

void handle_about_window(int kind) {
    if (kind == ui::kEventGadget) {
        // The link opens the user's guide without waiting, and the window stays.
        if (ui::event_gadget() == kLink) open_help_topic(texts().help_main_topic);
        if (ui::event_gadget() == kOk) close_dialog(kWindow);
        return;
    }
    if (kind != ui::kEventMenu) return;
    if (ui::event_menu() == kHelp) {
        open_help_topic(texts().about_help_topic);
    } else if (ui::event_menu() == kDialogReturn && ui::get_focus() == kLink) {
        open_help_topic(texts().help_main_topic);  // Return follows the link that has the focus
    } else {
        close_dialog(kWindow);  // Return, Escape and Ctrl+Tab
    }
}

}  // namespace quillet
