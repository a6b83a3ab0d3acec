#include "desktop/views/filter_bar.h"

#include <string>
#include <vector>

#include "core/category/category_edits.h"
#include "core/filter/filter_fields.h"
#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"
#include "core/session/save_filter.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "desktop/program/undo_captions.h"
#include "desktop/views/list_filter.h"
#include "desktop/views/register_view.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids::filter_bar;
using main_ids::kMainWindow;

namespace {

// Typing that rests this long refilters: short enough that the rows follow within a tenth of a
// second of the last key, with the refilter's own time.
constexpr int kRestMs = 20;

void label(int number, int x, int y, int width, const std::string& caption, int target) {
    ui::create_text(number, x, y + 4, width, 18, caption);
    ui::set_label_target(number, target);
}

void fill_combo(int number, const auto& items) {
    for (const std::string& item : items) ui::add_item(number, -1, item);
    ui::set_state(number, 0);
}

// The categories in their listed order after "Any", with the ids in the same order.
void fill_categories() {
    AppState& state = app();
    ui::clear_items(kCategory);
    ui::add_item(kCategory, -1, texts().filter.any_category);
    state.filter_category_ids = {0};
    RegisterSession& session = register_session();
    if (session.is_open() && session.store_state() != StoreState::kUnusable) {
        const CategoryLists& lists = session.categories().lists();
        for (const std::int64_t id : listed_order(lists)) {
            ui::add_item(kCategory, -1, category_full_name(lists, id));
            state.filter_category_ids.push_back(id);
        }
    }
    const auto& ids = state.filter_category_ids;
    const auto at = std::find(ids.begin(), ids.end(), state.filter_terms.category);
    ui::set_state(kCategory, at != ids.end() ? static_cast<int>(at - ids.begin()) : 0);
}

// The filters saved with the register, by name; the name typed or chosen stays.
void fill_saved() {
    AppState& state = app();
    const std::string typed = ui::get_text(kSaved);
    ui::clear_items(kSaved);
    state.saved_filters.clear();
    RegisterSession& session = register_session();
    if (session.is_open()) (void)session.look_up_saved_filters(state.saved_filters);
    for (const auto& [name, line] : state.saved_filters) ui::add_item(kSaved, -1, name);
    state.saved_filter_shown = -1;
    ui::set_state(kSaved, -1);
    ui::set_text(kSaved, typed);
}

void create_bar() {
    const FilterTexts& t = texts().filter;
    const int before = ui::use_gadget_list(kMainWindow);
    ui::create_container(kContainer, 0, 0, 10, kHeight);
    constexpr int kRow1 = 6;
    constexpr int kRow2 = 36;
    ui::create_string(kText, 50, kRow1, 220, 24, "");
    label(kTextLabel, 8, kRow1, 40, t.text_caption, kText);
    ui::create_combo(kWhen, 324, kRow1, 170, 24);
    label(kWhenLabel, 280, kRow1, 42, t.when_caption, kWhen);
    fill_combo(kWhen, t.periods);
    ui::create_string(kFrom, 500, kRow1, 90, 24, "");
    ui::create_string(kTo, 626, kRow1, 90, 24, "");
    label(kAndLabel, 596, kRow1, 28, t.and_caption, kTo);
    ui::create_combo(kKind, 762, kRow1, 110, 24);
    label(kKindLabel, 726, kRow1, 34, t.kind_caption, kKind);
    fill_combo(kKind, t.kinds);

    ui::create_string(kLeast, 62, kRow2, 76, 24, "");
    label(kLeastLabel, 8, kRow2, 52, t.least_caption, kLeast);
    ui::create_string(kMost, 182, kRow2, 76, 24, "");
    label(kMostLabel, 144, kRow2, 36, t.most_caption, kMost);
    ui::create_combo(kState, 308, kRow2, 120, 24);
    label(kStateLabel, 268, kRow2, 38, t.state_caption, kState);
    fill_combo(kState, t.states);
    ui::create_combo(kCategory, 500, kRow2, 140, 24);
    label(kCategoryLabel, 438, kRow2, 60, t.category_caption, kCategory);
    fill_categories();
    ui::create_combo(kSaved, 694, kRow2, 110, 24, ui::kComboEditable);
    label(kSavedLabel, 650, kRow2, 42, t.saved_caption, kSaved);
    ui::create_button(kSave, 810, kRow2 - 1, 54, 26, t.save_button);
    ui::create_button(kForget, 868, kRow2 - 1, 52, 26, t.forget_button);
    ui::close_gadget_list();
    fill_saved();
    ui::use_gadget_list(before);
    for (const int field : {kText, kWhen, kFrom, kTo, kKind, kLeast, kMost, kState, kCategory, kSaved})
        ui::keep_editing_keys(field);
    ui::set_tool_tip(kContainer, t.bar_tip);
    ui::set_tool_tip(kText, t.bar_tip);
}

void free_bar() {
    for (int number = kSave; number <= kSaved; ++number) {
        if (number != kContainer) ui::free_gadget(number);
    }
    ui::free_gadget(kContainer);
}

// The terms the bar's fields give, each wrong field framed and named in the bar's tool tip.
FilterTerms terms_of_bar() {
    const FilterTexts& t = texts().filter;
    FilterTerms terms;
    terms.period = static_cast<FilterPeriod>(std::max(0, ui::get_state(kWhen)));
    const bool days = terms.period == FilterPeriod::kDays;
    ui::disable_gadget(kFrom, days ? 0 : 1);
    ui::disable_gadget(kTo, days ? 0 : 1);
    FilterFields fields{ui::get_text(kText), days ? ui::get_text(kFrom) : std::string(),
                        days ? ui::get_text(kTo) : std::string(), ui::get_text(kLeast), ui::get_text(kMost)};
    std::vector<FilterField> wrong;
    terms = read_filter_fields(fields, terms, wrong);
    // Each field read in the core's way; those it left out are framed and named.
    std::string problems;
    const struct {
        FilterField field;
        int gadget;
        const std::string* text;
        const std::string& why;
    } shown[] = {{FilterField::kFrom, kFrom, &fields.from, t.not_a_day},
                 {FilterField::kTo, kTo, &fields.to, t.not_a_day},
                 {FilterField::kLeast, kLeast, &fields.least, t.not_an_amount},
                 {FilterField::kMost, kMost, &fields.most, t.not_an_amount}};
    for (const auto& each : shown) {
        const bool is_wrong = std::find(wrong.begin(), wrong.end(), each.field) != wrong.end();
        ui::mark_wrong(each.gadget, is_wrong);
        if (is_wrong) problems += "\n\"" + trim(*each.text) + "\"" + each.why;
    }
    if (terms.from != kNoDate && terms.to != kNoDate && terms.to < terms.from)
        problems += "\n" + t.ends_before_start;
    terms.kind = static_cast<FilterKind>(std::max(0, ui::get_state(kKind)));
    terms.state = static_cast<FilterState>(std::max(0, ui::get_state(kState)));
    const auto& ids = app().filter_category_ids;
    const int category = ui::get_state(kCategory);
    terms.category = category > 0 && static_cast<std::size_t>(category) < ids.size()
                         ? ids[static_cast<std::size_t>(category)]
                         : 0;
    ui::set_tool_tip(kContainer, t.bar_tip + problems);
    ui::set_tool_tip(kText, t.bar_tip + problems);
    return terms;
}

// Puts the terms into the bar's fields (a saved filter chosen), without filtering yet.
void show_terms(const FilterTerms& terms) {
    ui::set_text(kText, terms.text);
    ui::set_state(kWhen, static_cast<int>(terms.period));
    std::string day;
    if (terms.from != kNoDate) append_display_date(day, terms.from);
    ui::set_text(kFrom, day);
    day.clear();
    if (terms.to != kNoDate) append_display_date(day, terms.to);
    ui::set_text(kTo, day);
    ui::set_text(kLeast, terms.least_cents ? cents_text(*terms.least_cents) : std::string());
    ui::set_text(kMost, terms.most_cents ? cents_text(*terms.most_cents) : std::string());
    ui::set_state(kKind, static_cast<int>(terms.kind));
    ui::set_state(kState, static_cast<int>(terms.state));
    const auto& ids = app().filter_category_ids;
    const auto at = std::find(ids.begin(), ids.end(), terms.category);
    ui::set_state(kCategory, at != ids.end() ? static_cast<int>(at - ids.begin()) : 0);
}

void rest_then_filter() { ui::add_window_timer(kMainWindow, main_ids::kFilterTimer, kRestMs); }

// A saved filter chosen from the list: its terms fill the bar and filter at once.
void saved_chosen() {
    AppState& state = app();
    const int chosen = ui::get_state(kSaved);
    if (chosen < 0) state.saved_filter_shown = -1;
    if (chosen < 0 || chosen == state.saved_filter_shown ||
        static_cast<std::size_t>(chosen) >= state.saved_filters.size())
        return;
    state.saved_filter_shown = chosen;
    show_terms(terms_of_line(state.saved_filters[static_cast<std::size_t>(chosen)].second));
    filter_by_bar();
}

// Saves the bar's terms under the name typed in the saved list (replacing a filter of that name),
// or deletes the filter of that name: one change of the store, one undo step.
void save_or_forget(bool save) {
    AppState& state = app();
    const FilterTexts& t = texts().filter;
    const std::string name = trim(ui::get_text(kSaved));
    std::optional<std::string> before;
    for (const auto& [saved, line] : state.saved_filters) {
        if (saved == name) before = line;
    }
    if (name.empty() || (!save && !before)) {
        // Nothing to save under or to delete: the list says what it wants.
        ui::set_tool_tip(kSaved, t.name_wanted);
        ui::set_focus(kSaved);
        return;
    }
    const std::optional<std::string> after =
        save ? std::optional<std::string>(terms_line(terms_of_bar())) : std::nullopt;
    RowChange rows;
    const SessionResult result = register_session().apply(
        std::make_shared<SaveFilter>(name, before, after, (save ? t.saving : t.deleting) + name), rows);
    if (!show_session_result(result, kMainWindow)) return;
    fill_saved();
    ui::set_text(kSaved, save ? name : std::string());
    ui::set_tool_tip(kSaved, std::string());
    show_undo_captions();
}

}  // namespace

