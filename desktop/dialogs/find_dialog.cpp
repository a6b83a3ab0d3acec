#include "desktop/dialogs/find_dialog.h"

#include <algorithm>
#include <string>

#include "core/register/row_text.h"
#include "core/runtime/number_text.h"
#include "core/settings/pick_lists.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "ui/events.h"
#include "ui/gadgets.h"

namespace quillet {

using namespace find_ids;

namespace {

// Lower case of a Windows-1252 byte: ASCII, the accented capitals and S, Z, OE and Y with marks.
unsigned char fold(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);
    if (c == 0x9F) return 0xFF;
    return c;
}

bool row_holds(int row, std::string_view wanted) {
    for (int column = 0; column < kRegisterColumns; ++column) {
        if (contains_ignoring_case(ui::get_item_text(main_ids::kRegisterList, row, column), wanted))
            return true;
    }
    return false;
}

void search() {
    AppState& state = app();
    const int list = main_ids::kRegisterList;
    const int last = ui::count_items(list) - 1;
    const std::string wanted = trim(ui::get_text(kText));
    // Every row goes back to the list's own background first.
    ui::set_item_colour(list, -1, ui::kBackColour, state.options.list_background, -1);
    if (wanted.empty()) {
        close_dialog(kWindow);
        return;
    }
    const bool inverse = ui::get_state(kInverse) == 1;
    close_dialog(kWindow);
    ui::set_state(list, -1);
    for (int row = 0; row <= last; ++row) {
        if (row_holds(row, wanted) != inverse) {
            ui::set_item_colour(list, row, ui::kBackColour, state.options.find_highlight, -1);
        }
    }
    insert_into_pick_list(state.pick_lists[kMaskList], wanted, true);
}

}  // namespace

bool contains_ignoring_case(std::string_view text, std::string_view wanted) {
    const auto equal = [](char a, char b) {
        return fold(static_cast<unsigned char>(a)) == fold(static_cast<unsigned char>(b));
    };
    return std::search(text.begin(), text.end(), wanted.begin(), wanted.end(), equal) != text.end();
}

void open_find_dialog() {
    const TextTable& t = texts();
    open_dialog(kWindow, kWidth, kHeight, t.find_title);
    ui::create_combo(kText, 16, 16, 264, 26, ui::kComboEditable);
    ui::set_attribute(kText, ui::kAttributeTextLimit, kTextLimit);
    for (const std::string& entry : app().pick_lists[kMaskList]) ui::add_item(kText, -1, entry);
    ui::set_state(kText, 0);
    ui::create_check_box(kInverse, 16, 64, 72, 16, t.inverse_box);
    ui::create_button(kOk, 104, 58, 80, 28, t.find_button);
    ui::create_button(kCancel, 200, 58, 80, 28, t.cancel_button);
    install_dialog_shortcuts(kWindow, kText, kCancel, kHelp);
    // The last search text shows selected, so that typing replaces it.
    ui::select_all(kText);
}

void handle_find_dialog(int kind) {
    if (kind == ui::kEventGadget) {
        if (ui::event_gadget() == kOk) search();
        if (ui::event_gadget() == kCancel) close_dialog(kWindow);
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        case kCancel: close_dialog(kWindow); break;
        case kHelp: open_help_topic(texts().find_help_topic); break;
        default: press_return(kWindow, kText, kOk); break;  // in the search field it searches
    }
}

}  // namespace quillet
