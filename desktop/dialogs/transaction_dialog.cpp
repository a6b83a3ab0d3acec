#include "desktop/dialogs/transaction_dialog.h"

#include "core/register/check_number.h"
#include "core/register/register_file.h"
#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"
#include "core/session/add_transaction.h"
#include "core/session/rewrite_record.h"
#include "core/settings/pick_lists.h"
#include "desktop/dialogs/amount_filter.h"
#include "desktop/dialogs/category_field.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/dialogs/split_window.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "ui/events.h"
#include "ui/gadgets.h"

namespace quillet {

using namespace transaction_ids;

namespace {

void create_gadgets() {
    const TextTable& t = texts();
    for (int row = 0; row < 5; ++row) {
        ui::create_text(kFirstCaption + row, 16, 22 + 42 * row, 54, 16,
                        t.transaction_captions[static_cast<std::size_t>(row)]);
    }
    ui::create_date(kDate, 88, 16, 224, 26, std::string(kDisplayDateMask), current_date());
    ui::create_combo(kType, 88, 58, 224, 26, ui::kComboEditable);
    ui::create_string(kNumber, 88, 100, 224, 26, "");
    ui::create_combo(kPayee, 88, 142, 224, 26, ui::kComboEditable);
    ui::create_combo(kDescription, 88, 184, 224, 26, ui::kComboEditable);
    ui::create_option(kDeposit, 16, 220, 68, 16, t.deposit_option);
    ui::create_option(kWithdrawal, 16, 245, 68, 16, t.withdrawal_option);
    ui::create_string(kAmount, 88, 226, 224, 26, "");
    ui::create_check_box(kHasSecondDate, 16, 273, 68, 16, t.second_date_box);
    ui::create_date(kSecondDate, 88, 268, 224, 26, std::string(kDisplayDateMask), current_date());
    ui::create_check_box(kVoid, 16, 316, 68, 16, t.void_box);
    for (const int field : {kType, kNumber, kPayee, kDescription})
        ui::set_attribute(field, ui::kAttributeTextLimit, kTextLimit);
    ui::set_attribute(kAmount, ui::kAttributeTextLimit, kAmountLimit);
    const int fields[] = {kDate, kType, kNumber, kPayee, kDescription};
    for (int row = 0; row < 5; ++row) ui::set_label_target(kFirstCaption + row, fields[row]);
    ui::report_focus_lost(kPayee);
}

// What a new transaction's fields held when the dialog opened or the payee last filled them: a
// field that still holds it has not been changed by the user, and the payee may fill it.
struct Untouched {
    std::string type, description, amount;
    int kind = record_format::kWithdrawal;
};

Untouched& untouched() {
    static Untouched fields;
    return fields;
}

int kind_shown() {
    return ui::get_state(kWithdrawal) == 1 ? record_format::kWithdrawal : record_format::kDeposit;
}

// Leaving the payee of a new transaction: a payee the register knows fills the fields the user
// has not changed from the latest transaction to it, found through the list's payee index.
void fill_from_payee() {
    if (app().dialog_mode != kNewMode) return;
    const RegisterSession& session = register_session();
    const std::optional<std::int64_t> slot = session.list().latest_slot_of_payee(ui::get_text(kPayee));
    RecordBytes bytes{};
    if (!slot || !session.read(*slot, bytes)) return;
    const TransactionRecord latest = decode_record(bytes.data());
    Untouched& fields = untouched();
    // Typed in any case, the payee is spelt as the register spells it.
    ui::set_text(kPayee, latest.payee);
    if (ui::get_text(kType) == fields.type) ui::set_text(kType, fields.type = latest.type);
    if (ui::get_text(kDescription) == fields.description)
        ui::set_text(kDescription, fields.description = latest.description);
    if (kind_shown() == fields.kind) {
        fields.kind =
            latest.kind == record_format::kDeposit ? record_format::kDeposit : record_format::kWithdrawal;
        ui::set_state(fields.kind == record_format::kDeposit ? kDeposit : kWithdrawal, 1);
    }
    if (ui::get_text(kAmount) == fields.amount) {
        ui::set_text(kAmount, fields.amount = amount_text(latest.amount));
        // Typing replaces it.
        ui::select_all(kAmount);
    }
}

void fill_combo(int combo, const PickList& list) {
    for (const std::string& entry : list) ui::add_item(combo, -1, entry);
}

// A void transaction keeps its fields as they are: all of them are disabled.
void toggle_void() {
    ui::set_state(kHasSecondDate, 0);
    const int disabled = ui::get_state(kVoid) == 1 ? 1 : 0;
    for (int gadget = kDate; gadget <= kSecondDate; ++gadget) ui::disable_gadget(gadget, disabled);
    ui::disable_gadget(kSecondDate, 1);
}

void show_record(const TransactionRecord& record) {
    AppState& state = app();
    ui::set_state(kDate, record.date);
    ui::set_text(kNumber, record.number);
    ui::set_text(kAmount, amount_text(record.amount));
    if (record.second_date == 0) {
        ui::set_state(kHasSecondDate, 0);
        ui::disable_gadget(kSecondDate, 1);
    } else {
        ui::set_state(kHasSecondDate, 1);
        ui::set_state(kSecondDate, record.second_date);
    }
    ui::set_state(record.kind == 0 ? kDeposit : kWithdrawal, 1);
    ui::set_state(kVoid, record.void_flag);
    if (record.void_flag == 1) toggle_void();
    insert_into_pick_list(state.pick_lists[kTypeList], record.type, true);
    insert_into_pick_list(state.pick_lists[kPayeeList], record.payee, true);
    insert_into_pick_list(state.pick_lists[kDescriptionList], record.description, true);
}

// The record the fields describe; the session gives it its number.
TransactionRecord record_from_fields() {
    TransactionRecord record;
    record.deleted = record_format::kLive;
    record.date = ui::get_state(kDate);
    // As typed, spaces and all; only the first 48 bytes reach the file.
    record.type = left(ui::get_text(kType), kTextLimit);
    record.number = left(ui::get_text(kNumber), kTextLimit);
    record.payee = left(ui::get_text(kPayee), kTextLimit);
    record.description = left(ui::get_text(kDescription), kTextLimit);
    record.amount = text_to_number(ui::get_text(kAmount));
    record.kind = ui::get_state(kWithdrawal) == 1 ? record_format::kWithdrawal : record_format::kDeposit;
    record.void_flag = static_cast<std::uint8_t>(ui::get_state(kVoid));
    record.second_date = ui::get_state(kHasSecondDate) == 1 ? ui::get_state(kSecondDate) : 0;
    return record;
}

// The record an edit was opened on: its slot and its bytes then. The edit writes over exactly
// that record or, when another program changed or moved it meanwhile, not at all.
struct Edited {
    std::int64_t slot = 0;
    RecordBytes bytes{};
};

Edited& edited() {
    static Edited record;
    return record;
}

// Every field holds something; an edit may leave empty a text the record already had empty (an
// imported transaction without a number or a memo can still be re-dated or corrected).
bool fields_filled() {
    TransactionRecord before;
    if (app().dialog_mode == kEditMode) before = decode_record(edited().bytes.data());
    const std::pair<int, const std::string*> fields[] = {{kType, &before.type},
                                                         {kNumber, &before.number},
                                                         {kPayee, &before.payee},
                                                         {kDescription, &before.description},
                                                         {kAmount, nullptr}};
    for (const auto& [field, had] : fields) {
        if (!trim(ui::get_text(field)).empty()) continue;
        const bool empty_before = app().dialog_mode == kEditMode && had != nullptr && trim(*had).empty();
        if (!empty_before) return false;
    }
    return true;
}

void save() {
    AppState& state = app();
    if (!fields_filled()) {
        show_message(kMessageFieldsMissing, kWindow);
        return;
    }
    const bool editing = state.dialog_mode == kEditMode;
    const TransactionRecord record = record_from_fields();
    // The record is written while the dialog is still open: when the write fails, the message
    // shows over the dialog and everything the user typed is still there to save again.
    RegisterSession& session = register_session();
    const std::shared_ptr<Change> written = change_with_category(
        editing ? std::shared_ptr<Change>(edit_transaction(edited().slot, edited().bytes, record))
                : std::make_shared<AddTransaction>(record, state.options.list_order == 1),
        record, editing ? std::optional<std::int64_t>(edited().slot) : std::nullopt);
    if (written == nullptr) return;
    RowChange change;
    const SessionResult saved = session.apply(written, change);
    if (!show_session_result(saved, kWindow)) return;
    close_dialog(kWindow);
    show_row_change(change);
    insert_into_pick_list(state.pick_lists[kTypeList], trim(record.type), true);
    insert_into_pick_list(state.pick_lists[kPayeeList], trim(record.payee), true);
    insert_into_pick_list(state.pick_lists[kDescriptionList], trim(record.description), true);
}

}  // namespace

std::string proposed_number(std::int64_t number) {
    const auto& pads = texts().number_pads;
    if (number < 10) return pads[0] + integer_text(number);
    if (number < 100) return pads[1] + integer_text(number);
    if (number < 1000) return pads[2] + integer_text(number);
    if (number < 10000) return pads[3] + integer_text(number);
    return {};
}

void open_transaction_dialog(int mode, std::int64_t number, const std::string& title) {
    AppState& state = app();
    TransactionRecord record;
    if (mode == kEditMode) {
        // A record that cannot be read is not edited: saving the empty fields would overwrite it.
        RecordBytes bytes{};
        if (const IoStatus read = register_session().read(number, bytes); !read) {
            show_message(kMessageRecordUnreadable, main_ids::kMainWindow,
                         file_and_cause(register_session().path(), read));
            return;
        }
        // The bytes as they stand: a record another program wrote need not be the bytes that its
        // fields would encode to, and the edit must still find it unchanged.
        edited() = {number, bytes};
        record = decode_record(bytes.data());
    }
    open_dialog(kWindow, kWidth, kHeight, title);
    create_gadgets();
    state.dialog_mode = mode;
    if (mode == kNewMode) {
        // The next check's number follows the register's checks; without any, the row count's.
        const std::optional<std::string> next_check = next_check_number(register_session().path());
        ui::set_text(kNumber, next_check ? *next_check : proposed_number(number));
        ui::set_state(kWithdrawal, 1);
        ui::set_state(kHasSecondDate, 0);
        ui::disable_gadget(kSecondDate, 1);
    } else {
        show_record(record);
    }
    fill_combo(kType, state.pick_lists[kTypeList]);
    fill_combo(kPayee, state.pick_lists[kPayeeList]);
    fill_combo(kDescription, state.pick_lists[kDescriptionList]);
    if (mode == kEditMode) {
        for (const int combo : {kType, kPayee, kDescription}) ui::set_state(combo, 0);
    } else {
        for (const int combo : {kType, kPayee, kDescription}) ui::set_text(combo, "");
    }
    create_category_field(mode == kEditMode ? std::optional<std::int64_t>(number) : std::nullopt);
    ui::create_button(kOk, 136, 310, 80, 28, texts().transaction_ok);
    ui::create_button(kCancel, 232, 310, 80, 28, texts().transaction_cancel);
    untouched() = {};
    install_dialog_shortcuts(kWindow, ui::get_state(kVoid) == 1 ? kVoid : kCancel, kCancel, kHelp);
}

void handle_transaction_dialog(int kind) {
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kAmount:
                if (ui::event_type() == ui::kChange) filter_amount_gadget(kAmount);
                break;
            case kPayee:
                if (ui::event_type() == ui::kFocusLost) {
                    fill_from_payee();
                    propose_category(ui::get_text(kPayee));
                }
                break;
            case kCategory:
                if (ui::event_type() == ui::kChange) category_typed();
                break;
            case kSplit: open_split_window(); break;
            case kHasSecondDate:
                ui::disable_gadget(kSecondDate, ui::get_state(kHasSecondDate) == 1 ? 0 : 1);
                break;
            case kVoid: toggle_void(); break;
            // The kind and the amount go together: choosing the kind (Alt+D, Alt+P) goes on to the
            // amount, which has no caption of its own.
            case kDeposit:
            case kWithdrawal:
                if (ui::event_type() == ui::kLeftClick) {
                    ui::set_focus(kAmount);
                    ui::select_all(kAmount);
                }
                break;
            case kOk: save(); break;
            case kCancel: close_dialog(kWindow); break;
            default: break;
        }
        return;
    }
    if (kind == ui::kEventMenu)
        handle_option_dialog_menu(
            {kWindow, kDeposit, kWithdrawal, kCancel, kHelp, texts().transaction_help_topic});
}

}  // namespace quillet
