#include "desktop/dialogs/split_window.h"

#include "core/category/category_edits.h"
#include "core/category/split_lines.h"
#include "core/runtime/number_text.h"
#include "desktop/dialogs/amount_filter.h"
#include "desktop/dialogs/category_field.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/app_state.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {

using namespace split_ids;

namespace {

std::int64_t transaction_cents() {
    return amount_text_to_cents(ui::get_text(transaction_ids::kAmount)).value_or(0);
}

// The lines filled in: a category and an amount each (a line with neither is passed over).
struct Filled {
    std::vector<std::pair<std::string, std::int64_t>> lines;
    bool complete = true;  // every line begun has both
};

Filled filled_lines() {
    Filled filled;
    for (int line = 0; line < kLines; ++line) {
        const std::string name = trim(ui::get_text(kFirstCategory + line));
        const std::string amount = trim(ui::get_text(kFirstAmount + line));
        if (name.empty() && amount.empty()) continue;
        const std::optional<std::int64_t> cents = amount_text_to_cents(amount);
        if (name.empty() || !cents) {
            filled.complete = false;
            continue;
        }
        filled.lines.emplace_back(name, *cents);
    }
    return filled;
}

// What is left to place, and OK only once nothing is (or the split is emptied to be none).
void show_remainder() {
    const Filled filled = filled_lines();
    std::int64_t left = transaction_cents();
    for (const auto& [name, cents] : filled.lines) left -= cents;
    ui::set_text(kRemainder, texts().categories.remainder + cents_text(left));
    const bool none = filled.lines.empty() && filled.complete;
    const bool fits = filled.complete && left == 0 && filled.lines.size() >= 2;
    ui::disable_gadget(kOk, none || fits ? 0 : 1);
}

void close_split_window() {
    ui::close_window(kWindow);
    ui::disable_window(transaction_ids::kWindow, 0);
    ui::activate_window(transaction_ids::kWindow);
    ui::set_focus(transaction_ids::kCategory);
}

void take_split() {
    AppState& state = app();
    const Filled filled = filled_lines();
    if (filled.lines.empty()) {
        state.category_split.reset();
    } else {
        CategoryLists lists = working_lists();
        CategoryLines lines;
        for (const auto& [name, cents] : filled.lines) {
            const std::int64_t id = category_named(kWindow, name, lists);
            if (id == 0) return;
            lines.push_back({id, cents});
        }
        state.category_lists = lists;
        state.category_split = lines;
    }
    close_split_window();
    show_split_in_field();
}

}  // namespace

void open_split_window() {
    const CategoryTexts& t = texts().categories;
    ui::disable_window(transaction_ids::kWindow, 1);
    ui::open_window(kWindow, kWidth, kHeight, t.split_title, ui::WindowStyle::kDialog,
                    transaction_ids::kWindow);
    ui::create_text(kCategoryHeading, 16, 14, 200, 16, t.split_category);
    ui::create_text(kAmountHeading, 224, 14, 96, 16, t.split_amount);
    const CategoryLists& lists = working_lists();
    const std::optional<CategoryLines>& split = app().category_split;
    for (int line = 0; line < kLines; ++line) {
        const int y = 36 + 32 * line;
        ui::create_combo(kFirstCategory + line, 16, y, 200, 26, ui::kComboEditable);
        for (const std::int64_t id : listed_order(lists))
            ui::add_item(kFirstCategory + line, -1, category_full_name(lists, id));
        ui::set_attribute(kFirstCategory + line, ui::kAttributeTextLimit,
                          static_cast<int>(kCategoryNameBytes));
        ui::create_string(kFirstAmount + line, 224, y, 96, 26, "");
        ui::set_attribute(kFirstAmount + line, ui::kAttributeTextLimit, transaction_ids::kAmountLimit);
        const bool shown = split && static_cast<std::size_t>(line) < split->size();
        ui::set_text(
            kFirstCategory + line,
            shown ? category_full_name(lists, (*split)[static_cast<std::size_t>(line)].category) : "");
        if (shown)
            ui::set_text(kFirstAmount + line,
                         cents_text((*split)[static_cast<std::size_t>(line)].cents.value_or(0)));
    }
    // A new split starts from the category the field holds, with the whole amount to place.
    if (!split) ui::set_text(kFirstCategory, trim(ui::get_text(transaction_ids::kCategory)));
    const int bottom = 36 + 32 * kLines;
    ui::create_text(kRemainder, 16, bottom + 8, 200, 16, "");
    ui::create_button(kOk, 144, bottom + 2, 80, 28, t.split_ok);
    ui::create_button(kCancel, 240, bottom + 2, 80, 28, t.split_cancel);
    show_remainder();
    ui::add_shortcut(kWindow, ui::kKeyReturn, kDialogReturn);
    ui::add_shortcut(kWindow, ui::kKeyEscape, kCancel);
    ui::add_shortcut(kWindow, ui::kKeyF1, kHelp);
    ui::activate_window(kWindow);
    ui::set_focus(split ? kFirstCategory : kFirstAmount);
}

void handle_split_window(int kind) {
    if (kind == ui::kEventGadget) {
        const int gadget = ui::event_gadget();
        if (gadget >= kFirstAmount && gadget < kFirstAmount + kLines && ui::event_type() == ui::kChange) {
            filter_amount_gadget(gadget);
            show_remainder();
        } else if (gadget >= kFirstCategory && gadget < kFirstCategory + kLines) {
            show_remainder();
        } else if (gadget == kOk) {
            take_split();
        } else if (gadget == kCancel) {
            close_split_window();
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    const int item = ui::event_menu();
    if (item == kCancel) {
        close_split_window();
    } else if (item == kHelp) {
        open_help_topic(texts().categories.split_help_topic);
    } else if (item == kDialogReturn) {
        if (ui::is_gadget_enabled(kOk)) take_split();
    }
}

}  // namespace quillet
