#include "desktop/program/texts.h"

#include <cerrno>

#include "core/import/conventions.h"
#include "core/import/statement.h"
#include "core/list/row_text.h"
#include "core/runtime/number_text.h"

namespace quillet {
namespace {

TextTable& table() {
    static TextTable texts;
    return texts;
}

void prepare_menus(TextTable& t) {
    t.file_menu = "&File";
    t.new_register = "&New register...\tCtrl+N";
    t.open_register = "&Open register...\tCtrl+O";
    t.save_register_as = "Save register &as...\tCtrl+V";
    t.compact_register = "&Compact register\tCtrl+P";
    t.import = "&Import...\tCtrl+I";
    t.report = "&Report...\tCtrl+E";
    t.exit = "E&xit\tCtrl+X";
    t.transaction_menu = "&Transaction";
    t.add_transaction = "&Add transaction...\tIns";
    t.edit_transaction = "&Edit transaction...\tEnter";
    t.delete_transaction = "&Delete transaction\tDel";
    t.find = "&Find...\tCtrl+K";
    t.order_menu = "&Order";
    t.file_order = "&File order\tCtrl+A";
    t.reverse_order = "&Reverse order\tCtrl+Z";
    t.undo_prefix = "&Undo ";
    t.redo_prefix = "&Redo ";
    t.change_of = " of ";
    t.undo_keys = "\tAlt+Backspace";
    t.redo_keys = "\tCtrl+Y";
    t.nothing_to_undo = "Nothing to &undo";
    t.nothing_to_redo = "Nothing to &redo";
    t.change_names = {"add",    "edit",      "void",  "un-void",  "delete",  "delete",
                      "import", "reconcile", "entry", "schedule", "category"};
    t.statement_of = "statement ";
    t.imported_count = " transactions";
    t.history_ended = {"", " since another register was opened", " since the register was created",
                       " since the register was compacted", " since another program changed the register"};
    t.tools_menu = "T&ools";
    t.window_picture = "&Window picture\tCtrl+T";
    t.reminder = "Re&minder...\tCtrl+M";
    t.tool_program = "&Tool program\tCtrl+C";
    t.options = "O&ptions...\tCtrl+S";
    t.help_menu = "&Help";
    t.help = "&Help\tF1";
    t.about = "&About Quillet";
    t.popup_add = "Add a transaction";
    t.popup_edit = "Edit this transaction";
    t.popup_delete = "Delete this transaction";
    t.popup_find = "Find text in the list";
    t.popup_order = "List order";
    t.popup_file_order = "Oldest first (file order)";
    t.popup_reverse_order = "Newest first (reverse order)";
    t.tool_tips = {
        "New register", "Open register",         "Add transaction", "Edit transaction", "Delete transaction",
        "Find",         "File or reverse order", "Tool program",    "Options",          "Help"};
}

void prepare_register_view(TextTable& t) {
    t.column_titles = {"Date",    "Type",    "Number",  "Payee",      "Memo",
                       "Deposit", "Payment", "Balance", "Second date"};
    t.void_mark = std::string(kVoidMark);
    t.out_of_range = std::string(kOutOfRangeText);
    t.idle_status = "No register open";
    // The status fields are narrow: short labels and month names keep large figures in view.
    t.rows_label = "Count: ";
    t.balance_label = "Balance: ";
    t.deposits_label = "deposits: ";
    t.withdrawals_label = "paid: ";
    t.average_label = "";
    t.average_balance_label = "average: ";
    t.month_names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    t.after_month_name = ' ';  // a char: GCC 12 warns falsely of an overlap for a one-letter literal at -O3
}

void prepare_dialogs(TextTable& t) {
    t.new_transaction_title = "New transaction";
    t.edit_transaction_title = "Edit transaction";
    // The dialogs' gadgets have fixed sizes: every caption is chosen to fit its gadget.
    // Their access keys move to their fields; none clashes with the options, the box or the buttons.
    t.transaction_captions = {"Dat&e:", "&Type:", "&Number:", "Pa&yee:", "&Memo:"};
    t.transaction_ok = "&OK";
    t.transaction_cancel = "&Cancel";
    t.deposit_option = "&Deposit";
    t.withdrawal_option = "&Paid";
    t.second_date_box = "&Also on";
    t.void_box = "&Void";  // the list's void mark has no access key
    t.ok_button = "OK";
    t.cancel_button = "Cancel";
    t.number_pads = {"000", "00", "0", ""};
    t.transaction_help_topic = "transaction";
    t.new_register_title = "New register";
    t.browse_button = "&File...";
    t.create_button = "C&reate";
    t.new_register_help_topic = "new-register";
    t.default_register_name = "Register.qlt";
    t.open_requester_title = "Open a register";
    t.create_requester_title = "Create a register";
    t.save_as_requester_title = "Save the register as";
    t.register_pattern = "Registers (*.qlt)|*.qlt|All files|*";
    t.find_title = "Find";
    t.inverse_box = "&Without";
    t.find_button = "&Find";
    t.find_help_topic = "find";
    t.report_title = "Report";
    t.range_frame = "Range";
    t.all_option = "&All";
    t.month_option = "&Month";
    t.dates_option = "&Dates";
    t.first_date_caption = "&from";
    t.last_date_caption = "t&o";
    t.format_frame = "Format";
    t.html_option = "&Web";
    t.text_option = "&Text";
    t.csv_option = "&CSV";
    t.open_after_box = "O&pen it";
    t.state_column_box = "Stat&e column";
    t.report_button = "&Save...";
    t.close_button = "Close";
    t.report_help_topic = "report";
    t.save_report_title = "Save the report as";
    t.report_work_file_name = "Quillet-report.tmp";
    t.spreadsheet_programs = {{"localc"}, {"libreoffice", "--calc"}, {"gnumeric"}};
    t.options_title = "Options";
    t.option_boxes = {"Amounts &right", "No &tool tips",  "Hide tool &bar", "Hide &status bar",
                      "Exit: &compact", "Exit: back &up", "Desktop &entry"};
    t.font_button = "&Font";
    t.background_button = "Bac&kground";
    t.highlight_button = "&Highlight";
    t.order_frame = "Top row";
    t.oldest_first = "O&ldest";
    t.options_ok = "&OK";
    t.options_cancel = "C&ancel";
    t.newest_first = "&Newest";
    t.options_help_topic = "options";
    t.about_title = "About Quillet";
    t.name_and_version = "Quillet " QUILLET_VERSION;
    t.second_about_line = "Your check register";
    // The program has no web site: the link opens the user's guide, as F1 does.
    t.about_link = "The user's guide";
    t.about_help_topic = "about";
    // A reminder line: "2026/12/08 Pay the rent" and LF. The lookup mask gives its first 11
    // characters: the day and the one space of the separator.
    t.reminder_separator = " ";
    t.reminder_line_end = "\n";
    t.reminder_lookup_mask = "%yyyy/%mm/%dd ";
    t.reminder_prefix = "Today: ";
    t.reminder_unreadable = "The reminder file cannot be read.";
    t.reminder_title = "Reminder";
    t.add_reminder_button = "&Add";
    t.reminder_added = "Reminder added for ";
    t.reminder_help_topic = "reminder";
    t.picture_extension = ".png";
    t.picture_filter = "PNG pictures|*.png";
    t.save_picture_title = "Save a picture of the window";
}

void prepare_files(TextTable& t) {
    t.example_register_name = "Example.qlt";
    t.opening_amount_caption = "Start balance";
    t.sample_texts = {{{"Deposit", "1001", "Myself", t.opening_amount_caption},
                       {"Check", "1002", "Groceries", "Food"},
                       {"Debit Card", "1003", "Electric Bill", "Monthly Bill"}}};
    t.opening_texts = {"Deposit", "0", "Myself"};
    t.backup_infix = "Quillet backups/";
    t.shortcut_path = ".local/share/applications/quillet.desktop";
    t.package_entry_name = "org.quillet.quillet.desktop";
    t.launcher_path_refused =
        "The program's folder name holds a line break, a control character or a per cent sign, which "
        "a desktop entry cannot carry.";
    t.shortcut_description = "Keep your cash and check register";
    t.shortcut_icon_folder = ".local/share/icons/hicolor/";
    t.shortcut_icon_name = "quillet";
}

void prepare_import(TextTable& t) {
    t.import_requester_title = "Choose the statement to import";
    t.statement_pattern =
        "Bank statements|*.csv;*.qif;*.ofx;*.qfx;*.xml|CSV files|*.csv|QIF files|*.qif|OFX and QFX "
        "files|*.ofx;*.qfx|"
        "CAMT.053 statements|*.xml|All files|*";
    t.import_title = "Import a bank statement";
    t.statement_caption = "Statement:";
    t.account_caption = "&Which account";
    t.other_currency = "This statement is in ";
    t.earlier_currency = "; the statements imported into this register before were in ";
    t.columns_frame = "Columns of the file";
    t.column_captions = {"&Date",   "&Payee", "&Memo",   "&Number",
                         "&Amount", "De&bit", "&Credit", "D&ebit/credit"};
    t.skip_top_caption = "Skip at &top";
    t.skip_bottom_caption = "Skip at bott&om";
    t.header_box = "&Header line";
    t.date_order_caption = "Dates &read as";
    t.mark_caption = "Amounts read a&s";
    t.no_column = "(none)";
    t.column_prefix = "Column ";
    t.choose_one = "(choose one)";
    t.none_fits = "(no value fits)";
    for (const DateOrder order :
         {DateOrder::kDayMonthYear, DateOrder::kMonthDayYear, DateOrder::kYearMonthDay})
        t.date_order_names[static_cast<std::size_t>(order)] = date_order_text(order);
    t.mark_names = {"1,234.56 (decimal point)", "1.234,56 (decimal comma)"};
    t.separator_caption = "Fields split b&y";
    t.separator_names = {"Comma ,", "Semicolon ;", "Tab", "Pipe |"};
    t.plain_caption = "Without si&gn";
    t.plain_names = {"Money in", "Money out"};
    t.preview_titles = {"Date", "Number", "Payee", "Memo", "Kind", "Amount", "Duplicate", "Category"};
    t.skipped_titles = {"Line", "Why it was skipped", "What it says"};
    t.kind_names = {"Deposit", "Withdrawal"};
    t.imported_on = "imported on ";
    for (std::size_t reason = 0; reason < kSkipReasonCount; ++reason)
        t.skip_reasons[reason] = skip_reason_text(static_cast<SkipReason>(reason));
    t.found_count = "Found ";
    t.new_count = " new, ";
    t.duplicate_count = " duplicates, ";
    t.duplicate_one = " duplicate, ";
    t.cleaned_count = " Control characters were taken out of the texts of ";
    t.cleaned_count_end = " of them.";
    t.refused_count = " refused or skipped. ";
    t.ticked_count = " ticked to import.";
    t.conventions_wanted =
        "Choose how the file's values are read: its dates or amounts fit more than one way, or its amounts "
        "have no sign and no column says debit or credit.";
    t.tick_all_button = "Tick a&ll";
    t.untick_all_button = "&Untick all";
    t.mark_cleared_box = "Mar&k them cleared at the bank";
    t.import_button = "&Import";
    t.import_help_topic = "import";
    t.profiles_file_name = "Import profiles.ini";
    t.statement_causes = {
        {EILSEQ, "It is not a text file."},
        {ENODATA, "It holds no transactions."},
        {EBADMSG, "It is not well-formed: its OFX or XML could not be read."},
        {ENOTSUP,
         "It is an investment account's statement: its trades and holdings are no register's transactions. "
         "Bank, cash and card statements are read."},
        {ENOMSG, "It holds no statement: only the bank's sign-on, or nothing at all."},
        {EREMOTEIO, "It holds an error from the bank's server instead of a statement: download it again."},
        {ENOEXEC,
         "It is not a statement this import reads, or not the kind its name says: CSV files, QIF bank, cash "
         "and "
         "credit card statements, OFX and QFX files and CAMT.053 statements are read."},
    };
    t.store_causes = {
        {EBADMSG, "It is damaged, or it is not an import history of this program."},
        {EPROTO, "A newer version of Quillet wrote it."},
        {EWOULDBLOCK, "Another program is using it; try again in a moment."},
        {ENOLINK, "It is a link to a file that is not there now: is the disk it is on mounted?"},
    };
}

void prepare_reconcile(TextTable& t) {
    t.cleared = "C&leared\tCtrl+L";
    t.popup_cleared = "Cleared at the bank";
    t.reconcile = "Reco&ncile...\tCtrl+R";
    t.cleared_balance_label = "Cleared balance: ";
    t.reconcile_title = "Reconcile with the bank statement";
    t.statement_date_caption = "Statement &date";
    t.ending_balance_caption = "&Ending balance";
    t.opening_balance_label = "Opening balance: ";
    t.opening_stated_before = "The opening balance is the one ";
    t.opening_stated_after = " states; what is dated before ";
    t.opening_stated_end = " is in it.";
    t.opening_before_before = "The opening balance is the register's balance before ";
    t.opening_before_after = ", the first day of ";
    t.opening_before_end = ".";
    t.difference_label = "Difference: ";
    t.statement_changed_before = "A transaction of the statement of ";
    t.statement_changed_after = " was changed after it was finished.";
    t.reconcile_titles = {"Date", "Number", "Payee", "Memo", "Deposit", "Payment"};
    t.ticked_of = " of ";
    t.ticked_label = " ticked: ";
    t.deposits_count = "deposits ";
    t.payments_count = "payments ";
    t.finish_button = "&Finish";
    t.later_button = "La&ter";
    t.adjust_button = "&Adjust...";
    t.reconcile_help_topic = "reconcile";
    t.clue_texts = {"Its amount is the difference: ", "Half the difference (entered as the wrong kind?): ",
                    "Two digits swapped?: "};
    t.no_clue = "No single transaction explains it.";
    t.clue_more = " and more";
    t.adjustment_type = "Adjustment";
    t.adjustment_payee = "Reconcile adjustment";
    t.adjustment_memo = "Statement of ";
    t.ending_balance_wrong = "The ending balance is not an amount to the cent: ";
    t.ending_balance_wanted = "Type the ending balance the statement shows.";
    t.statement_date_wrong = "The statement's day is before that of the last statement reconciled: ";
    t.reconciled_stays =
        " holds this transaction, reconciled. It stays reconciled; edit the transaction to change it.";
}

void prepare_chart(TextTable& t) {
    t.chart = "C&hart\tCtrl+G";
    t.chart_title = "Balance chart";
    t.range_caption = "&Show";
    t.chart_ranges = {"All transactions", "The last 12 months", "This year"};
    t.balance_series = "Balance at the end of the day";
    t.deposits_series = "Deposits";
    t.withdrawals_series = "Payments";
    t.save_picture_button = "Save &picture...";
    t.chart_picture_suffix = " chart";
    t.chart_help_topic = "chart";
    t.no_transactions = "No transactions in this range.";
}

void prepare_messages(TextTable& t) {
    t.messages = {
        "Open or create a register with at least one transaction first.",
        "Select a transaction in the list first.",
        "Type, number, payee, memo and amount must all be filled in.",
        "Delete this transaction?",
        "This file already exists. Replace it?",
        "Give the register a file name and an opening amount.",
        "Compact the register now? Deleted transactions are removed from the file for good, and the "
        "changes made so far can no longer be undone.",
        "",
        "The register holds no deleted transactions: there was nothing to remove.",
        "This file cannot be opened as a register: it is read-only, cannot be read, or does not exist.",
        "This file cannot be opened as a register: it does not exist, cannot be read, or its size is not a "
        "whole number of transactions.",
        "This is the register's last transaction. Deleting it deletes the whole register file. Go on?",
        "The register could not be compacted. It is unchanged.",
        "The reminder file cannot be written. Nothing was added.",
        "The register file could not be changed. Nothing was changed.",
        "Type the reminder's text first.",
        "This transaction could not be read from the register file.",
        "The report could not be saved there. Nothing was saved.",
        "The report could not be made.",
        "The picture could not be saved there. Nothing was saved.",
        "The reminder file cannot be read, so nothing was added to it.",
        "Some transactions in this register carry numbers that do not match their places in the file "
        "(another program may have written it). Quillet goes by their places; compacting the register "
        "numbers them again.",
        "The register could not be backed up there.",
        "Another program changed this register meanwhile, so nothing was written. The list now shows the "
        "register as it is.",
        "Another program changed this register since Quillet last wrote to it, so that change cannot be "
        "undone or redone: nothing was written.",
        "Quillet's settings file could not be written, so the options and pick lists of this session "
        "will not be kept.",
        "The desktop entry could not be written there.",
        "Quillet found no program to open this file with, or the program did not start. You can open "
        "the file by hand.",
        "The import history kept beside this register cannot be used. The register works as before, but "
        "until the history is mended or moved away, imports cannot tell what was imported before and "
        "cannot be made.",
        "This statement could not be read. Nothing was imported.",
        "This statement was imported before as a whole. Its transactions are listed unticked; tick any you "
        "want to import again.",
        "The import could not be made. The register and its import history are as they were.",
        "Its amounts are listed and imported as they are: Quillet converts no currency.",
        "This transaction was reconciled with the bank's statement. Change it all the same? The statement "
        "is then shown as changed when you next reconcile.",
        "The statement cannot be finished as it stands.",
        "Another program changed this register while the reconcile window was open. The window shows the "
        "register as it now is, with your ticks kept; check the difference before you finish.",
        "Nothing was finished: the register and its marks are as they were.",
        "The difference is booked as a transaction of its own, which you can see and delete in the list "
        "like any other. Book it?",
        "The schedule cannot be kept as it stands.",
        "Nothing was entered or skipped: the register and its schedules are as they were.",
        "The schedules kept beside this register cannot be read. The register works as before.",
        "A schedule entered this transaction. Skip that occurrence, so that it does not fall due again? "
        "No makes it due again.",
        "Delete this schedule? What it entered stays in the register.",
        "There is no category of this name yet. Add it?",
        "",
        "The amount changed, and the split's parts no longer add up to it. Yes gives the difference to its "
        "first part; No opens the split to place it.",
        "Transactions use this category. Yes leaves them without one; No keeps it (type the category they go "
        "to in Name, then press Delete).",
    };
    t.message_separator = "\n\n";
    t.causes = {
        {ENOSPC, "The disk is full."},
        {EDQUOT, "Your disk quota is used up."},
        {EACCES, "Permission denied."},
        {EPERM, "Permission denied."},
        {EROFS, "It is on a read-only file system."},
        {ENOENT, "The file or its folder does not exist."},
        {ENOTDIR, "A part of the path is not a folder."},
        {EISDIR, "It is a folder, not a file."},
        {EFBIG, "The file has grown larger than is allowed."},
        {EIO, "The disk could not be read or written."},
        {ENAMETOOLONG, "The name is too long."},
        {ENXIO, "It is not a file (a pipe, a device or a socket)."},
        {EINVAL, "The file's size is not what it should be: it may have been changed by another program."},
        {ESPIPE, "The transaction is no longer in the file: it may have been changed by another program."},
        {ESTALE, "Another program changed it meanwhile."},
        {EWOULDBLOCK, "Another program is writing to it; try again in a moment."},
    };
    t.other_cause = "The system says: ";
    t.before_cause = "\n";
    t.missing_file = "It does not exist.";
    t.folder_not_file = "It is a folder, not a file.";
    t.not_a_file = "It is not a file (a pipe, a device or a socket).";
    t.read_only_file = "It is read-only.";
    t.wrong_length_file = "Its size is not a whole number of transactions.";
    t.kept_after_count = " transactions kept, ";
    t.removed_after_percent = " percent of the register removed.";
}

}  // namespace

void prepare_texts() {
    TextTable& t = table();
    t.program_title = "Quillet";
    t.title_prefix = "Quillet - ";
    t.instance_name = "Quillet-single-instance";
    t.settings_file_name = "Quillet.ini";
    t.reminder_file_name = "Quillet-reminders.txt";
    t.help_file_name = "quillet.html";
    t.help_main_topic = "contents";
    t.help_second_topic = "register-list";
    t.list_font_face = "DejaVu Sans";
    t.tool_program_path = "/usr/bin/xcalc";
    prepare_menus(t);
    prepare_register_view(t);
    prepare_dialogs(t);
    prepare_files(t);
    prepare_messages(t);
    prepare_import(t);
    prepare_reconcile(t);
    prepare_chart(t);
    prepare_schedule_texts(t.schedules);
    prepare_category_texts(t.categories);
    prepare_filter_texts(t.filter);
}

const TextTable& texts() { return table(); }

std::string figure_text(const Figure& figure) {
    return figure.out_of_range ? texts().out_of_range : cents_text(figure.cents);
}

}  // namespace quillet
