#include "desktop/dialogs/import_dialog.h"

#include <algorithm>

#include "core/category/category_edits.h"
#include "core/category/imported_categories.h"
#include "core/import/csv_profiles.h"
#include "core/import/raw_statement.h"
#include "core/import/statement_text.h"
#include "core/runtime/dates.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"
#include "core/settings/pick_lists.h"
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

using namespace import_ids;

namespace {

ImportDraft& draft() { return *app().import_draft; }

std::string profiles_path() {
    return folder_part(app().settings_path) + path_from_text(texts().profiles_file_name);
}

// The mapping's columns in the order of the dialog's column combos.
std::array<int*, kColumnCount> columns_of(CsvMapping& mapping) {
    return {&mapping.date,   &mapping.payee, &mapping.description, &mapping.number,
            &mapping.amount, &mapping.debit, &mapping.credit,      &mapping.indicator};
}

std::string date_text(DateValue date) {
    return date == kNoDate ? std::string() : format_date(kDisplayDateMask, date);
}

// Each column's name as the combos list it: "3: Betrag", or "Column 3" in a file without a header.
std::vector<std::string> column_names(const StatementFile& file, const CsvMapping& mapping) {
    std::size_t widest = 0;
    for (std::size_t row = 0; row < file.table.size(); ++row)
        widest = std::max(widest, file.table.row(row).size());
    std::vector<std::string> names;
    const auto header = static_cast<std::size_t>(mapping.skip_top);
    for (std::size_t column = 0; column < widest; ++column) {
        std::string name = integer_text(static_cast<std::int64_t>(column + 1));
        if (mapping.header && header < file.table.size() && column < file.table.row(header).size()) {
            name += ": " + utf8_to_windows1252(file.table.row(header)[column]);
        } else {
            name = texts().column_prefix + name;
        }
        names.push_back(name);
    }
    return names;
}

// The accounts a file holds, its currency beside each; a choice only when there are several.
void show_accounts() {
    const ImportDraft& d = draft();
    ui::clear_items(kAccount);
    for (const RawStatement& account : d.file.accounts) {
        std::string shown = utf8_to_windows1252(account.account);
        if (!account.currency.empty()) shown += " (" + utf8_to_windows1252(account.currency) + ")";
        ui::add_item(kAccount, -1, shown);
    }
    ui::set_state(kAccount, d.file.accounts.empty() ? -1 : static_cast<int>(d.file.account));
    ui::disable_gadget(kAccount, d.file.accounts.size() > 1 ? 0 : 1);
}

// The dialog's gadgets show the draft's mapping and conventions.
void show_choices() {
    ImportDraft& d = draft();
    const TextTable& t = texts();
    const bool csv = d.file.format == StatementFormat::kCsv;
    CsvMapping mapping = d.file.mapping.value_or(CsvMapping{});
    const std::vector<std::string> names = csv ? column_names(d.file, mapping) : std::vector<std::string>();
    const auto columns = columns_of(mapping);
    for (int at = 0; at < kColumnCount; ++at) {
        const int combo = kFirstColumn + at;
        ui::clear_items(combo);
        ui::add_item(combo, -1, t.no_column);
        for (const std::string& name : names) ui::add_item(combo, -1, name);
        ui::set_state(combo, *columns[static_cast<std::size_t>(at)] + 1);
        ui::disable_gadget(combo, csv ? 0 : 1);
        ui::disable_gadget(kFirstColumnCaption + at, csv ? 0 : 1);
    }
    // Lines as the file numbers them, blank ones too: the table counts only rows.
    ui::set_text(kSkipTop, integer_text(lines_above_row(d.file.table, mapping.skip_top)));
    ui::set_text(kSkipBottom, integer_text(mapping.skip_bottom));
    ui::set_state(kHeaderLine, mapping.header ? 1 : 0);
    for (const int gadget : {kSkipTop, kSkipBottom, kHeaderLine, kSkipTopCaption, kSkipBottomCaption,
                             kSeparatorCaption, kSeparator})
        ui::disable_gadget(gadget, csv ? 0 : 1);
    ui::clear_items(kSeparator);
    for (const std::string& name : t.separator_names) ui::add_item(kSeparator, -1, name);
    const auto separator_at =
        std::find(std::begin(kCsvSeparators), std::end(kCsvSeparators), d.file.table.separator) -
        std::begin(kCsvSeparators);
    ui::set_state(kSeparator, csv ? static_cast<int>(separator_at) : -1);

    // Amounts without a sign are asked about only where no column says which way they went.
    ui::clear_items(kPlain);
    if (d.signs_unsaid && !d.plain) ui::add_item(kPlain, -1, t.choose_one);
    for (const std::string& name : t.plain_names) ui::add_item(kPlain, -1, name);
    ui::set_state(kPlain, !d.signs_unsaid ? -1 : d.plain ? static_cast<int>(*d.plain) : 0);
    ui::disable_gadget(kPlain, d.signs_unsaid ? 0 : 1);
    ui::disable_gadget(kPlainCaption, d.signs_unsaid ? 0 : 1);

    // A choice is offered only between the conventions the file's values leave.
    ui::clear_items(kDateOrder);
    if (d.orders.size() > 1 && !d.order) ui::add_item(kDateOrder, -1, t.choose_one);
    if (d.orders.empty()) ui::add_item(kDateOrder, -1, t.none_fits);
    for (const DateOrder order : d.orders)
        ui::add_item(kDateOrder, -1, t.date_order_names[static_cast<std::size_t>(order)]);
    const auto order_at =
        d.order ? std::find(d.orders.begin(), d.orders.end(), *d.order) - d.orders.begin() : 0;
    ui::set_state(kDateOrder, static_cast<int>(order_at));
    ui::disable_gadget(kDateOrder, d.orders.size() > 1 ? 0 : 1);

    ui::clear_items(kMark);
    if (d.marks.size() > 1 && !d.mark) ui::add_item(kMark, -1, t.choose_one);
    if (d.marks.empty()) ui::add_item(kMark, -1, t.none_fits);
    for (const DecimalMark mark : d.marks)
        ui::add_item(kMark, -1, t.mark_names[static_cast<std::size_t>(mark)]);
    const auto mark_at = d.mark ? std::find(d.marks.begin(), d.marks.end(), *d.mark) - d.marks.begin() : 0;
    ui::set_state(kMark, static_cast<int>(mark_at));
    ui::disable_gadget(kMark, d.marks.size() > 1 ? 0 : 1);
}

void show_counts() {
    const ImportDraft& d = draft();
    const TextTable& t = texts();
    if (!d.conventions_chosen()) {
        ui::set_text(kCounts, t.conventions_wanted);
        ui::disable_gadget(kOk, 1);
        return;
    }
    const ImportPreview& preview = d.preview;
    ui::set_text(kCounts,
                 t.found_count +
                     integer_text(static_cast<std::int64_t>(preview.lines.size() + preview.skipped.size())) +
                     ": " + integer_text(preview.new_count()) + t.new_count +
                     integer_text(preview.duplicate_count()) +
                     (preview.duplicate_count() == 1 ? t.duplicate_one : t.duplicate_count) +
                     integer_text(static_cast<std::int64_t>(preview.skipped.size())) + t.refused_count +
                     integer_text(preview.ticked_count()) + t.ticked_count +
                     (preview.cleaned_lines > 0
                          ? t.cleaned_count + integer_text(preview.cleaned_lines) + t.cleaned_count_end
                          : std::string()));
    ui::disable_gadget(kOk, preview.ticked_count() > 0 ? 0 : 1);
}

// The category the line's record will get: chosen, or as the payee rules give it.
std::string line_category_name(const PreviewLine& line) {
    const std::optional<CategoryRules>& rules = app().import_rules;
    if (!rules) return {};
    const std::int64_t category =
        line_category(line.category, *rules, utf8_to_windows1252(line.line.payee()));
    return category_full_name(register_session().categories().lists(), category);
}

// The selected line's choice of category shown in the field below the list.
void show_line_category() {
    const std::vector<PreviewLine>& lines = draft().preview.lines;
    const int row = ui::get_state(kPreview);
    if (row < 0 || static_cast<std::size_t>(row) >= lines.size() || !app().import_rules) return;
    const std::int64_t chosen = lines[static_cast<std::size_t>(row)].category;
    int item = 0;
    if (chosen == 0) {
        item = 1;
    } else if (chosen > 0) {
        const std::vector<std::int64_t> order = listed_order(register_session().categories().lists());
        const auto found = std::find(order.begin(), order.end(), chosen);
        item = found == order.end() ? 0 : 2 + static_cast<int>(found - order.begin());
    }
    ui::set_state(kLineCategory, item);
}

// The user chose the selected line's category.
void choose_line_category() {
    std::vector<PreviewLine>& lines = draft().preview.lines;
    const int row = ui::get_state(kPreview);
    if (row < 0 || static_cast<std::size_t>(row) >= lines.size()) return;
    const int item = ui::get_state(kLineCategory);
    const std::vector<std::int64_t> order = listed_order(register_session().categories().lists());
    std::int64_t& chosen = lines[static_cast<std::size_t>(row)].category;
    chosen =
        item <= 0 ? kCategoryByRules
        : item == 1
            ? 0
            : order[static_cast<std::size_t>(std::min<int>(item - 2, static_cast<int>(order.size()) - 1))];
    ui::supplied_row_changed(kPreview, row);
}

// A preview line's cells, made when the list shows the row: a statement of a million lines is
// listed at once.
void supply_preview_row(int row, std::string& text) {
    text.clear();
    const ImportPreview& preview = draft().preview;
    if (row < 0 || static_cast<std::size_t>(row) >= preview.lines.size()) return;
    const PreviewLine& line = preview.lines[static_cast<std::size_t>(row)];
    const StatementLine& s = line.line;
    text = date_text(s.date) + '\n' + utf8_to_windows1252(s.number()) + '\n' +
           utf8_to_windows1252(s.payee()) + '\n' + utf8_to_windows1252(s.description()) + '\n' +
           texts().kind_names[s.cents < 0 ? 1 : 0] + '\n' + cents_text(s.cents < 0 ? -s.cents : s.cents) +
           '\n' + utf8_to_windows1252(verdict_text(line)) + '\n' + line_category_name(line);
}

void fill_lists() {
    const ImportDraft& d = draft();
    const TextTable& t = texts();
    ui::suspend_drawing(kPreview);
    ui::supply_rows(kPreview, static_cast<int>(d.preview.lines.size()), supply_preview_row);
    std::vector<bool> ticks;
    ticks.reserve(d.preview.lines.size());
    for (const PreviewLine& line : d.preview.lines) ticks.push_back(line.ticked);
    ui::set_item_ticks(kPreview, ticks);
    ui::resume_drawing(kPreview);
    if (!d.preview.lines.empty()) ui::set_state(kPreview, 0);
    ui::clear_items(kSkipped);
    for (const SkippedLine& skipped : d.preview.skipped) {
        ui::add_item(kSkipped, -1,
                     integer_text(skipped.line) + '\n' +
                         t.skip_reasons[static_cast<std::size_t>(skipped.reason)] + '\n' +
                         utf8_to_windows1252(skipped.detail));
    }
    show_counts();
}

// The preview under the chosen conventions; false when the import history cannot be read (the
// dialog then closes: nothing could tell what was imported before).
bool show_preview() {
    ImportDraft& d = draft();
    if (const IoStatus built = build_preview(register_session(), d); !built) {
        show_message(
            kMessageStoreUnusable, kWindow,
            file_and_cause(register_session().store_path(), cause_text(built, &texts().store_causes)));
        return false;
    }
    fill_lists();
    // Another currency than before is said once, never converted.
    if (d.preview.currency_differs() && !app().import_currency_told) {
        app().import_currency_told = true;
        const TextTable& t = texts();
        show_message(
            kMessageOtherCurrency, kWindow,
            ShownText::of_text(t.other_currency + utf8_to_windows1252(d.preview.currency) +
                               t.earlier_currency + utf8_to_windows1252(d.preview.earlier_currency) + "."));
    }
    return true;
}

void close_import() {
    close_dialog(kWindow);
    app().import_draft.reset();
    app().import_rules.reset();
}

// The user changed a column, the lines to skip or the header box: the file is read again under the
// new mapping.
void remap() {
    ImportDraft& d = draft();
    // Only a CSV file has columns; the gadgets' own changes say nothing of other formats.
    if (d.file.format != StatementFormat::kCsv) return;
    CsvMapping mapping = d.file.mapping.value_or(CsvMapping{});
    const auto columns = columns_of(mapping);
    for (int at = 0; at < kColumnCount; ++at)
        *columns[static_cast<std::size_t>(at)] = ui::get_state(kFirstColumn + at) - 1;
    mapping.skip_top = rows_within_lines(
        d.file.table,
        static_cast<int>(std::clamp<std::int64_t>(text_to_integer(ui::get_text(kSkipTop)), 0, 100000)));
    mapping.skip_bottom =
        static_cast<int>(std::clamp<std::int64_t>(text_to_integer(ui::get_text(kSkipBottom)), 0, 1000));
    const bool header_changed = mapping.header != (ui::get_state(kHeaderLine) == 1);
    mapping.header = ui::get_state(kHeaderLine) == 1;
    // Setting the gadgets raises their change events too: only a change the user made reads the
    // file again (a million-line statement was previewed twelve times as the dialog opened).
    if (d.file.mapping && mapping == *d.file.mapping) return;
    map_columns(d, mapping);
    // The column names come from the header: they change with it.
    if (header_changed) show_choices();
    if (!show_preview()) close_import();
}

// Another account of the file: its statement, read under conventions of its own.
void choose_statement_account() {
    ImportDraft& d = draft();
    const int chosen = ui::get_state(kAccount);
    if (chosen < 0 || static_cast<std::size_t>(chosen) == d.file.account) return;
    choose_statement_account(d, static_cast<std::size_t>(chosen));
    show_choices();
    if (!show_preview()) close_import();
}

// Another separator: the file is split again, its columns named anew by its header.
void take_separator() {
    ImportDraft& d = draft();
    const int chosen = ui::get_state(kSeparator);
    if (chosen < 0 || chosen >= static_cast<int>(std::size(kCsvSeparators))) return;
    const char separator = kCsvSeparators[chosen];
    if (separator == d.file.table.separator) return;
    // A file whose quotes do not close under the separator keeps the one it had.
    (void)choose_separator(d, separator);
    if (d.file.format == StatementFormat::kCsv && !d.file.mapping) map_columns(d, CsvMapping{});
    show_choices();
    if (!show_preview()) close_import();
}

void choose_conventions() {
    ImportDraft& d = draft();
    std::optional<DateOrder> order = d.order;
    std::optional<DecimalMark> mark = d.mark;
    std::optional<PlainAmounts> plain = d.plain;
    const int plain_at = ui::get_state(kPlain) - (d.signs_unsaid && !d.plain ? 1 : 0);
    if (d.signs_unsaid && plain_at >= 0 && plain_at <= static_cast<int>(PlainAmounts::kMoneyOut))
        plain = static_cast<PlainAmounts>(plain_at);
    const int order_at = ui::get_state(kDateOrder) - (d.orders.size() > 1 && !d.order ? 1 : 0);
    if (order_at >= 0 && order_at < static_cast<int>(d.orders.size()))
        order = d.orders[static_cast<std::size_t>(order_at)];
    const int mark_at = ui::get_state(kMark) - (d.marks.size() > 1 && !d.mark ? 1 : 0);
    if (mark_at >= 0 && mark_at < static_cast<int>(d.marks.size()))
        mark = d.marks[static_cast<std::size_t>(mark_at)];
    // Setting the combos raises their change events too: only a choice the user made counts.
    if (order == d.order && mark == d.mark && plain == d.plain) return;
    d.order = order;
    d.mark = mark;
    d.plain = plain;
    show_choices();
    if (!show_preview()) close_import();
}

void set_all_ticks(bool ticked) {
    for (PreviewLine& line : draft().preview.lines) line.ticked = ticked;
    ui::set_item_ticked(kPreview, -1, ticked);
    show_counts();
}

void note_tick() {
    ImportDraft& d = draft();
    const int row = ui::get_state(kPreview);
    if (row < 0 || row >= static_cast<int>(d.preview.lines.size())) return;
    d.preview.lines[static_cast<std::size_t>(row)].ticked = ui::is_item_ticked(kPreview, row);
    show_counts();
}

void import_ticked() {
    ImportDraft& d = draft();
    ImportBatch batch = batch_of(d.preview);
    if (batch.records.empty()) return;
    batch.cleared = app().options.import_cleared != 0;
    // What the pick lists learn, as from typed transactions: the latest last, so it stands first.
    std::vector<TransactionRecord> learned = batch.records;
    RowChange change;
    const SessionResult imported = register_session().apply(
        categorised_import(std::move(batch), register_session().categories()), change);
    if (!imported.done()) {
        if (imported.stale()) {
            // Nothing was written; the register is read again, and so is what it already holds.
            (void)show_session_result(imported, kWindow);
            if (!show_preview()) close_import();
            return;
        }
        show_message(kMessageImportFailed, kWindow, failure_text(imported));
        return;
    }
    AppState& state = app();
    for (const TransactionRecord& record : learned) {
        insert_into_pick_list(state.pick_lists[kTypeList], trim(record.type), true);
        insert_into_pick_list(state.pick_lists[kPayeeList], trim(record.payee), true);
        insert_into_pick_list(state.pick_lists[kDescriptionList], trim(record.description), true);
    }
    // The mapping is kept for the next file with the same header, with the conventions chosen.
    (void)save_import_profile(profiles_path(), d);
    close_import();
    show_row_change(change);
}

void create_gadgets() {
    const TextTable& t = texts();
    ui::create_text(kStatementCaption, 16, 18, 76, 18, t.statement_caption);
    ui::create_string(kStatement, 96, 14, 384, 24, "", ui::kStringReadOnly);
    // Wide enough for an IBAN and its currency.
    ui::create_text(kAccountCaption, 494, 18, 100, 18, t.account_caption);
    ui::create_combo(kAccount, 596, 14, 268, 26);
    ui::set_label_target(kAccountCaption, kAccount);
    // Each column's caption stands above its choice, so that a bank's long column names show.
    ui::create_frame(kColumnsFrame, 16, 46, 848, 170, t.columns_frame);
    for (int at = 0; at < kColumnCount; ++at) {
        const int x = 28 + (at % 4) * 208;
        const int y = 66 + (at / 4) * 50;
        ui::create_text(kFirstColumnCaption + at, x, y, 166, 18,
                        t.column_captions[static_cast<std::size_t>(at)]);
        ui::create_combo(kFirstColumn + at, x, y + 18, 196, 26);
        ui::set_label_target(kFirstColumnCaption + at, kFirstColumn + at);
    }
    ui::create_text(kSkipTopCaption, 28, 182, 86, 18, t.skip_top_caption);
    ui::create_string(kSkipTop, 116, 178, 50, 24, "0");
    ui::create_text(kSkipBottomCaption, 206, 182, 104, 18, t.skip_bottom_caption);
    ui::create_string(kSkipBottom, 312, 178, 50, 24, "0");
    ui::set_label_target(kSkipTopCaption, kSkipTop);
    ui::set_label_target(kSkipBottomCaption, kSkipBottom);
    ui::create_check_box(kHeaderLine, 384, 182, 150, 18, t.header_box);
    ui::create_text(kSeparatorCaption, 560, 182, 116, 18, t.separator_caption);
    ui::create_combo(kSeparator, 678, 178, 174, 26);
    ui::set_label_target(kSeparatorCaption, kSeparator);
    ui::create_text(kDateOrderCaption, 16, 232, 100, 18, t.date_order_caption);
    ui::create_combo(kDateOrder, 118, 228, 170, 26);
    ui::set_label_target(kDateOrderCaption, kDateOrder);
    ui::create_text(kMarkCaption, 314, 232, 120, 18, t.mark_caption);
    ui::create_combo(kMark, 436, 228, 196, 26);
    ui::set_label_target(kMarkCaption, kMark);
    ui::create_text(kPlainCaption, 646, 232, 92, 18, t.plain_caption);
    ui::create_combo(kPlain, 740, 228, 124, 26);
    ui::set_label_target(kPlainCaption, kPlain);

    const auto& titles = t.preview_titles;
    ui::create_list(
        kPreview, 16, 264, 848, 200, titles[0], 104,
        ui::kListFullRowSelect | ui::kListGridLines | ui::kListAlwaysShowSelection | ui::kListTickBoxes);
    const int widths[] = {104, 64, 150, 110, 78, 80, 120, 120};
    for (int column = 1; column < 8; ++column)
        ui::add_column(kPreview, column, titles[static_cast<std::size_t>(column)], widths[column]);
    ui::set_column_alignment(kPreview, 5, ui::kAlignRight);
    ui::set_column_figures(kPreview, 5);
    ui::create_text(kCounts, 16, 470, 560, 34, "");
    ui::create_text(kLineCategoryCaption, 582, 476, 120, 18, t.categories.line_category_caption);
    ui::create_combo(kLineCategory, 704, 472, 160, 26);
    ui::set_label_target(kLineCategoryCaption, kLineCategory);
    {
        // The payee rules, and the categories a line may be given instead.
        RegisterSession& session = register_session();
        const CategoryBook& book = session.categories();
        const bool usable = session.store_state() != StoreState::kUnusable;
        app().import_rules.reset();
        if (usable) app().import_rules.emplace(book.lists().rules);
        ui::add_item(kLineCategory, -1, t.categories.by_rules);
        ui::add_item(kLineCategory, -1, t.categories.no_category);
        for (const std::int64_t id : listed_order(book.lists()))
            ui::add_item(kLineCategory, -1, category_full_name(book.lists(), id));
        ui::set_state(kLineCategory, 0);
        ui::disable_gadget(kLineCategory, usable ? 0 : 1);
    }
    const auto& skipped = t.skipped_titles;
    ui::create_list(kSkipped, 16, 506, 848, 64, skipped[0], 56, ui::kListFullRowSelect | ui::kListGridLines);
    ui::add_column(kSkipped, 1, skipped[1], 300);
    ui::add_column(kSkipped, 2, skipped[2], 470);
    ui::create_button(kTickAll, 16, 578, 100, 28, t.tick_all_button);
    ui::create_button(kUntickAll, 124, 578, 100, 28, t.untick_all_button);
    ui::create_check_box(kMarkCleared, 244, 583, 260, 18, t.mark_cleared_box);
    ui::set_state(kMarkCleared, app().options.import_cleared != 0 ? 1 : 0);
    ui::create_button(kOk, 672, 578, 92, 28, t.import_button, ui::kButtonDefault);
    ui::create_button(kCancel, 772, 578, 92, 28, t.cancel_button);
}

}  // namespace

