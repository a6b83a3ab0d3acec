#include "desktop/dialogs/find_dialog.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/list/row_search.h"
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

void search() {
    AppState& state = app();
    const int list = main_ids::kRegisterList;
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
    // The register's records are searched, not the list's cells one by one: a million rows in a
    // moment.
    std::vector<std::uint8_t> marks = rows_holding(app().session.list(), wanted, inverse);
    // Under a filter the view's rows are the shown ones: each takes its list row's mark.
    if (state.shown_rows.on()) {
        std::vector<std::uint8_t> shown(state.shown_rows.rows().size());
        for (std::size_t row = 0; row < shown.size(); ++row)
            shown[row] = marks[static_cast<std::size_t>(state.shown_rows.rows()[row])];
        marks = std::move(shown);
    }
    ui::set_row_backgrounds(list, marks, state.options.find_highlight);
    insert_into_pick_list(state.pick_lists[kMaskList], wanted, true);
}

}  // namespace

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
