#include "desktop/dialogs/new_register_dialog.h"

#include "core/register/register_file.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"
#include "desktop/dialogs/amount_filter.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/dialogs/register_requester.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"

namespace quillet {

using namespace new_register_ids;

namespace {

// The file the new register goes to. The field only shows it: a path is the file system's bytes,
// which a field's text could not carry back unchanged.
std::string& chosen_path() {
    static std::string path;
    return path;
}

void create() {
    const TextTable& t = texts();
    const std::string path = trim(chosen_path());
    const std::string amount = trim(ui::get_text(kAmount));
    if (path.empty() || amount.empty()) {
        show_message(kMessageNewRegisterMissing, kWindow);
        return;
    }
    if (file_size(path) >= 0 &&
        show_message(kMessageConfirmReplace, kWindow, ShownText::of_path(path)) != ui::kAnswerYes) {
        return;
    }
    const std::uint8_t kind =
        ui::get_state(kWithdrawal) == 1 ? record_format::kWithdrawal : record_format::kDeposit;
    // The new file replaces the old one in one step, so a failure leaves the old file as it was;
    // the dialog stays open with what the user typed.
    const TransactionRecord opening = opening_record(
        amount, kind, {t.opening_texts[0], t.opening_texts[1], t.opening_texts[2], t.opening_amount_caption});
    if (const SessionResult created = register_session().create(path, opening); !created.done()) {
        show_message(kMessageRegisterNotChanged, kWindow, failure_text(created));
        return;
    }
    close_dialog(kWindow);
    fill_register_view(path, kKeepOrder);
}

}  // namespace

void set_new_register_path(const std::string& path) {
    chosen_path() = path;
    ui::set_text(kName, ShownText::of_path(path));
}

void open_new_register_dialog() {
    const TextTable& t = texts();
    open_dialog(kWindow, kWidth, kHeight, t.new_register_title);
    ui::create_button(kBrowse, 16, 16, 80, 28, t.browse_button);
    ui::create_container(kNameFrame, 112, 17, 176, 26);
    ui::create_string(kName, 2, 2, 174, 24, "");
    set_new_register_path(app().program_folder + path_from_text(t.default_register_name));
    ui::close_gadget_list();
    ui::disable_gadget(kName, 1);
    ui::disable_gadget(kNameFrame, 1);
    ui::create_text(kAmountCaption, 16, 64, 88, 16, t.opening_amount_caption);
    ui::create_string(kAmount, 112, 58, 176, 26, t.number_pads[3]);
    ui::set_attribute(kAmount, ui::kAttributeTextLimit, kAmountLimit);
    ui::create_option(kDeposit, 16, 94, 70, 16, t.deposit_option);
    ui::create_option(kWithdrawal, 16, 116, 70, 16, t.withdrawal_option);
    ui::set_state(kDeposit, 1);
    ui::create_button(kOk, 112, 100, 80, 28, t.create_button);
    ui::create_button(kCancel, 208, 100, 80, 28, t.cancel_button);
    install_dialog_shortcuts(kWindow, kAmount, kCancel, kHelp);
    ui::select_all(kAmount);
}

void handle_new_register_dialog(int kind) {
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kBrowse: run_register_requester(kNameNewRegisterMode); break;
            case kAmount:
                if (ui::event_type() == ui::kChange) filter_amount_gadget(kAmount);
                break;
            case kOk: create(); break;
            case kCancel: close_dialog(kWindow); break;
            default: break;
        }
        return;
    }
    if (kind == ui::kEventMenu)
        handle_option_dialog_menu(
            {kWindow, kDeposit, kWithdrawal, kCancel, kHelp, texts().new_register_help_topic});
}

}  // namespace quillet