void start_import() {
    AppState& state = app();
    const TextTable& t = texts();
    // The folder of the last statement; the user's home the first time, never the program's data.
    const std::string folder = state.import_folder.empty() ? profile_folder() : state.import_folder;
    const std::string path =
        ui::requesters().open_file(t.import_requester_title, folder, t.statement_pattern, 0);
    if (path.empty()) return;
    state.import_folder = folder_part(path);
    ImportDraft d;
    if (const IoStatus read = begin_import(path, profiles_path(), "", d); !read) {
        show_message(
            kMessageStatementUnreadable, main_ids::kMainWindow,
            file_and_cause(path, read.error() == EFBIG ? ShownText::of_text(too_large_text(file_size(path)))
                                                       : cause_text(read, &t.statement_causes)));
        return;
    }
    // Columns the import does not know by themselves are chosen in the dialog.
    if (d.file.format == StatementFormat::kCsv && !d.file.mapping) map_columns(d, CsvMapping{});
    state.import_draft = std::move(d);
    state.import_currency_told = false;
    open_dialog(kWindow, kWidth, kHeight, t.import_title);
    create_gadgets();
    ui::set_text(kStatement, ShownText::of_path(path));
    show_accounts();
    show_choices();
    install_dialog_shortcuts(kWindow, kPreview, kCancel, kHelp);
    if (!show_preview()) {
        close_import();
        return;
    }
    if (draft().preview.earlier) {
        show_message(kMessageImportedBefore, kWindow,
                     ShownText::of_text(t.imported_on + date_text(draft().preview.earlier->imported_on)));
    }
}

