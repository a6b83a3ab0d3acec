#include "desktop/views/register_view.h"

#include "core/register/balance_book.h"
#include "core/register/payee_index.h"
#include "core/register/register_file.h"
#include "core/register/row_text.h"
#include "core/runtime/dates.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/settings/pick_lists.h"
#include "desktop/dialogs/undo_command.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "ui/bars.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

namespace {

constexpr int kRed = 0x0000FF;  // 0x00BBGGRR
constexpr int kBlue = 0xFF0000;

BalanceBook& book() {
    static BalanceBook balances;
    return balances;
}

// The slots of each payee's rows, for filling a new transaction from the last one to its payee.
PayeeIndex& payees() {
    static PayeeIndex index;
    return index;
}

// The cell of a row's text.
std::string_view cell_of(std::string_view row, int column) {
    std::size_t start = 0;
    for (int at = 0; at < column; ++at) {
        start = row.find('\n', start);
        if (start == std::string_view::npos) return {};
        ++start;
    }
    return row.substr(start, row.find('\n', start) - start);
}

constexpr int kPayeeColumn = 3;

// The register file as the list last saw it: filled from it, or written by us since.
FileStamp& listed_stamp() {
    static FileStamp stamp;
    return stamp;
}

// A figure's amount text, or the out-of-range text for one too large to hold.
std::string figure_text(const Figure& figure) {
    return figure.out_of_range ? texts().out_of_range : cents_text(figure.cents);
}

// The figures a row's texts determine, read from the texts themselves.
RowFigures figures_of(std::string_view row) {
    std::string_view cells[kRegisterColumns];
    std::size_t start = 0;
    for (int column = 0; column < kRegisterColumns; ++column) {
        const std::size_t feed = row.find('\n', start);
        cells[column] =
            row.substr(start, feed == std::string_view::npos ? std::string_view::npos : feed - start);
        if (feed == std::string_view::npos) break;
        start = feed + 1;
    }
    return row_figures(cells[kDateColumn], cells[kDepositColumn], cells[kWithdrawalColumn],
                       cells[kBalanceColumn], texts().void_mark);
}

// Puts the row of the slot's record at the row, into the list, the balances and the payee index.
void insert_row(int row, const std::string& text, std::int64_t slot) {
    ui::add_item(kRegisterList, row, text);
    ui::set_item_data(kRegisterList, row, slot);
    book().insert(row, figures_of(text));
    payees().add(cell_of(text, kPayeeColumn), slot);
}

// The balance column shows the running balance, worked out when it is painted or read.
void provide_balances() {
    ui::set_column_provider(kRegisterList, kBalanceColumn, [](int row) -> std::optional<std::string> {
        const std::optional<Figure> balance = book().running(row);
        if (!balance) return std::nullopt;  // a void row shows its mark
        return figure_text(*balance);
    });
}

std::string month_text(std::int32_t month) {
    const auto& names = texts().month_names;
    return (month >= 1 && month <= 12 ? names[static_cast<std::size_t>(month - 1)] : std::string()) +
           texts().after_month_name;
}

void write_status_fields(const BalanceSummary& summary, std::int32_t month) {
    const TextTable& t = texts();
    const std::string name = month_text(month);
    ui::set_status_field_text(kStatusBar, kCountField, t.rows_label + integer_text(summary.rows),
                              ui::kAlignCentre);
    ui::set_status_field_text(kStatusBar, kBalanceField, t.balance_label + figure_text(summary.balance),
                              ui::kAlignCentre);
    ui::set_status_field_text(kStatusBar, kMonthDepositsField,
                              name + t.deposits_label + figure_text(summary.month_deposits),
                              ui::kAlignCentre);
    ui::set_status_field_text(kStatusBar, kMonthWithdrawalsField,
                              name + t.withdrawals_label + figure_text(summary.month_withdrawals),
                              ui::kAlignCentre);
    ui::set_status_field_text(
        kStatusBar, kMonthAverageField,
        t.average_label + name + t.average_balance_label + figure_text(summary.month_average),
        ui::kAlignCentre);
}

// Checks the file; a refusal says why, but for a damaged first record, which is refused silently.
bool refuse(const std::string& path) {
    IoStatus cause;
    const RegisterCheck check = check_register_file(path, &cause);
    const TextTable& t = texts();
    int message = kMessageReadOnly;
    ShownText why;
    switch (check) {
        case RegisterCheck::kAccepted: return false;
        case RegisterCheck::kDamagedFirstRecord: return true;
        case RegisterCheck::kMissing: why = ShownText::of_text(t.missing_file); break;
        case RegisterCheck::kFolder: why = ShownText::of_text(t.folder_not_file); break;
        case RegisterCheck::kNotAFile: why = ShownText::of_text(t.not_a_file); break;
        case RegisterCheck::kReadOnly: why = ShownText::of_text(t.read_only_file); break;
        case RegisterCheck::kUnreadable: why = cause_text(cause); break;
        case RegisterCheck::kWrongLength:
            why = ShownText::of_text(t.wrong_length_file);
            message = kMessageNotARegister;
            break;
    }
    show_message(message, kMainWindow, file_and_cause(path, why));
    return true;
}

}  // namespace

