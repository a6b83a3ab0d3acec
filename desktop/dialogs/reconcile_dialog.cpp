#include "desktop/dialogs/reconcile_dialog.h"

#include <algorithm>

#include "core/import/conventions.h"
#include "core/reconcile/difference_finder.h"
#include "core/runtime/dates.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/session/add_transaction.h"
#include "core/session/finish_statement.h"
#include "core/session/set_cleared.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"

namespace quillet {

using namespace reconcile_ids;

namespace {

ReconcileDraft& draft() { return *app().reconcile_draft; }

std::string day_text(DateValue date) {
    return date == kNoDate ? std::string() : format_date(kDisplayDateMask, date);
}

// The statement's day as the date field holds it, at midnight.
DateValue chosen_day() {
    const DateValue value = ui::get_state(kDate);
    return value <= 0 ? kNoDate : make_date(year_of(value), month_of(value), day_of(value));
}

// The ending balance as typed: whole cents, or none (then the reason is shown).
std::optional<std::int64_t> typed_ending() {
    const AmountReading reading = read_amount(trim(ui::get_text(kEnding)), DecimalMark::kPoint);
    if (reading.status != AmountReading::Status::kOk) return std::nullopt;
    return reading.cents;
}

// The item's record as the file holds it (empty texts when it cannot be read).
TransactionRecord record_of(const SheetItem& item) {
    RecordBytes bytes{};
    return register_session().read(item.slot, bytes) ? decode_record(bytes.data()) : TransactionRecord();
}

// The row's six texts from its record: date, number, payee, memo, deposit, payment.
void supply_row(int row, std::string& text) {
    text.clear();
    const auto& items = draft().sheet.items();
    if (row < 0 || static_cast<std::size_t>(row) >= items.size()) return;
    const SheetItem& item = items[static_cast<std::size_t>(row)];
    const TransactionRecord record = record_of(item);
    const std::string amount = cents_text(item.cents < 0 ? -item.cents : item.cents);
    text = day_text(item.date) + '\n' + trim(record.number) + '\n' + trim(record.payee) + '\n' +
           trim(record.description) + '\n' + (item.cents > 0 ? amount : "") + '\n' +
           (item.cents < 0 ? amount : "");
}

void ask_for_clues() {
    ReconcileDraft& d = draft();
    ui::set_text(kClues, "");
    if (d.clues_asked || !d.ending_valid || d.sheet.balanced()) return;
    d.clues_asked = true;
    ui::post_event(ui::kEventMenu, kWindow, kFindClues);
}

// The cleared balance, the difference and the counts, after every tick; Finish only at zero.
void show_figures() {
    ReconcileDraft& d = draft();
    const TextTable& t = texts();
    const ReconcileSheet& sheet = d.sheet;
    const DateValue day = chosen_day();
    const StatementProblem problem = statement_problem(register_session(), day);
    std::string figures;
    if (problem == StatementProblem::kBeforeLastStatement) {
        figures = t.statement_date_wrong + day_text(register_session().statements().back().date);
    } else if (!d.ending_valid) {
        const std::string typed = trim(ui::get_text(kEnding));
        figures = typed.empty() ? t.ending_balance_wanted : t.ending_balance_wrong + typed;
    } else {
        figures = t.cleared_balance_label + figure_text(sheet.cleared_balance()) + "     " +
                  t.difference_label + figure_text(sheet.difference());
    }
    ui::set_text(kFigures, figures);
    const std::size_t payments = sheet.ticked_count() - sheet.ticked_deposits();
    const auto count = [](std::size_t number) { return integer_text(static_cast<std::int64_t>(number)); };
    ui::set_text(kCounts, count(sheet.ticked_count()) + t.ticked_of + count(sheet.size()) + t.ticked_label +
                              t.deposits_count + count(sheet.ticked_deposits()) + " (" +
                              figure_text(sheet.ticked_deposit_cents()) + "), " + t.payments_count +
                              count(payments) + " (" + figure_text(sheet.ticked_withdrawal_cents()) + ")");
    const bool usable = problem == StatementProblem::kNone && d.ending_valid;
    ui::disable_gadget(kFinish, usable && sheet.balanced() ? 0 : 1);
    ui::disable_gadget(kAdjust, usable && !sheet.balanced() && !sheet.difference().out_of_range ? 0 : 1);
    ask_for_clues();
}

// The difference's likely causes, each with up to three of the transactions it names.
void show_clues() {
    ReconcileDraft& d = draft();
    d.clues_asked = false;
    if (!d.ending_valid || d.sheet.balanced()) return;
    const TextTable& t = texts();
    const std::vector<DifferenceClue> clues = find_difference(d.sheet);
    std::string text;
    for (const DifferenceClue& clue : clues) {
        if (!text.empty()) text += '\n';
        text += t.clue_texts[static_cast<std::size_t>(clue.kind)];
        for (std::size_t at = 0; at < clue.items.size() && at < 3; ++at) {
            const SheetItem& item = d.sheet.items()[clue.items[at]];
            text += (at > 0 ? "; " : "") + day_text(item.date) + ' ' + trim(record_of(item).payee) + ' ' +
                    cents_text(item.cents < 0 ? -item.cents : item.cents);
        }
        if (clue.items.size() > 3) text += t.clue_more;
    }
    ui::set_text(kClues, clues.empty() ? t.no_clue : text);
    // The first candidate is where the user looks first.
    if (!clues.empty()) ui::set_state(kList, static_cast<int>(clues.front().items.front()));
}

void fill_list() {
    ReconcileDraft& d = draft();
    ui::suspend_drawing(kList);
    ui::supply_rows(kList, static_cast<int>(d.sheet.size()), supply_row);
    ui::set_item_ticks(kList, d.sheet.ticks());
    ui::resume_drawing(kList);
    if (d.sheet.size() > 0) ui::set_state(kList, 0);
    show_figures();
}

// The sheet for the chosen day anew, with the ticks the user made kept by fingerprint. A register
// another program changed is read again first, and the user is told.
void rebuild(bool keep_ticks, std::optional<std::uint64_t> also_ticked = std::nullopt) {
    ReconcileDraft& d = draft();
    std::vector<std::uint64_t> ticked = d.sheet.ticked_fingerprints();
    if (also_ticked) ticked.push_back(*also_ticked);
    const std::int64_t ending = typed_ending().value_or(0);
    IoStatus built = build_sheet(register_session(), chosen_day(), ending, d.opening, d.sheet);
    if (built.error() == ESTALE) {
        fill_register_view(register_session().path(), kKeepOrder);
        show_row_states_again();
        built = build_sheet(register_session(), chosen_day(), ending, d.opening, d.sheet);
        show_message(kMessageReconcileReread, kWindow, ShownText::of_path(register_session().path()));
    }
    if (keep_ticks) d.sheet.tick_fingerprints(ticked);
    if (!built) show_message(kMessageReadOnly, kWindow, file_and_cause(register_session().path(), built));
    ui::set_text(kOpening, texts().opening_balance_label + cents_text(d.sheet.opening_cents));
    fill_list();
}

void close_reconcile() {
    close_dialog(kWindow);
    app().reconcile_draft.reset();
}

// A failure of the session's part: stale has the register read again with the ticks kept.
bool reconcile_result(const SessionResult& result) {
    if (result.done()) return true;
    if (result.stale()) {
        rebuild(true);
        return false;
    }
    show_message(kMessageReconcileFailed, kWindow, failure_text(result));
    return false;
}

std::vector<std::int64_t> sheet_slots() {
    std::vector<std::int64_t> slots;
    for (const SheetItem& item : draft().sheet.items()) slots.push_back(item.slot);
    return slots;
}

void finish() {
    ReconcileDraft& d = draft();
    if (ui::is_gadget_enabled(kFinish) == false) {
        show_message(kMessageStatementRefused, kWindow, ShownText::of_text(ui::get_text(kFigures)));
        return;
    }
    StoredStatement statement;
    statement.date = d.sheet.statement_date;
    statement.opening_cents = d.sheet.opening_cents;
    statement.ending_cents = d.sheet.ending_cents;
    statement.finished_on = current_date();
    RowChange change;
    if (!reconcile_result(register_session().apply(
            std::make_shared<FinishStatement>(statement, d.sheet.finish_slots(), d.sheet.finish_ticks()),
            change)))
        return;
    close_reconcile();
    show_row_change(change);
    show_row_states_again();
}

// Later: the ticks stay as cleared marks for the next time.
void later() {
    RowChange change;
    if (!reconcile_result(register_session().apply(
            std::make_shared<SetCleared>(sheet_slots(), draft().sheet.ticks()), change)))
        return;
    close_reconcile();
    show_row_states_again();
}

// The difference booked as a transaction of its own, that the user sees and confirms.
void adjust() {
    ReconcileDraft& d = draft();
    const Figure owed = d.sheet.difference();
    const std::int64_t difference = owed.cents;
    if (owed.out_of_range || difference == 0 || !register_keeps(difference)) return;
    const TextTable& t = texts();
    TransactionRecord record;
    record.date = d.sheet.statement_date;
    record.type = t.adjustment_type;
    record.payee = t.adjustment_payee;
    record.description = t.adjustment_memo + day_text(d.sheet.statement_date);
    record.amount = register_amount(difference < 0 ? -difference : difference);
    record.kind = difference > 0 ? record_format::kDeposit : record_format::kWithdrawal;
    const std::string shown = t.adjustment_payee + ": " + t.kind_names[difference > 0 ? 0 : 1] + ' ' +
                              cents_text(difference < 0 ? -difference : difference) + ", " +
                              day_text(record.date);
    if (show_message(kMessageConfirmAdjustment, kWindow, ShownText::of_text(shown)) != ui::kAnswerYes) return;
    RowChange change;
    const bool at_top = app().list_order == 1;
    const SessionResult added =
        register_session().apply(std::make_shared<AddTransaction>(record, at_top), change);
    if (!reconcile_result(added)) return;
    show_row_change(change);
    // The adjustment comes ticked with the rest.
    rebuild(true, register_session().fingerprint_of(change.row));
}

void note_tick() {
    ReconcileDraft& d = draft();
    const int row = ui::get_state(kList);
    if (row < 0 || static_cast<std::size_t>(row) >= d.sheet.size()) return;
    d.sheet.tick(static_cast<std::size_t>(row), ui::is_item_ticked(kList, row));
    show_figures();
}

void set_all_ticks(bool ticked) {
    draft().sheet.tick_all(ticked);
    ui::set_item_ticked(kList, -1, ticked);
    show_figures();
}

void ending_changed() {
    ReconcileDraft& d = draft();
    const std::optional<std::int64_t> ending = typed_ending();
    d.ending_valid = ending.has_value();
    if (ending) d.sheet.ending_cents = *ending;
    show_figures();
}

// Before the first statement, the note line says where the proposed opening balance comes from.
void show_opening_source(const OpeningBalance& opening) {
    const TextTable& t = texts();
    const std::string day = opening.first_date != kNoDate ? day_text(opening.first_date) : std::string();
    const std::string file = file_part(opening.file_name);
    switch (opening.source) {
        case OpeningBalance::Source::kStatementSays:
            ui::set_text(kChangedNote, ShownText::of_text(t.opening_stated_before)
                                           .add_path(file)
                                           .add_text(t.opening_stated_after + day + t.opening_stated_end));
            break;
        case OpeningBalance::Source::kBalanceBefore:
            ui::set_text(kChangedNote,
                         ShownText::of_text(t.opening_before_before + day + t.opening_before_after)
                             .add_path(file)
                             .add_text(t.opening_before_end));
            break;
        default: break;
    }
}

void create_gadgets(DateValue day, const std::string& ending) {
    const TextTable& t = texts();
    ui::create_text(kDateCaption, 16, 18, 104, 18, t.statement_date_caption);
    ui::create_date(kDate, 122, 14, 150, 26, std::string(kDisplayDateMask), day);
    ui::set_label_target(kDateCaption, kDate);
    ui::create_text(kEndingCaption, 292, 18, 104, 18, t.ending_balance_caption);
    ui::create_string(kEnding, 398, 14, 120, 26, ending);
    ui::set_label_target(kEndingCaption, kEnding);
    ui::create_text(kOpening, 536, 18, 208, 18, "");
    ui::create_text(kChangedNote, 16, 46, 728, 18, "");
    const auto& titles = t.reconcile_titles;
    ui::create_list(
        kList, 16, 68, 728, 300, titles[0], 112,
        ui::kListFullRowSelect | ui::kListGridLines | ui::kListAlwaysShowSelection | ui::kListTickBoxes);
    const int widths[] = {112, 70, 170, 170, 90, 90};
    for (int column = 1; column < 6; ++column)
        ui::add_column(kList, column, titles[static_cast<std::size_t>(column)], widths[column]);
    for (const int column : {4, 5}) {
        ui::set_column_alignment(kList, column, ui::kAlignRight);
        ui::set_column_figures(kList, column);
    }
    ui::create_text(kFigures, 16, 376, 728, 20, "");
    ui::create_text(kCounts, 16, 398, 728, 20, "");
    ui::create_text(kClues, 16, 422, 728, 80, "");
    ui::create_button(kTickAll, 16, 516, 100, 28, t.tick_all_button);
    ui::create_button(kUntickAll, 124, 516, 100, 28, t.untick_all_button);
    ui::create_button(kAdjust, 232, 516, 100, 28, t.adjust_button);
    ui::create_button(kFinish, 552, 516, 92, 28, t.finish_button, ui::kButtonDefault);
    ui::create_button(kLater, 652, 516, 92, 28, t.later_button);
}

}  // namespace

void open_reconcile_window() {
    RegisterSession& session = register_session();
    const TextTable& t = texts();
    const std::vector<StoredStatement>& statements = session.statements();
    if (session.store_state() == StoreState::kUnusable) {
        show_message(
            kMessageStoreUnusable, main_ids::kMainWindow,
            file_and_cause(session.store_path(), cause_text(session.store_problem(), &t.store_causes)));
        return;
    }
    // The last import's statement is proposed; else today and an ending balance to type.
    std::vector<std::optional<FoundIdentity>> found;
    std::vector<StoredImport> imports;
    (void)session.look_up_imports({}, found, imports);
    ProposedStatement proposed = proposed_statement(imports);
    if (proposed.date != kNoDate && statement_problem(session, proposed.date) != StatementProblem::kNone)
        proposed = {};
    const DateValue today = current_date();
    const DateValue day =
        proposed.date != kNoDate ? proposed.date : make_date(year_of(today), month_of(today), day_of(today));
    app().reconcile_draft.emplace();
    draft().opening = opening_balance(session, imports);
    open_dialog(kWindow, kWidth, kHeight, t.reconcile_title);
    create_gadgets(day, proposed.ending_cents ? cents_text(*proposed.ending_cents) : std::string());
    for (const StoredStatement& statement : statements) {
        if (statement.changed)
            ui::set_text(kChangedNote,
                         t.statement_changed_before + day_text(statement.date) + t.statement_changed_after);
    }
    show_opening_source(draft().opening);
    install_dialog_shortcuts(kWindow, proposed.ending_cents ? kList : kEnding, kLater, kHelp);
    draft().ending_valid = typed_ending().has_value();
    rebuild(false);
}

void handle_reconcile_window(int kind) {
    if (!app().reconcile_draft) return;
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kDate: rebuild(true); break;
            case kEnding: ending_changed(); break;
            case kList:
                if (ui::event_type() == ui::kTicked) note_tick();
                break;
            case kTickAll: set_all_ticks(true); break;
            case kUntickAll: set_all_ticks(false); break;
            case kAdjust: adjust(); break;
            case kFinish: finish(); break;
            case kLater: later(); break;
            default: break;
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        case kLater: later(); break;
        case kFindClues: show_clues(); break;
        case kHelp: open_help_topic(texts().reconcile_help_topic); break;
        case kDialogReturn: {
            const int focused = ui::get_focus();
            if (focused == kTickAll || focused == kUntickAll || focused == kAdjust || focused == kLater) {
                click_focused_gadget();
            } else {
                finish();
            }
            break;
        }
        default: break;
    }
}

}  // namespace quillet
