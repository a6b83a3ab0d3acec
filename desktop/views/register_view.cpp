#include "desktop/views/register_view.h"

#include <algorithm>

#include "core/category/category_edits.h"
#include "core/list/row_text.h"
#include "core/register/register_file.h"
#include "core/runtime/dates.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/program/undo_captions.h"
#include "desktop/views/filter_bar.h"
#include "desktop/views/list_filter.h"
#include "ui/bars.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

namespace {

constexpr int kRed = 0x0000FF;  // 0x00BBGGRR
constexpr int kBlue = 0xFF0000;

// The balance column shows the running balance, worked out when it is painted or read.
void provide_balances() {
    ui::set_column_provider(kRegisterList, kBalanceColumn, [](int row) -> std::optional<std::string> {
        const std::optional<Figure> balance = register_session().balances().running(list_row_of(row));
        if (!balance) return std::nullopt;  // a void row shows its mark
        return figure_text(*balance);
    });
}

// A payee's tool tip names the transaction's category (a split's parts with their amounts), once
// the companion store has been read after painting.
void provide_category_tips() {
    ui::set_cell_tips(kRegisterList, kPayeeColumn, [](int row) -> std::optional<std::string> {
        RegisterSession& session = register_session();
        if (app().options.tooltips_off != 0 || session.store_state() != StoreState::kRead)
            return std::nullopt;
        const CategoryBook& book = session.categories();
        const std::int64_t slot = session.slot_of(list_row_of(row));
        if (!book.categorised(slot)) return std::nullopt;
        const CategoryTexts& t = texts().categories;
        std::string tip = t.tip_category;
        if (!book.is_split(slot)) return tip + category_full_name(book.lists(), book.category_of(slot));
        tip += t.split_shown;
        for (const CategoryLine& line : book.lines_of(slot))
            tip += "\n" + category_full_name(book.lists(), line.category) + "  " +
                   cents_text(line.cents.value_or(0));
        return tip;
    });
}

std::string month_text(std::int32_t month) {
    const auto& names = texts().month_names;
    return (month >= 1 && month <= 12 ? names[static_cast<std::size_t>(month - 1)] : std::string()) +
           texts().after_month_name;
}

// The status fields of the figures; a figure is never cut, its label gives way first.
void write_status_fields(const BalanceSummary& summary, std::int32_t month) {
    const TextTable& t = texts();
    const std::string name = month_text(month);
    const auto field = [](int number, const std::string& label, const std::string& figure) {
        ui::set_status_field_figure(kStatusBar, number, label, figure, ui::kAlignCentre);
    };
    field(kCountField, t.rows_label, integer_text(summary.rows));
    field(kBalanceField, t.balance_label, figure_text(summary.balance));
    field(kMonthDepositsField, name + t.deposits_label, figure_text(summary.month_deposits));
    field(kMonthWithdrawalsField, name + t.withdrawals_label, figure_text(summary.month_withdrawals));
    field(kMonthAverageField, t.average_label + name + t.average_balance_label,
          figure_text(summary.month_average));
}

// Checks the file; a refusal says why, but for a damaged first record, which is refused silently.
bool refuse(const std::string& path) {
    IoStatus cause;
    const RegisterCheck check = settle_and_check(path, &cause);
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

// The list's rows are made from the register's records when they are painted or read: the list
// keeps none of their texts. A record that is no longer the one listed (another program wrote over
// it) has the register read again, once the painting is done.
void supply_rows() {
    ui::supply_rows(kRegisterList, shown_row_count(), [](int shown_row, std::string& text) {
        AppState& state = app();
        // The companion store is read once the list has been painted: opening a
        // register is as quick with one as without.
        if (!state.store_read_asked && register_session().store_state() == StoreState::kUnread) {
            state.store_read_asked = true;
            ui::post_event(ui::kEventMenu, kMainWindow, kReadStore);
        }
        if (register_session().row_text(list_row_of(shown_row), text) || state.reading_again) return;
        state.reading_again = true;
        ui::post_event(ui::kEventMenu, kMainWindow, kReadRegisterAgain);
    });
}

// Each row's state against the bank's statements: a mark in its date cell, and a reconciled row's
// texts (not its figures) in a quieter colour.
void show_row_states() {
    ui::set_row_states(
        kRegisterList,
        [](int row) { return static_cast<int>(register_session().shown_state(list_row_of(row))); },
        {kDateColumn, kTypeColumn, kNumberColumn, kPayeeColumn, kMemoColumn, kSecondDateColumn});
}

}  // namespace

bool fill_register_view(const std::string& path, int order_mode) {
    if (refuse(path)) return false;
    AppState& state = app();
    ui::suspend_drawing(kRegisterList);
    ui::clear_items(kRegisterList);
    if (order_mode == kFileOrder) state.list_order = 0;
    if (order_mode == kReverseOrder) state.list_order = 1;
    if (order_mode == kToggleOrder) state.list_order = state.list_order == 0 ? 1 : 0;
    show_list_order(state.list_order);
    const bool same_register = path == register_session().path();
    const RegisterSession::Opened opened = register_session().open(path, state.list_order);
    state.store_read_asked = false;
    // A filter stays on through a new reading of the register, its rows found again; another
    // register starts unfiltered (a category of the one before means nothing in it).
    if (same_register) {
        filter_register_list_again();
    } else {
        forget_filter();
    }
    supply_rows();
    show_row_states();
    provide_balances();
    provide_category_tips();
    show_balances();
    select_register_row(0);
    ui::resume_drawing(kRegisterList);
    // The file passed its check but failed while it was read (a disk error): the list shows what
    // was read, and the user learns that it is not all.
    if (!opened.read) show_message(kMessageReadOnly, kMainWindow, file_and_cause(path, opened.read));
    // Said once for a register, when it is opened, not at every reload.
    static std::string told_about;
    if (opened.misnumbered > 0 && told_about != path) {
        told_about = path;
        show_message(kMessageMisnumbered, kMainWindow, ShownText::of_path(path));
    }
    show_register_title(path);
    show_undo_captions();
    return true;
}

void show_register_title(const std::string& path) {
    ui::set_window_title(kMainWindow,
                         ShownText::of_text(texts().title_prefix).add_path(file_part(path, kCutExtension)));
}

void show_balances() {
    // The session works the figures out whenever it reads or changes the register.
    RegisterSession& session = register_session();
    ui::refresh_provided_cells(kRegisterList);
    write_status_fields(session.balances().summary(), month_of(current_date()));
    show_filter_figures();
    // The cleared balance, once the marks are read.
    const bool marked = session.store_state() == StoreState::kRead;
    ui::set_status_field_note(
        kStatusBar, kBalanceField,
        marked ? texts().cleared_balance_label + figure_text(session.cleared_balance()) : std::string());
}

void show_row_states_again() {
    show_row_states();
    show_balances();
}

void show_row_change(const RowChange& change) {
    RegisterSession& session = register_session();
    const int row = static_cast<int>(change.row);
    // Under a filter the view's rows are supplied again: a row that comes or goes in the list may
    // or may not be one the view shows.
    if (app().shown_rows.on() && change.kind != RowChange::Kind::kNone &&
        change.kind != RowChange::Kind::kReloaded && change.kind != RowChange::Kind::kClosed) {
        follow_row_change(change);
        const std::int64_t at = change.kind == RowChange::Kind::kRowsChanged ? app().current_row : change.row;
        show_shown_rows(std::min<std::int64_t>(at, session.row_count() - 1));
        show_undo_captions();
        return;
    }
    switch (change.kind) {
        case RowChange::Kind::kNone: show_undo_captions(); return;
        case RowChange::Kind::kInserted: ui::supplied_row_inserted(kRegisterList, row); break;
        case RowChange::Kind::kReplaced: ui::supplied_row_changed(kRegisterList, row); break;
        case RowChange::Kind::kRemoved: ui::supplied_row_removed(kRegisterList, row); break;
        case RowChange::Kind::kReloaded:
            fill_register_view(session.is_open() ? session.path() : session.history().path(), kKeepOrder);
            return;
        case RowChange::Kind::kClosed: show_no_register(); return;
        case RowChange::Kind::kRowsChanged:
            supply_rows();
            show_balances();
            select_register_row(std::min(app().current_row, static_cast<int>(session.row_count()) - 1));
            show_undo_captions();
            return;
    }
    show_balances();
    select_register_row(std::min(row, static_cast<int>(session.row_count()) - 1));
    show_undo_captions();
}

bool show_session_result(const SessionResult& result, int owner_window, int stale_message) {
    if (result.done()) return true;
    RegisterSession& session = register_session();
    const std::string path = session.is_open() ? session.path() : session.history().path();
    if (result.stale()) {
        // Nothing was written: the list shows the register as it now is.
        if (session.is_open()) fill_register_view(path, kKeepOrder);
        show_message(stale_message < 0 ? kMessageChangedElsewhere : stale_message, owner_window,
                     ShownText::of_path(path));
    } else {
        show_message(kMessageRegisterNotChanged, owner_window, failure_text(result));
    }
    show_undo_captions();
    return false;
}

void select_register_row(int row) {
    // A row the filter hides gives way to the nearest one shown.
    const int shown = row < 0 ? -1 : static_cast<int>(app().shown_rows.nearest_shown_row(row));
    app().current_row = static_cast<int>(list_row_of(shown));
    ui::set_focus(kRegisterList);
    ui::set_item_colour(kRegisterList, -1, ui::kFrontColour, kRed, kWithdrawalColumn);
    ui::set_item_colour(kRegisterList, -1, ui::kFrontColour, kBlue, kBalanceColumn);
    ui::set_state(kRegisterList, shown);
}

void show_shown_rows(std::int64_t selected) {
    ui::suspend_drawing(kRegisterList);
    supply_rows();
    show_row_states();
    show_balances();
    const int focus = ui::get_focus();
    select_register_row(static_cast<int>(std::max<std::int64_t>(selected, 0)));
    // Typing in the filter goes on where it was.
    if (focus >= 0 && focus != kRegisterList) ui::set_focus(focus);
    ui::resume_drawing(kRegisterList);
}

void show_filter_figures() {
    AppState& state = app();
    if (!state.shown_rows.on()) {
        if (state.filter_figures_shown) {
            ui::set_status_field_text(kStatusBar, kScheduleField, "");
            for (const int field : {kMonthDepositsField, kMonthWithdrawalsField, kMonthAverageField})
                ui::set_status_field_width(kStatusBar, field, kMonthFieldWidth);
        }
        state.filter_figures_shown = false;
        return;
    }
    // This month's figures are the whole register's: the shown rows' own take their room.
    for (const int field : {kMonthDepositsField, kMonthWithdrawalsField, kMonthAverageField})
        ui::set_status_field_width(kStatusBar, field, 0);
    RegisterSession& session = register_session();
    const ShownSums sums = state.shown_rows.sums(session.balances());
    const FilterTexts& t = texts().filter;
    ui::set_status_field_text(kStatusBar, kScheduleField,
                              integer_text(sums.rows) + t.shown_of + integer_text(session.row_count()) +
                                  t.shown_transactions + figure_text(sums.deposits) + t.shown_payments +
                                  figure_text(sums.payments));
    state.filter_figures_shown = true;
}

void show_no_register() {
    clear_register_view();
    ui::set_status_field_text(kStatusBar, kCountField, texts().idle_status);
    for (int field = kBalanceField; field <= kMonthAverageField; ++field)
        ui::set_status_field_text(kStatusBar, field, "");
    ui::set_window_title(kMainWindow, texts().program_title);
}

void read_store_after_painting() {
    RegisterSession& session = register_session();
    if (!session.is_open()) return;
    if (session.store_state() == StoreState::kUnread) {
        session.read_store();
        show_row_states_again();
        ui::refresh_provided_cells(kRegisterList);
    }
    // The payee index, which filling a new transaction from its payee needs, is made once the
    // list is painted, not before.
    session.list().make_payee_index();
    // The filter bar's categories and saved filters are the store's.
    refresh_filter_bar_lists();
    // Said once for a register, not at every reload; the register works on without the store.
    AppState& state = app();
    if (session.store_state() == StoreState::kUnusable && state.store_told != session.path()) {
        state.store_told = session.path();
        show_message(
            kMessageStoreUnusable, kMainWindow,
            file_and_cause(session.store_path(), cause_text(session.store_problem(), &texts().store_causes)));
    }
}

void show_category_column(bool shown) {
    const bool there = ui::count_columns(kRegisterList) > kColumnCount;
    if (shown == there) return;
    if (!shown) {
        ui::remove_last_column(kRegisterList);
        return;
    }
    ui::add_column(kRegisterList, kColumnCount, texts().categories.column_title, kColumnWidth);
    // Read once the store is, after painting: until then the column is empty.
    ui::set_column_provider(kRegisterList, kColumnCount, [](int row) -> std::optional<std::string> {
        RegisterSession& session = register_session();
        if (session.store_state() != StoreState::kRead) return std::string();
        const CategoryBook& book = session.categories();
        const std::int64_t slot = session.slot_of(list_row_of(row));
        if (book.is_split(slot)) return texts().categories.split_shown;
        return category_full_name(book.lists(), book.category_of(slot));
    });
}

std::size_t register_view_memory_bytes() {
    return ui::list_memory_bytes(kRegisterList) + register_session().memory_bytes();
}

void clear_register_view() {
    ui::clear_items(kRegisterList);
    register_session().close();
    app().shown_rows.clear();
    app().current_row = -1;
    show_undo_captions();
}

}  // namespace quillet
