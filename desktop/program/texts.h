// The program's own fixed texts, in one table prepared once at start-up and read-only afterwards.
// Texts are Windows-1252 bytes like every text of the program. A caption's "&" marks its access
// key; a tab separates a menu caption from the shortcut shown beside it.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/import/statement.h"
#include "core/list/running_balance.h"
#include "desktop/program/category_texts.h"
#include "desktop/program/filter_texts.h"
#include "desktop/program/schedule_texts.h"

namespace quillet {

struct TextTable {
    std::string program_title;       // title bar and message box caption
    std::string title_prefix;        // before the open register's name in the title bar
    std::string instance_name;       // names the lock that keeps a second copy from running
    std::string settings_file_name;  // in the program folder
    std::string reminder_file_name;  // in the program folder
    std::string help_file_name;      // in the program folder
    std::string help_main_topic;
    std::string help_second_topic;
    std::string list_font_face;     // the list font before the settings say otherwise
    std::string tool_program_path;  // the tool program before the settings say otherwise

    // Menu bar.
    std::string file_menu, new_register, open_register, save_register_as, compact_register, import, report,
        exit;
    std::string transaction_menu, add_transaction, edit_transaction, delete_transaction, find, order_menu,
        file_order, reverse_order;
    // Undo and redo: "<undo_prefix><change name><change_of><payee> <amount><undo_keys>".
    std::string undo_prefix, redo_prefix, change_of, undo_keys, redo_keys, nothing_to_undo, nothing_to_redo;
    // add, edit, void, un-void, delete, delete (the last row), import, reconcile
    std::array<std::string, 11> change_names;
    std::string statement_of;    // a reconcile's step name, before the statement's day
    std::string imported_count;  // an import's step name, after the count of transactions
    // After nothing_to_undo: none, opened, created, compacted, changed elsewhere.
    std::array<std::string, 5> history_ended;
    std::string tools_menu, window_picture, reminder, tool_program, options;
    std::string help_menu, help, about;
    // The register list's pop-up menu has captions of its own.
    std::string popup_add, popup_edit, popup_delete, popup_find, popup_order, popup_file_order,
        popup_reverse_order;
    // Tool bar tips, in button order: new, open, add, edit, delete, find, order, tool, options, help.
    std::array<std::string, 10> tool_tips;

    std::array<std::string, 9> column_titles;
    std::string void_mark;    // column 7 of a void transaction; the caption of the dialog's void box
    std::string idle_status;  // status field 1 before a register is shown
    std::string rows_label, balance_label, deposits_label, withdrawals_label, average_label,
        average_balance_label;
    std::array<std::string, 12> month_names;
    std::string after_month_name;
    std::string out_of_range;  // a balance or sum too large to show as a number

