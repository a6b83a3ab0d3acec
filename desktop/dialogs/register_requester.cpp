#include "desktop/dialogs/register_requester.h"

#include "core/register/format.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"
#include "desktop/dialogs/new_register_dialog.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/program/undo_captions.h"
#include "desktop/views/register_view.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

namespace {

void save_register_as(const std::string& path) {
    if (file_size(path) >= 0 &&
        show_message(kMessageConfirmReplace, kMainWindow, ShownText::of_path(path)) != ui::kAnswerYes) {
        return;
    }
    // The open register goes on under the new name only once the copy stands; a register another
    // program changed since it was listed is read again, and nothing is copied.
    const SessionResult saved = register_session().save_as(path);
    if (saved.failed()) {
        show_message(kMessageRegisterNotChanged, kMainWindow, failure_text(saved));
        return;
    }
    if (!show_session_result(saved, kMainWindow)) return;
    // The list now shows the copy: later writes check against it, and the changes made to the old
    // file cannot be undone in this one.
    show_register_title(path);
    show_undo_captions();
    // An import history that could not be copied along is said now.
    read_store_after_painting();
}

void open_register(const std::string& path) {
    if (file_size(path) >= 0) {
        fill_register_view(path, kKeepOrder);
    } else {
        show_message(kMessageNotARegister, kMainWindow,
                     file_and_cause(path, ShownText::of_text(texts().missing_file)));
    }
}

}  // namespace

std::string register_path_from_choice(const std::string& chosen) {
    const std::string trimmed = trim(chosen);
    if (trimmed.size() < 5) return {};
    std::string extension = ".";
    extension += record_format::kRegisterExtension;
    if (ends_with_ignoring_ascii_case(trimmed, extension)) return trimmed;
    return trimmed + extension;
}

void run_register_requester(int mode) {
    const AppState& state = app();
    const TextTable& t = texts();
    std::string chosen;
    switch (mode) {
        case kOpenRegisterMode:
            chosen = ui::requesters().open_file(t.open_requester_title, state.program_folder,
                                                t.register_pattern, 0);
            break;
        case kNameNewRegisterMode:
            chosen = ui::requesters().save_file(
                t.create_requester_title, state.program_folder + path_from_text(t.default_register_name),
                t.register_pattern, 0);
            break;
        case kSaveRegisterAsMode:
            chosen = ui::requesters().save_file(t.save_as_requester_title, register_session().path(),
                                                t.register_pattern, 0);
            break;
        default: return;
    }
    const std::string path = register_path_from_choice(chosen);
    if (path.empty()) return;
    switch (mode) {
        case kOpenRegisterMode: open_register(path); break;
        case kNameNewRegisterMode: set_new_register_path(path); break;
        case kSaveRegisterAsMode: save_register_as(path); break;
    }
}

}  // namespace quillet
