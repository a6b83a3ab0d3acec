#include "desktop/program/undo_captions.h"

#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "ui/menus.h"

namespace quillet {

using namespace main_ids;

namespace {

// "Groceries 48.50", with a payee's "&" doubled so that the menu shows it.
std::string step_name(const Change& change) {
    const StepName named = change.step_name();
    if (named.statement_day != kNoDate)
        return texts().statement_of + format_date(kDisplayDateMask, named.statement_day);
    const auto doubled = [](std::string_view text) {
        std::string name;
        for (const char c : text) {
            if (c == '&') name += '&';
            name += c;
        }
        return name;
    };
    if (!named.text.empty()) return doubled(named.text);
    if (!named.record) return integer_text(named.count) + texts().imported_count;
    const TransactionRecord& record = *named.record;
    std::string name = doubled(trim(record.payee));
    if (!name.empty()) name += ' ';
    return name + amount_text(record.amount);
}

std::string step_caption(const std::string& prefix, const Change& change, const std::string& keys) {
    const TextTable& t = texts();
    // A step named by its own words ("adding Car:Fuel") says them alone.
    if (const StepName named = change.step_name(); !named.text.empty())
        return prefix + step_name(change) + keys;
    return prefix + t.change_names[static_cast<std::size_t>(change.kind())] + t.change_of +
           step_name(change) + keys;
}

}  // namespace

void show_undo_captions() {
    const TextTable& t = texts();
    const UndoHistory& history = app().session.history();
    const std::shared_ptr<Change> undo = history.next_undo();
    const std::shared_ptr<Change> redo = history.next_redo();
    ui::set_menu_item_text(
        kMenuBar, kUndo,
        undo != nullptr
            ? step_caption(t.undo_prefix, *undo, t.undo_keys)
            : t.nothing_to_undo + t.history_ended[static_cast<std::size_t>(history.ended())] + t.undo_keys);
    ui::set_menu_item_text(
        kMenuBar, kRedo,
        redo != nullptr ? step_caption(t.redo_prefix, *redo, t.redo_keys) : t.nothing_to_redo + t.redo_keys);
}

}  // namespace quillet
