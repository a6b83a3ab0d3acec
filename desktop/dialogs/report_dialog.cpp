#include "desktop/dialogs/report_dialog.h"

#include <algorithm>

#include "core/runtime/dates.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/app_state.h"
#include "desktop/program/texts.h"
#include "desktop/views/report_export.h"
#include "ui/events.h"
#include "ui/gadgets.h"

namespace quillet {

using namespace report_ids;

namespace {

// The dates can be changed only for a range of dates; they keep their values meanwhile.
void update_dates() {
    const int disabled = ui::get_state(kDates) == 1 ? 0 : 1;
    ui::disable_gadget(kFirstDate, disabled);
    ui::disable_gadget(kLastDate, disabled);
}

// The first option of first..last that is set, or 0.
int set_option(int first, int last) {
    for (int option = first; option <= last; ++option) {
        if (ui::get_state(option) == 1) return option;
    }
    return 0;
}

// The State column is the transactions' CSV's; the spending report has none.
void show_state_column() {
    ui::disable_gadget(kStateColumn, ui::get_state(kCsv) == 1 && ui::get_state(kByCategory) == 0 ? 0 : 1);
}

void make_report() {
    const DateValue one = parse_date(kDisplayDateMask, ui::get_text(kFirstDate));
    const DateValue other = parse_date(kDisplayDateMask, ui::get_text(kLastDate));
    const int format = set_option(kHtml, kCsv);
    const int range = set_option(kAll, kDates);
    if (format == 0 || range == 0) return;
    export_report(static_cast<ReportFormat>(format - kHtml), static_cast<ReportRange>(range - kAll),
                  std::min(one, other), std::max(one, other), ui::get_state(kOpenAfter) == 1,
                  format == kCsv && ui::get_state(kStateColumn) == 1, ui::get_state(kByCategory) == 1,
                  ui::get_state(kOnlyFiltered) == 1, kWindow);
}

void create_gadgets() {
    const TextTable& t = texts();
    const DateValue today = current_date();
    ui::create_frame(kRangeFrame, 16, 16, 150, 186, t.range_frame);
    ui::create_option(kAll, 32, 38, 80, 16, t.all_option);
    ui::create_option(kThisMonth, 32, 62, 80, 16, t.month_option);
    ui::create_option(kDates, 32, 86, 80, 16, t.dates_option);
    ui::create_text(kFirstCaption, 32, 121, 26, 16, t.first_date_caption);
    ui::create_text(kLastCaption, 32, 163, 26, 16, t.last_date_caption);
    ui::create_date(kFirstDate, 68, 116, 82, 26, std::string(kDisplayDateMask), today);
    ui::create_date(kLastDate, 68, 158, 82, 26, std::string(kDisplayDateMask), today);
    ui::set_label_target(kFirstCaption, kFirstDate);
    ui::set_label_target(kLastCaption, kLastDate);
    ui::create_frame(kFormatFrame, 182, 16, 80, 98, t.format_frame);
    ui::create_option(kHtml, 196, 38, 46, 16, t.html_option);
    ui::create_option(kText, 196, 62, 46, 16, t.text_option);
    ui::create_option(kCsv, 196, 86, 46, 16, t.csv_option);
    ui::create_check_box(kOpenAfter, 182, 148, 80, 16, t.open_after_box);
    ui::create_button(kOk, 86, 218, 80, 28, t.report_button);
    ui::create_button(kCancel, 182, 218, 80, 28, t.close_button);
    // Below the dialog's first gadgets, which keep their places (a click where one always was still
    // meets it). Only a CSV file takes the states as a column; the page and the listing show them
    // anyway.
    ui::create_check_box(kStateColumn, 16, 262, 246, 16, t.state_column_box);
    ui::create_check_box(kByCategory, 16, 286, 246, 16, t.categories.by_category_option);
    // The list's filter, while one is on: the report takes only the rows it shows.
    ui::create_check_box(kOnlyFiltered, 16, 310, 246, 16, t.filter.only_filtered_box);
    ui::disable_gadget(kOnlyFiltered, app().shown_rows.on() ? 0 : 1);
}

}  // namespace

void open_report_dialog() {
    open_dialog(kWindow, kWidth, kHeight, texts().report_title);
    create_gadgets();
    ui::set_state(kAll, 1);
    ui::set_state(kHtml, 1);
    ui::set_state(kOpenAfter, 1);
    update_dates();
    show_state_column();
    install_dialog_shortcuts(kWindow, kAll, kCancel, kHelp);
}

void handle_report_dialog(int kind) {
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kAll:
            case kThisMonth:
            case kDates: update_dates(); break;
            case kHtml:
            case kText:
            case kCsv:
            case kByCategory: show_state_column(); break;
            case kOk: make_report(); break;
            case kCancel: close_dialog(kWindow); break;
            default: break;
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    const int focused = ui::get_focus();
    switch (ui::event_menu()) {
        case kDialogNextOption:
            // Ctrl+Tab moves through the group that has the focus, and nowhere else.
            if (focused >= kAll && focused <= kDates) {
                cycle_options(kAll, kDates);
                update_dates();
            } else if (focused >= kHtml && focused <= kCsv) {
                cycle_options(kHtml, kCsv);
                show_state_column();
            }
            break;
        case kCancel: close_dialog(kWindow); break;
        case kHelp: open_help_topic(texts().report_help_topic); break;
        default: click_focused_gadget(); break;
    }
}

}  // namespace quillet