bool fill_register_view(const std::string& path, int order_mode) {
    if (refuse(path)) return false;
    // What killed writes left beside the register goes, under the register's lock.
    tidy_register_folder(path);
    listed_stamp() = file_stamp(path);
    AppState& state = app();
    ui::suspend_drawing(kRegisterList);
    ui::clear_items(kRegisterList);
    book().clear();
    payees().clear();
    // Another register: the changes made to the last one cannot be undone in this one.
    if (path != undo_history().path()) start_undo_history(path, HistoryEnd::kOpened);
    if (order_mode == kFileOrder) state.list_order = 0;
    if (order_mode == kReverseOrder) state.list_order = 1;
    if (order_mode == kToggleOrder) state.list_order = state.list_order == 0 ? 1 : 0;
    show_list_order(state.list_order);

    book().reserve(static_cast<std::size_t>(count_records(path)));
    const std::string& void_mark = texts().void_mark;
    std::string row;
    int position = 0;
    std::int64_t misnumbered = 0;
    const IoStatus read = visit_records(
        path,
        [&](std::int64_t slot, const std::uint8_t* record) {
            if (record[record_format::kDeletedOffset] != record_format::kLive) return true;
            row.clear();
            append_row_text(row, record, void_mark);
            ui::add_item(kRegisterList, -1, row);
            // A row leads to the slot it was read from: in a sound file that is the record's own
            // number, and in one whose numbers went astray it is still the right record.
            ui::set_item_data(kRegisterList, position++, slot);
            if (get_i32(record + record_format::kRecordNumberOffset) != slot) ++misnumbered;
            book().insert(-1, figures_of(row));
            payees().add(cell_of(row, kPayeeColumn), slot);
            return true;
        },
        state.list_order == 1);
    payees().shrink();
    provide_balances();
    recompute_balance();
    select_register_row(0);
    ui::resume_drawing(kRegisterList);
    // The file passed its check but failed while it was read (a disk error): the list shows what
    // was read, and the user learns that it is not all.
    if (!read) show_message(kMessageReadOnly, kMainWindow, file_and_cause(path, read));
    // Said once for a register, when it is opened, not at every reload.
    static std::string told_about;
    if (misnumbered > 0 && told_about != path) {
        told_about = path;
        show_message(kMessageMisnumbered, kMainWindow, ShownText::of_path(path));
    }

    state.register_path = path;
    show_register_title(path);
    return true;
}

void show_register_title(const std::string& path) {
    ui::set_window_title(kMainWindow,
                         ShownText::of_text(texts().title_prefix).add_path(file_part(path, kCutExtension)));
}

void recompute_balance() {
    const DateValue today = current_date();
    book().recompute(app().list_order, year_of(today), month_of(today));
    ui::refresh_provided_cells(kRegisterList);
    write_status_fields(book().summary(), month_of(today));
}

