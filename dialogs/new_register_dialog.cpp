#include "dialogs/new_register_dialog.h"

#include "dialogs/amount_filter.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/register_requester.h"
#include "program/app_state.h"
#include "program/main_window_ids.h"
#include "program/message_box.h"
#include "program/texts.h"
#include "register/register_file.h"
#include "register/register_view.h"
#include "runtime/file_access.h"
#include "runtime/number_text.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"

namespace quillet {

using namespace new_register_ids;

namespace {

void create() {
    const TextTable& t = texts();
    const std::string path = trim(ui::get_text(kName));
    const std::string amount = trim(ui::get_text(kAmount));
    if (path.empty() || amount.empty()) {
        show_message(kMessageNewRegisterMissing, kWindow);
        return;
    }
    if (file_size(path) >= 0 && show_message(kMessageConfirmReplace, kWindow, path) != ui::kAnswerYes) return;
    const std::uint8_t kind =
        ui::get_state(kWithdrawal) == 1 ? record_format::kWithdrawal : record_format::kDeposit;
    close_dialog(kWindow);
    // The new file replaces the old one in one step, so a failure leaves the old file as it was.
    if (!create_new_register(
            path, amount, kind,
            {t.opening_texts[0], t.opening_texts[1], t.opening_texts[2], t.opening_amount_caption})) {
        show_message(kMessageRegisterNotChanged, main_ids::kMainWindow, path);
        return;
    }
    fill_register_view(path, kKeepOrder);
}

}  // namespace

void open_new_register_dialog() {
    const TextTable& t = texts();
    open_dialog(kWindow, kWidth, kHeight, t.new_register_title);
    ui::create_button(kBrowse, 16, 16, 80, 28, t.browse_button);
    ui::create_container(kNameFrame, 112, 17, 176, 26);
    ui::create_string(kName, 2, 2, 174, 24, app().program_folder + t.default_register_name);
    ui::close_gadget_list();
    ui::disable_gadget(kName, 1);
    ui::disable_gadget(kNameFrame, 1);
    ui::create_text(kAmountCaption, 16, 64, 88, 16, t.opening_amount_caption);
    ui::create_string(kAmount, 112, 58, 176, 26, t.number_pads[3]);
    ui::set_attribute(kAmount, ui::kAttributeTextLimit, 7);
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