    // The transaction dialog.
    std::string new_transaction_title, edit_transaction_title;
    std::array<std::string, 5> transaction_captions;  // date, type, number, payee, description
    std::string deposit_option, withdrawal_option, second_date_box, ok_button, cancel_button;
    std::string void_box;                            // the transaction dialog's void box, with its access key
    std::string options_ok, options_cancel;          // the options dialog's buttons, with access keys
    std::string transaction_ok, transaction_cancel;  // with access keys of their own
    std::array<std::string, 4> number_pads;          // before numbers below 10, 100, 1000 and 10000
    std::string transaction_help_topic;
    // The new register dialog and the register file requesters.
    std::string new_register_title, browse_button, create_button, new_register_help_topic;
    std::string default_register_name;
    std::string open_requester_title, create_requester_title, save_as_requester_title;
    std::string register_pattern;  // "description|pattern|..."
    // The find dialog.
    std::string find_title, inverse_box, find_button, find_help_topic;
    // The report dialog and the saving of a report.
    std::string report_title, range_frame, all_option, month_option, dates_option, first_date_caption,
        last_date_caption, format_frame, html_option, text_option, csv_option, open_after_box,
        state_column_box, report_button, close_button, report_help_topic, save_report_title,
        report_work_file_name;
    // The options dialog.
    std::string options_title;
    std::array<std::string, 7> option_boxes;  // in the order of the options' fields
    std::string font_button, background_button, highlight_button, order_frame, oldest_first, newest_first,
        options_help_topic;
    // The about window.
    std::string about_title, name_and_version, second_about_line, about_link, about_help_topic;
    // The reminder file's texts, and the reminder dialog.
    std::string reminder_separator, reminder_line_end, reminder_lookup_mask, reminder_prefix,
        reminder_unreadable;
    std::string reminder_title, add_reminder_button, reminder_added, reminder_help_topic;
    // The import: its file requester, its dialog, the names of its choices and verdicts.
    std::string import_requester_title, statement_pattern, import_title, statement_caption, columns_frame;
    std::string account_caption;
    // "This statement is in EUR; the statements imported into this register before were in USD."
    std::string other_currency, earlier_currency;
    std::array<std::string, 8>
        column_captions;  // date, payee, memo, number, amount, debit, credit, indicator
    std::string skip_top_caption, skip_bottom_caption, header_box, date_order_caption, mark_caption,
        no_column, column_prefix, choose_one, none_fits;
    std::array<std::string, 3> date_order_names;  // day/month/year, month/day/year, year/month/day
    std::array<std::string, 2> mark_names;        // decimal point, decimal comma
    // The separator's choice (comma, semicolon, tab, pipe), and what amounts without a sign are.
    std::string separator_caption, plain_caption;
    std::array<std::string, 4> separator_names;
    std::array<std::string, 2> plain_names;  // money in, money out
    std::array<std::string, 8>
        preview_titles;  // date, number, payee, memo, kind, amount, duplicate, category
    std::array<std::string, 3> skipped_titles;  // line, why, what it says
    std::array<std::string, 2> kind_names;      // deposit, withdrawal
    // "imported on <date>": a file imported before as a whole (a line's verdict is the core's).
    std::string imported_on;
    std::array<std::string, kSkipReasonCount> skip_reasons;  // in the order of SkipReason (skip_reason_text)
    // "Found 12: 10 new, 2 duplicates, 1 refused or skipped. 10 ticked to import."
    std::string found_count, new_count, duplicate_count, duplicate_one, refused_count, ticked_count;
    // " Control characters were taken out of 3 lines' texts."
    std::string cleaned_count, cleaned_count_end;
    std::string conventions_wanted;  // while the file's date order or decimal mark is not chosen
    std::string tick_all_button, untick_all_button, mark_cleared_box, import_button, import_help_topic;
    std::string profiles_file_name;
    // Why a statement cannot be read, by errno, before the general causes.
    std::vector<std::pair<int, std::string>> statement_causes;
    std::vector<std::pair<int, std::string>> store_causes;
    // Reconciling: the commands, the balance field's note, and the reconcile window.
    std::string cleared, popup_cleared, reconcile, cleared_balance_label;
    std::string reconcile_title, statement_date_caption, ending_balance_caption, opening_balance_label,
        difference_label, statement_changed_before, statement_changed_after;
    // "The opening balance is the one <file> states; what is dated before <day> is in it." and
    // "The opening balance is the register's balance before <day>, the first day of <file>."
    std::string opening_stated_before, opening_stated_after, opening_stated_end, opening_before_before,
        opening_before_after, opening_before_end;
    std::array<std::string, 6> reconcile_titles;  // date, number, payee, memo, deposit, payment
    // "3 of 12 ticked: 2 deposits 1,250.00, 1 payment 48.50"
    std::string ticked_of, ticked_label, deposits_count, payments_count;
    std::string finish_button, later_button, adjust_button, reconcile_help_topic;
    // The difference finder's clues, each followed by the transactions it names.
    std::array<std::string, 3> clue_texts;  // the difference, half of it, two digits swapped
    std::string no_clue, clue_more;
    std::string adjustment_type, adjustment_payee, adjustment_memo;
    std::string ending_balance_wrong, ending_balance_wanted, statement_date_wrong, reconciled_stays;
    // The balance chart.
    std::string chart, chart_title, range_caption, balance_series, deposits_series, withdrawals_series,
        save_picture_button, chart_picture_suffix, chart_help_topic, no_transactions;
    std::array<std::string, 3> chart_ranges;  // all, the last 12 months, this year
    ScheduleTexts schedules;
    CategoryTexts categories;
    FilterTexts filter;
    // The window picture.
    std::string picture_extension, picture_filter, save_picture_title;
    // The programs a saved CSV report is opened with, the first found on PATH: each an argument
    // vector that the file's path ends.
    std::vector<std::vector<std::string>> spreadsheet_programs;

    // Files beside the program and the register's exit copy.
    std::string example_register_name;
    std::array<std::array<std::string, 4>, 3> sample_texts;  // type, number, payee, description
    std::array<std::string, 3> opening_texts;                // type, number, payee of a new register
    std::string opening_amount_caption;  // the new register dialog's label; the opening record's description
    std::string backup_infix;            // a folder beside the register, ending in "/"
    std::string shortcut_path;
    std::string package_entry_name;     // the package's own desktop entry, in share/applications/
    std::string launcher_path_refused;  // why no desktop entry can be written for the program's path // below
                                        // the home folder
    std::string shortcut_description;
    std::string shortcut_icon_folder;  // below the home folder: the user's icon theme, ending in "/"
    std::string shortcut_icon_name;    // the launcher's icon, a file name without extension

    // Numbered messages; message 7 is empty on purpose (its caller supplies the whole text).
    std::array<std::string, 47> messages;
    std::string message_separator;  // between a message's extra text and its own text
    // Why a file operation failed, by errno; other errors get other_cause and the system's words.
    std::vector<std::pair<int, std::string>> causes;
    std::string other_cause;
    std::string before_cause;  // between a path and why it failed
    // Why a file is refused as a register.
    std::string missing_file, folder_not_file, not_a_file, read_only_file, wrong_length_file;
    std::string kept_after_count;  // message 7 after compaction: count, this, percentage, next
    std::string removed_after_percent;
};

// Fills the table; called once by start-up before any text is used.
void prepare_texts();
const TextTable& texts();

// A figure's amount text, or the out-of-range text for one too large to hold.
std::string figure_text(const Figure& figure);

}  // namespace quillet
