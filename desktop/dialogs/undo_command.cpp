#include "desktop/dialogs/undo_command.h"

#include "core/runtime/number_text.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "ui/menus.h"

namespace quillet {

using namespace main_ids;

namespace {

// "Groceries 48.50", with a payee's "&" doubled so that the menu shows it.
std::string step_name(const RegisterChange& change) {
    const TransactionRecord record = named_record(change);
    std::string name;
    for (const char c : trim(record.payee)) {
        if (c == '&') name += '&';
        name += c;
    }
    if (!name.empty()) name += ' ';
    return name + amount_text(record.amount);
}

std::string step_caption(const std::string& prefix, const RegisterChange& change, const std::string& keys) {
    const TextTable& t = texts();
    return prefix + t.change_names[static_cast<std::size_t>(change.kind)] + t.change_of + step_name(change) +
           keys;
}

// Applies one step back or forward and shows what it left.
void apply_step(bool backward) {
    UndoHistory& history = undo_history();
    const RegisterChange* step = backward ? history.next_undo() : history.next_redo();
    if (step == nullptr) return;
    const bool added = !backward && step->kind == ChangeKind::kAdd;
    AppliedStep applied;
    const IoStatus done = backward ? history.undo(&applied) : history.redo(&applied);
    if (done.error() == ESTALE) {
        show_message(kMessageUndoRefused, kMainWindow, ShownText::of_path(history.path()));
        return;
    }
    if (!done) {
        show_message(kMessageRegisterNotChanged, kMainWindow, file_and_cause(history.path(), done));
        return;
    }
    WriteCheck written;
    written.after = history.stamp();
    note_register_written(written);
    if (applied.register_removed) {
        show_no_register();
    } else if (applied.register_restored) {
        fill_register_view(history.path(), kKeepOrder);
    } else {
        show_record_at_slot(applied.slot, applied.shown ? &applied.record : nullptr, added);
    }
    show_undo_captions();
}

}  // namespace

UndoHistory& undo_history() {
    static UndoHistory history;
    return history;
}

void start_undo_history(const std::string& path, HistoryEnd reason) {
    undo_history().start(path, reason);
    show_undo_captions();
}

void note_register_change(RegisterChange change, const WriteCheck& check) {
    undo_history().record(std::move(change), check);
    show_undo_captions();
}

void undo_register_change() { apply_step(true); }

void redo_register_change() { apply_step(false); }

void show_undo_captions() {
    const TextTable& t = texts();
    const UndoHistory& history = undo_history();
    const RegisterChange* undo = history.next_undo();
    const RegisterChange* redo = history.next_redo();
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