void handle_import_dialog(int kind) {
    if (!app().import_draft) return;
    if (kind == ui::kEventGadget) {
        const int gadget = ui::event_gadget();
        if (gadget >= kFirstColumn && gadget < kFirstColumn + kColumnCount) {
            remap();
            return;
        }
        switch (gadget) {
            case kSkipTop:
            case kSkipBottom:
            case kHeaderLine: remap(); break;
            case kAccount: choose_statement_account(); break;
            case kSeparator: take_separator(); break;
            case kDateOrder:
            case kMark:
            case kPlain: choose_conventions(); break;
            case kPreview:
                if (ui::event_type() == ui::kTicked) {
                    note_tick();
                } else {
                    show_line_category();
                }
                break;
            case kLineCategory: choose_line_category(); break;
            case kMarkCleared: app().options.import_cleared = ui::get_state(kMarkCleared) == 1 ? 1 : 0; break;
            case kTickAll: set_all_ticks(true); break;
            case kUntickAll: set_all_ticks(false); break;
            case kOk: import_ticked(); break;
            case kCancel: close_import(); break;
            default: break;
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        case kCancel: close_import(); break;
        case kHelp: open_help_topic(texts().import_help_topic); break;
        case kDialogReturn: {
            // Return imports, unless a button has the focus: then it is that button's.
            const int focused = ui::get_focus();
            if (focused == kTickAll || focused == kUntickAll || focused == kCancel) {
                click_focused_gadget();
            } else if (ui::is_gadget_enabled(kOk)) {
                import_ticked();
            }
            break;
        }
        default: break;
    }
}

}  // namespace quillet