bool filter_bar_shown() { return app().filter_bar_shown; }

void toggle_filter_bar() {
    AppState& state = app();
    if (state.filter_bar_shown) {
        ui::remove_window_timer(kMainWindow, main_ids::kFilterTimer);
        free_bar();
        state.filter_bar_shown = false;
        main_layout();
        filter_register_list(FilterTerms{});
        select_register_row(state.current_row);
        return;
    }
    state.filter_bar_shown = true;
    create_bar();
    main_layout();
    ui::set_focus(kText);
}

bool filter_bar_has_focus() {
    if (!app().filter_bar_shown) return false;
    const int focus = ui::get_focus();
    return focus >= kSave && focus <= kSaved;
}

void forget_filter() {
    AppState& state = app();
    state.shown_rows.clear();
    state.filter_terms = FilterTerms{};
    if (!state.filter_bar_shown) return;
    ui::remove_window_timer(kMainWindow, main_ids::kFilterTimer);
    show_terms(FilterTerms{});
    ui::set_text(kSaved, "");
}

void filter_bar_escape() {
    if (!filter_bar_has_focus()) return;
    ui::remove_window_timer(kMainWindow, main_ids::kFilterTimer);
    if (!app().shown_rows.on() && terms_of_bar().empty()) {
        toggle_filter_bar();
        return;
    }
    show_terms(FilterTerms{});
    ui::set_state(kSaved, -1);
    filter_by_bar();
}

void filter_by_bar() {
    ui::remove_window_timer(kMainWindow, main_ids::kFilterTimer);
    if (!app().filter_bar_shown) return;
    filter_register_list(terms_of_bar());
}

bool handle_filter_bar_event(int gadget, int type) {
    if (!app().filter_bar_shown || gadget < kSave || gadget > kSaved) return false;
    if (gadget == kSaved) {
        if (type == ui::kChange) saved_chosen();
    } else if (gadget == kSave || gadget == kForget) {
        save_or_forget(gadget == kSave);
    } else if (type == ui::kChange) {
        rest_then_filter();
    }
    return true;
}

void refresh_filter_bar_lists() {
    if (!app().filter_bar_shown) return;
    fill_categories();
    fill_saved();
}

}  // namespace quillet
