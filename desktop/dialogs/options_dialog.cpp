#include "desktop/dialogs/options_dialog.h"

#include <cstdint>

#include "core/import/conventions.h"
#include "core/runtime/number_text.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/app_state.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/settings_and_exit.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"

namespace quillet {

using namespace options_ids;

namespace {

// The options the check boxes 400 to 406 edit, in their order.
std::uint8_t* box_options(Options& options, int box) {
    std::uint8_t* const fields[] = {&options.right_align_amounts, &options.tooltips_off,
                                    &options.hide_tool_bar,       &options.hide_status_bar,
                                    &options.compact_at_exit,     &options.backup_at_exit,
                                    &options.profile_shortcut};
    return fields[box - kFirstBox];
}

void create_gadgets() {
    const TextTable& t = texts();
    const int box_tops[] = {22, 52, 80, 110, 140, 170, 200};
    for (int box = kRightAlignAmounts; box <= kProfileShortcut; ++box) {
        const auto index = static_cast<std::size_t>(box - kFirstBox);
        ui::create_check_box(box, 16, box_tops[index], 110, 16, t.option_boxes[index]);
    }
    ui::create_button(kFont, 142, 16, 80, 28, t.font_button);
    ui::create_button(kBackground, 142, 60, 80, 28, t.background_button);
    ui::create_button(kHighlight, 142, 104, 80, 28, t.highlight_button);
    ui::create_frame(kOrderFrame, 142, 148, 80, 72, t.order_frame);
    ui::create_option(kFileOrder, 152, 168, 68, 16, t.oldest_first);
    ui::create_option(kReverseOrder, 152, 192, 68, 16, t.newest_first);
    ui::create_text(kLowBalanceCaption, 16, 236, 120, 16, t.schedules.low_balance_caption);
    ui::create_string(kLowBalance, 142, 232, 80, 26, cents_text(app().options.low_balance));
    ui::set_attribute(kLowBalance, ui::kAttributeTextLimit, kLowBalanceLimit);
    ui::set_label_target(kLowBalanceCaption, kLowBalance);
    ui::create_check_box(kLearnCategories, 16, 270, 206, 16, t.categories.learn_box);
    ui::create_check_box(kCategoryColumn, 16, 294, 206, 16, t.categories.column_box);
    ui::create_button(kOk, 46, 320, 80, 28, t.options_ok);
    ui::create_button(kCancel, 142, 320, 80, 28, t.options_cancel);
}

// The font requester starts from the list's font and text colour; a choice is kept at once.
void choose_font() {
    Options& options = app().options;
    ui::FontChoice choice{options.list_font_name, options.list_font_size, options.list_text_colour,
                          options.list_font_style};
    if (!ui::requesters().choose_font(choice)) return;
    options.list_font_name = choice.face;
    options.list_font_size = choice.points;
    options.list_text_colour = choice.colour;
    options.list_font_style = choice.style;
}

void choose_colour(std::int32_t& colour) {
    const int chosen = ui::requesters().choose_colour(colour);
    if (chosen >= 0) colour = chosen;
}

void accept() {
    Options& options = app().options;
    // The balance ahead is said when it falls below this amount (negative for an overdraft).
    const AmountReading low = read_amount(trim(ui::get_text(kLowBalance)), DecimalMark::kPoint);
    if (low.status != AmountReading::Status::kOk || low.cents < INT32_MIN || low.cents > INT32_MAX) {
        show_message(kMessageNotice, kWindow, ShownText::of_text(texts().schedules.low_balance_wrong));
        ui::set_focus(kLowBalance);
        return;
    }
    options.low_balance = static_cast<std::int32_t>(low.cents);
    for (int box = kRightAlignAmounts; box <= kProfileShortcut; ++box) {
        if (box == kProfileShortcut && !app().package_entry.empty()) continue;  // the package's, not ours
        *box_options(options, box) = static_cast<std::uint8_t>(ui::get_state(box) == 1 ? 1 : 0);
    }
    options.list_order = static_cast<std::uint8_t>(ui::get_state(kReverseOrder) == 1 ? 1 : 0);
    options.learn_categories = static_cast<std::uint8_t>(ui::get_state(kLearnCategories) == 1 ? 1 : 0);
    options.category_column = static_cast<std::uint8_t>(ui::get_state(kCategoryColumn) == 1 ? 1 : 0);
    close_dialog(kWindow);
    apply_options(true);
}

}  // namespace

void open_options_dialog() {
    Options& options = app().options;
    open_dialog(kWindow, kWidth, kHeight, texts().options_title);
    create_gadgets();
    for (int box = kRightAlignAmounts; box <= kProfileShortcut; ++box) {
        ui::set_state(box, *box_options(options, box) == 1 ? 1 : 0);
    }
    ui::set_state(options.list_order == 1 ? kReverseOrder : kFileOrder, 1);
    ui::set_state(kLearnCategories, options.learn_categories == 1 ? 1 : 0);
    ui::set_state(kCategoryColumn, options.category_column == 1 ? 1 : 0);
    // Run from the package, the menu has the package's entry: shown as there, and not ours to change.
    if (!app().package_entry.empty()) {
        ui::set_state(kProfileShortcut, 1);
        ui::disable_gadget(kProfileShortcut, 1);
    }
    install_dialog_shortcuts(kWindow, kRightAlignAmounts, kCancel, kHelp);
}

void handle_options_dialog(int kind) {
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kFont: choose_font(); break;
            case kBackground: choose_colour(app().options.list_background); break;
            case kHighlight: choose_colour(app().options.find_highlight); break;
            case kOk: accept(); break;
            case kCancel: close_dialog(kWindow); break;
            default: break;
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        case kCancel: close_dialog(kWindow); break;
        case kHelp: open_help_topic(texts().options_help_topic); break;
        // No option cycling here: Ctrl+Tab clicks the focused gadget, as Return does.
        default: click_focused_gadget(); break;
    }
}

}  // namespace quillet
