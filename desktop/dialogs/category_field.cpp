#include "desktop/dialogs/category_field.h"

#include "core/category/category_edits.h"
#include "core/category/category_rules.h"
#include "core/category/split_lines.h"
#include "core/runtime/number_text.h"
#include "core/session/change_categories.h"
#include "desktop/dialogs/amount_filter.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/dialogs/split_window.h"
#include "desktop/program/app_state.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {

namespace {

const CategoryTexts& category_texts() { return texts().categories; }

bool categories_usable() { return app().session.store_state() != StoreState::kUnusable; }

void fill_category_names(int combo) {
    const CategoryLists& lists = working_lists();
    for (const std::int64_t id : listed_order(lists)) ui::add_item(combo, -1, category_full_name(lists, id));
}

// The category the payee gets: the user's own rule for it, else what was learned, else the
// category it had last time.
std::int64_t proposal_for(const std::string& payee) {
    RegisterSession& session = app().session;
    const CategoryBook& book = session.categories();
    std::vector<CategoryRule> users;
    std::vector<CategoryRule> learned;
    for (const CategoryRule& rule : book.lists().rules) (rule.learned ? learned : users).push_back(rule);
    for (const std::vector<CategoryRule>* rules : {&users, &learned}) {
        if (const std::optional<std::int64_t> category = CategoryRules(*rules).category_of(payee))
            return *category;
    }
    const std::optional<std::int64_t> slot = session.list().latest_slot_of_payee(payee);
    return slot ? book.category_of(*slot) : 0;
}

void say_refused(int window, const std::string& why) {
    show_message(kMessageCategoryRefused, window, ShownText::of_text(why));
}

}  // namespace

const CategoryLists& working_lists() {
    AppState& state = app();
    return state.category_lists ? *state.category_lists : state.session.categories().lists();
}

std::int64_t category_named(int window, const std::string& typed, CategoryLists& lists) {
    if (const std::int64_t id = find_category(lists, typed)) return id;
    if (const NameProblem problem = name_problem(typed); problem != NameProblem::kNone) {
        say_refused(window, category_texts().name_problems[static_cast<std::size_t>(problem)]);
        return 0;
    }
    if (show_message(kMessageNewCategory, window, ShownText::of_text(trim(typed))) != 6) return 0;
    std::int64_t id = 0;
    lists = *with_category(lists, typed, id);
    return id;
}

void show_split_in_field() {
    using namespace transaction_ids;
    const bool split = app().category_split.has_value();
    ui::set_text(kCategory, split ? category_texts().split_shown : std::string());
    ui::disable_gadget(kCategory, split || !categories_usable() ? 1 : 0);
    ui::set_text(kProposal, "");
}

void create_category_field(std::optional<std::int64_t> edited_slot) {
    using namespace transaction_ids;
    const CategoryTexts& t = category_texts();
    AppState& state = app();
    state.category_split.reset();
    state.category_proposed.clear();
    state.category_lists.reset();
    ui::create_text(kCategoryCaption, 16, 358, 70, 16, t.category_caption);
    ui::create_combo(kCategory, 88, 352, 132, 26, ui::kComboEditable);
    ui::set_attribute(kCategory, ui::kAttributeTextLimit, static_cast<int>(kCategoryNameBytes));
    ui::set_label_target(kCategoryCaption, kCategory);
    ui::create_button(kSplit, 228, 351, 84, 28, t.split_button);
    ui::create_text(kProposal, 88, 382, 224, 16, "");
    fill_category_names(kCategory);
    ui::set_text(kCategory, "");
    if (!categories_usable()) {
        ui::disable_gadget(kCategory, 1);
        ui::disable_gadget(kSplit, 1);
        ui::set_text(kProposal, t.unavailable);
        ui::set_tool_tip(kProposal, failure_text(SessionResult::of_store(state.session.store_problem(),
                                                                         state.session.store_path())));
        return;
    }
    if (!edited_slot) return;
    const CategoryBook& book = state.session.categories();
    if (book.is_split(*edited_slot)) {
        state.category_split = book.lines_of(*edited_slot);
        show_split_in_field();
    } else {
        ui::set_text(kCategory, category_full_name(book.lists(), book.category_of(*edited_slot)));
    }
}

void propose_category(const std::string& payee) {
    using namespace transaction_ids;
    AppState& state = app();
    if (!categories_usable() || state.category_split) return;
    // Only where the user has not chosen: an empty field, or the last proposal still standing.
    const std::string shown = ui::get_text(kCategory);
    if (!trim(shown).empty() && shown != state.category_proposed) return;
    const std::int64_t proposed = proposal_for(trim(payee));
    if (proposed == 0) return;
    state.category_proposed = category_full_name(state.session.categories().lists(), proposed);
    ui::set_text(kCategory, state.category_proposed);
    ui::set_text(kProposal, category_texts().proposed);
}

void category_typed() {
    if (ui::get_text(transaction_ids::kCategory) != app().category_proposed)
        ui::set_text(transaction_ids::kProposal, "");
}

std::shared_ptr<Change> change_with_category(std::shared_ptr<Change> inner, const TransactionRecord& record,
                                             std::optional<std::int64_t> edited_slot) {
    using namespace transaction_ids;
    AppState& state = app();
    if (!categories_usable()) return inner;
    const CategoryBook& book = state.session.categories();
    CategoryLists lists = working_lists();
    CategoryLines lines;
    const std::int64_t cents = amount_cents(record.amount).value_or(0);
    if (state.category_split) {
        lines = *state.category_split;
        if (!lines_fit(lines, cents)) {
            // The amount changed under the split: the difference goes to a part, or the user places it.
            if (show_message(kMessageSplitSpread, kWindow) != 6) {
                open_split_window();
                return nullptr;
            }
            lines = spread_to_part(lines, cents, 0);
        }
    } else if (const std::string typed = trim(ui::get_text(kCategory)); !typed.empty()) {
        const std::int64_t id = category_named(kWindow, typed, lists);
        if (id == 0) {
            ui::set_focus(kCategory);
            return nullptr;
        }
        lines = {{id, std::nullopt}};
        if (state.options.learn_categories != 0) {
            if (const std::optional<CategoryLists> learned = learned_from(lists, trim(record.payee), id))
                lists = *learned;
        }
    }
    const CategoryLines before = edited_slot ? book.lines_of(*edited_slot) : CategoryLines{};
    const bool lists_change = !(lists == book.lists());
    if (lines == before && !lists_change) return inner;
    return std::make_shared<WithCategories>(
        std::move(inner), edited_slot ? std::vector<CategoryLines>{before} : std::vector<CategoryLines>{},
        std::vector<CategoryLines>{lines},
        lists_change ? std::optional<CategoryLists>(book.lists()) : std::nullopt,
        lists_change ? std::optional<CategoryLists>(lists) : std::nullopt);
}

}  // namespace quillet