void show_saved_transaction(std::int64_t index, bool editing, const TransactionRecord& record) {
    AppState& state = app();
    const std::string row = row_text(record, texts().void_mark, false);
    int selected = state.current_row;
    if (editing) {
        // The row of the record's slot: the list may have been filled again meanwhile.
        selected = row_of_slot(index);
        payees().remove(ui::get_item_text(kRegisterList, selected, kPayeeColumn), index);
        ui::set_item_text(kRegisterList, selected, row);
        book().replace(selected, figures_of(row));
        payees().add(cell_of(row, kPayeeColumn), index);
    } else {
        const int count = ui::count_items(kRegisterList);
        const int wanted =
            state.options.list_order == 1 ? 0 : static_cast<int>(std::min<std::int64_t>(index, count));
        insert_row(wanted, row, index);
        selected = state.options.list_order == 1 ? 0 : ui::count_items(kRegisterList) - 1;
    }
    recompute_balance();
    select_register_row(selected);
    insert_into_pick_list(state.pick_lists[kTypeList], trim(record.type), true);
    insert_into_pick_list(state.pick_lists[kPayeeList], trim(record.payee), true);
    insert_into_pick_list(state.pick_lists[kDescriptionList], trim(record.description), true);
}

WriteCheck listed_register_check() {
    WriteCheck check;
    check.listed = listed_stamp();
    return check;
}

void note_register_written(const WriteCheck& check) { listed_stamp() = check.after; }

void show_register_changed(int owner_window) {
    const std::string path = app().register_path;
    fill_register_view(path, kKeepOrder);
    show_message(kMessageChangedElsewhere, owner_window, ShownText::of_path(path));
}

int row_of_slot(std::int64_t slot) {
    const int current = app().current_row;
    if (current >= 0 && ui::get_item_data(kRegisterList, current) == slot) return current;
    const int rows = ui::count_items(kRegisterList);
    for (int row = 0; row < rows; ++row) {
        if (ui::get_item_data(kRegisterList, row) == slot) return row;
    }
    return -1;
}

void select_register_row(int row) {
    app().current_row = row;
    ui::set_focus(kRegisterList);
    ui::set_item_colour(kRegisterList, -1, ui::kFrontColour, kRed, kWithdrawalColumn);
    ui::set_item_colour(kRegisterList, -1, ui::kFrontColour, kBlue, kBalanceColumn);
    ui::set_state(kRegisterList, row);
}

void remove_register_row(int row) {
    payees().remove(ui::get_item_text(kRegisterList, row, kPayeeColumn),
                    ui::get_item_data(kRegisterList, row));
    ui::remove_item(kRegisterList, row);
    book().remove(row);
}

void show_record_at_slot(std::int64_t slot, const RecordBytes* record, bool added) {
    const int row = row_of_slot(slot);
    if (record == nullptr || (*record)[record_format::kDeletedOffset] != record_format::kLive) {
        if (row >= 0) remove_register_row(row);
        recompute_balance();
        select_register_row(row < 0 ? 0 : std::min(row, ui::count_items(kRegisterList) - 1));
        return;
    }
    std::string text;
    append_row_text(text, record->data(), texts().void_mark);
    int selected = row;
    if (row >= 0) {
        payees().remove(ui::get_item_text(kRegisterList, row, kPayeeColumn), slot);
        ui::set_item_text(kRegisterList, row, text);
        book().replace(row, figures_of(text));
        payees().add(cell_of(text, kPayeeColumn), slot);
    } else if (added) {
        // Where a new transaction's row goes.
        selected = app().options.list_order == 1 ? 0 : ui::count_items(kRegisterList);
        insert_row(selected, text, slot);
    } else {
        // Before the first row that comes after the slot in the list's order.
        const bool newest_first = app().list_order == 1;
        const int rows = ui::count_items(kRegisterList);
        selected = rows;
        for (int at = 0; at < rows; ++at) {
            const std::int64_t other = ui::get_item_data(kRegisterList, at);
            if (newest_first ? other < slot : other > slot) {
                selected = at;
                break;
            }
        }
        insert_row(selected, text, slot);
    }
    recompute_balance();
    select_register_row(selected);
}

std::optional<std::int64_t> latest_slot_of_payee(std::string_view payee) { return payees().latest(payee); }

void show_no_register() {
    clear_register_view();
    ui::set_status_field_text(kStatusBar, kCountField, texts().idle_status);
    for (int field = kBalanceField; field <= kMonthAverageField; ++field)
        ui::set_status_field_text(kStatusBar, field, "");
    ui::set_window_title(kMainWindow, texts().program_title);
}

std::size_t register_view_memory_bytes() {
    return ui::list_memory_bytes(kRegisterList) + book().memory_bytes() + payees().memory_bytes();
}

void clear_register_view() {
    ui::clear_items(kRegisterList);
    book().clear();
    payees().clear();
    app().register_path.clear();
    app().current_row = -1;
}

}  // namespace quillet
