// The one program-wide state record: it lives from start-up to exit and the parts of the program
// read and write it directly (there is one thread).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/category/category_rules.h"
#include "core/chart/chart_figures.h"
#include "core/filter/shown_rows.h"
#include "core/import/import_draft.h"
#include "core/reconcile/reconcile_sheet.h"
#include "core/schedule/due_sheet.h"
#include "core/session/register_session.h"
#include "core/settings/options.h"
#include "core/settings/pick_lists.h"
#include "core/settings/settings_file.h"

namespace quillet {

// The reconcile window's work: the statement's transactions with their ticks.
struct ReconcileDraft {
    ReconcileSheet sheet;
    OpeningBalance opening;  // where the statement's opening balance comes from
    bool ending_valid = true;
    bool clues_asked = false;  // the difference finder runs once the ticks come to rest
};

// The schedules window's list: the store's schedules and what became of their occurrences.
struct ScheduleBook {
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
};

// The schedule editor's work: the schedule as it was (none for a new one), what became of its
// occurrences, and the window it returns to.
struct ScheduleEditing {
    std::optional<Schedule> before;
    int parent = 0;
};

// The pick lists in the order of their settings sections.
enum PickListId { kTypeList, kPayeeList, kDescriptionList, kMaskList, kReminderList, kPickListCount };
static_assert(kPickListCount == kSettingsListCount);

struct AppState {
    int current_row = -1;
    int dialog_mode = 0;
    int list_order = 0;  // live order: 0 file order, 1 reverse
    int running = 1;
    bool reading_again = false;     // the list found a record changed elsewhere: it is read again soon
    bool store_read_asked = false;  // the list was painted: the companion store is read soon
    Options options;
    int editor_process = 0;      // the kept editor of the reminder file, 0 for none
    std::string program_folder;  // ends in "/"
    std::string reminder_path;
    std::string settings_path;
    // The desktop entry of the package the program runs from, or empty: then the program writes no
    // desktop entry of its own, for the menu has one already.
    std::string package_entry;
    // The open register (its path is empty while none is open): every change goes through it.
    RegisterSession session;
    std::array<PickList, kPickListCount> pick_lists;
    std::optional<ImportDraft> import_draft;        // while the import dialog is open
    bool import_currency_told = false;              // its currency, other than the imports' before, was said
    std::string import_folder;                      // where the last statement was imported from
    std::string picture_folder;                     // where the last window picture was saved
    std::optional<ReconcileDraft> reconcile_draft;  // while the reconcile window is open
    std::vector<ChartEntry> chart_entries;          // the register's, while the chart is open
    ScheduleBook chart_schedules;                   // the register's schedules, while the chart is open
    std::string store_told;                         // the register whose unusable store was last said
    std::optional<ScheduleBook> schedule_book;      // while the schedules window is open
    std::optional<ScheduleEditing> schedule_editing;  // while the schedule editor is open
    std::optional<DueSheet> due_sheet;                // while the due window is open
    int due_row_shown = -1;                           // the row whose day and amount its fields show
    DateValue due_checked = kNoDate;                  // the day what fell due was last looked for
    std::string due_register;                         // the register it was looked for in
    std::size_t due_waiting = 0;                      // occurrences due and neither entered nor skipped
    // The transaction dialog's split (none: a category or none), and the category it proposed.
    std::optional<CategoryLines> category_split;
    std::string category_proposed;
    std::optional<CategoryLists> category_lists;  // with the categories the split added, until OK
    std::optional<CategoryRules> import_rules;    // the payee rules, while the import dialog is open
    // The filter bar: shown or not, the terms that made the rows shown, and those rows (every row
    // while the filter is off).
    bool filter_bar_shown = false;
    FilterTerms filter_terms;
    ShownRows shown_rows;
    bool filter_figures_shown = false;
    std::vector<std::int64_t> filter_category_ids;  // the bar's categories, as its list shows them
    std::vector<std::pair<std::string, std::string>> saved_filters;  // by name, each its terms' line
    int saved_filter_shown = -1;                                     // the one last chosen  // the
                                  // status bar's last field holds the filter's figures
};

AppState& app();
// The open register; every change to it goes through here.
RegisterSession& register_session();

// Gives the state its start-up values for a program living in the folder (ending in "/").
void reset_app_state(const std::string& program_folder);

}  // namespace quillet
