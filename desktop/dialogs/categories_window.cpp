#include "desktop/dialogs/categories_window.h"

#include <map>

#include "core/category/category_edits.h"
#include "core/category/rules_applied.h"
#include "core/runtime/number_text.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/program/undo_captions.h"
#include "desktop/views/filter_bar.h"
#include "desktop/views/register_view.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/requesters.h"

namespace quillet {

using namespace categories_ids;

namespace {

const CategoryTexts& words() { return texts().categories; }

const CategoryBook& book() { return register_session().categories(); }

// The categories in their listed order, and the rules shown (a deleted learned one is not).
std::vector<std::int64_t>& shown_categories() {
    static std::vector<std::int64_t> ids;
    return ids;
}
std::vector<std::int64_t>& shown_rules() {
    static std::vector<std::int64_t> ids;
    return ids;
}

void fill_lists() {
    const CategoryBook& categories = book();
    const CategoryLists& lists = categories.lists();
    std::map<std::int64_t, std::int64_t> used = category_use(categories, register_session().places());
    const int selected = ui::get_state(kList);
    ui::clear_items(kList);
    shown_categories() = listed_order(lists);
    for (const std::int64_t id : shown_categories()) {
        const StoredCategory* category = categories.category(id);
        const std::string indent = category != nullptr && category->parent != 0 ? "    " : "";
        ui::add_item(kList, -1, indent + category_full_name(lists, id) + '\n' + integer_text(used[id]));
    }
    if (!shown_categories().empty())
        ui::set_state(kList, std::clamp(selected, 0, static_cast<int>(shown_categories().size()) - 1));
    const std::string rule_category = ui::get_text(kRuleCategory);
    ui::clear_items(kRuleCategory);
    for (const std::int64_t id : shown_categories())
        ui::add_item(kRuleCategory, -1, category_full_name(lists, id));
    ui::set_text(kRuleCategory, rule_category);
    const int selected_rule = ui::get_state(kRules);
    ui::clear_items(kRules);
    shown_rules().clear();
    for (const CategoryRule& rule : lists.rules) {
        if (rule.deleted) continue;
        shown_rules().push_back(rule.id);
        ui::add_item(kRules, -1,
                     words().matches[static_cast<std::size_t>(rule.match)] + '\n' + rule.text + '\n' +
                         category_full_name(lists, rule.category) +
                         (rule.learned ? words().learned_mark : ""));
    }
    if (!shown_rules().empty())
        ui::set_state(kRules, std::clamp(selected_rule, 0, static_cast<int>(shown_rules().size()) - 1));
    const bool any = !shown_categories().empty();
    for (const int button : {kRename, kMerge, kDelete}) ui::disable_gadget(button, any ? 0 : 1);
    ui::disable_gadget(kDeleteRule, shown_rules().empty() ? 1 : 0);
}

std::int64_t selected_category() {
    const int row = ui::get_state(kList);
    return row >= 0 && static_cast<std::size_t>(row) < shown_categories().size()
               ? shown_categories()[static_cast<std::size_t>(row)]
               : 0;
}

void say(const std::string& why) { show_message(kMessageCategoryRefused, kWindow, ShownText::of_text(why)); }

void say_refused(const CategoryEdit& edit) {
    say(edit.refusal == CategoryRefusal::kBadName
            ? words().name_problems[static_cast<std::size_t>(edit.name_problem)]
            : words().refusals[static_cast<std::size_t>(edit.refusal)]);
}

// The edit applied as one step; the lists and the register's rows shown again.
bool applied(const std::shared_ptr<Change>& change) {
    RowChange rows;
    const SessionResult result = register_session().apply(change, rows);
    if (!show_session_result(result, kWindow)) return false;
    show_undo_captions();
    show_row_change(rows);
    fill_lists();
    return true;
}

bool edit_applied(const CategoryEdit& edit) {
    if (!edit.change) {
        if (edit.refusal != CategoryRefusal::kNone) say_refused(edit);
        return false;
    }
    return applied(edit.change);
}

std::string typed_name() { return trim(ui::get_text(kName)); }

void add() {
    const CategoryEdit edit = add_category(book().lists(), typed_name());
    if (edit.refusal == CategoryRefusal::kNone && !edit.change) {
        say(words().refusals[static_cast<std::size_t>(CategoryRefusal::kNameTaken)]);
        return;
    }
    if (edit_applied(edit)) ui::set_text(kName, "");
}

void rename() {
    if (edit_applied(rename_category(book().lists(), selected_category(), typed_name())))
        ui::set_text(kName, "");
}

void merge() {
    const std::int64_t into = find_category(book().lists(), typed_name());
    if (into == 0) {
        say(words().merge_wants_name);
        ui::set_focus(kName);
        return;
    }
    if (edit_applied(merge_category(book(), register_session().places(), selected_category(), into)))
        ui::set_text(kName, "");
}

void remove() {
    const std::int64_t id = selected_category();
    std::optional<std::int64_t> destination;
    if (!typed_name().empty()) {
        destination = find_category(book().lists(), typed_name());
        if (*destination == 0) {
            say(words().refusals[static_cast<std::size_t>(CategoryRefusal::kNoSuchCategory)]);
            return;
        }
    }
    CategoryEdit edit = delete_category(book(), register_session().places(), id, destination);
    if (edit.refusal == CategoryRefusal::kInUse) {
        if (show_message(kMessageDeleteUsedCategory, kWindow,
                         ShownText::of_text(category_full_name(book().lists(), id))) != ui::kAnswerYes) {
            ui::set_focus(kName);
            return;
        }
        edit = delete_category(book(), register_session().places(), id, 0);
    }
    if (edit_applied(edit)) ui::set_text(kName, "");
}

void add_rule_typed() {
    const std::int64_t category = find_category(book().lists(), trim(ui::get_text(kRuleCategory)));
    const auto match = static_cast<RuleMatch>(std::clamp(ui::get_state(kMatch), 0, 2));
    const CategoryEdit edit = add_rule(book().lists(), match, trim(ui::get_text(kRuleText)), category);
    if (edit_applied(edit)) ui::set_text(kRuleText, "");
}

void delete_rule_selected() {
    const int row = ui::get_state(kRules);
    if (row < 0 || static_cast<std::size_t>(row) >= shown_rules().size()) return;
    edit_applied(delete_rule(book().lists(), shown_rules()[static_cast<std::size_t>(row)]));
}

void apply_rules() {
    RegisterSession& session = register_session();
    SlotLines decided;
    if (const IoStatus read = rules_for_uncategorised(session.path(), book(), session.places(), decided);
        !read) {
        show_message(kMessageRecordUnreadable, kWindow, file_and_cause(session.path(), read));
        return;
    }
    if (decided.empty()) {
        show_message(kMessageNotice, kWindow, ShownText::of_text(words().nothing_applied));
        return;
    }
    const std::string count = integer_text(static_cast<std::int64_t>(decided.size()));
    if (applied(categorise(book(), session.places(), decided, "applying the rules")))
        show_message(kMessageNotice, kWindow, ShownText::of_text(count + words().applied_count));
}

}  // namespace

void open_categories_window() {
    const CategoryTexts& t = words();
    RegisterSession& session = register_session();
    (void)session.categories();
    if (session.store_state() == StoreState::kUnusable) {
        show_message(kMessageStoreUnusable, main_ids::kMainWindow,
                     failure_text(SessionResult::of_store(session.store_problem(), session.store_path())));
        return;
    }
    open_dialog(kWindow, kWidth, kHeight, t.categories_title);
    ui::create_list(kList, 16, 16, 400, 220, t.category_columns[0], 290,
                    ui::kListFullRowSelect | ui::kListGridLines | ui::kListAlwaysShowSelection);
    ui::add_column(kList, 1, t.category_columns[1], 100);
    ui::set_column_alignment(kList, 1, ui::kAlignRight);
    ui::create_text(kNameCaption, 432, 16, 152, 16, t.name_caption);
    ui::create_string(kName, 432, 36, 152, 26, "");
    ui::set_attribute(kName, ui::kAttributeTextLimit, static_cast<int>(kCategoryNameBytes));
    ui::set_label_target(kNameCaption, kName);
    ui::create_button(kAdd, 432, 72, 152, 28, t.add_button);
    ui::create_button(kRename, 432, 106, 152, 28, t.rename_button);
    ui::create_button(kMerge, 432, 140, 152, 28, t.merge_button);
    ui::create_button(kDelete, 432, 174, 152, 28, t.delete_button);
    ui::create_text(kNote, 16, 242, 568, 32, t.window_note);
    ui::create_text(kRulesCaption, 16, 282, 568, 16, t.rules_caption);
    ui::create_list(kRules, 16, 302, 568, 120, t.rule_columns[0], 110,
                    ui::kListFullRowSelect | ui::kListGridLines | ui::kListAlwaysShowSelection);
    ui::add_column(kRules, 1, t.rule_columns[1], 230);
    ui::add_column(kRules, 2, t.rule_columns[2], 200);
    ui::create_combo(kMatch, 16, 430, 110, 26);
    for (const std::string& match : t.matches) ui::add_item(kMatch, -1, match);
    ui::set_state(kMatch, 1);
    ui::create_string(kRuleText, 132, 430, 170, 26, "");
    ui::set_attribute(kRuleText, ui::kAttributeTextLimit, 48);
    ui::create_combo(kRuleCategory, 308, 430, 160, 26, ui::kComboEditable);
    ui::create_button(kAddRule, 476, 429, 108, 28, t.add_rule_button);
    ui::create_button(kDeleteRule, 16, 472, 110, 28, t.delete_rule_button);
    ui::create_button(kApplyRules, 132, 472, 230, 28, t.apply_rules_button);
    ui::create_button(kClose, 488, 472, 96, 28, t.close_button, ui::kButtonDefault);
    fill_lists();
    install_dialog_shortcuts(kWindow, kName, kClose, kHelp);
}

namespace {

// The filter bar's list of categories follows what was edited here.
void close_categories_window() {
    close_dialog(kWindow);
    refresh_filter_bar_lists();
}

}  // namespace

void handle_categories_window(int kind) {
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kAdd: add(); break;
            case kRename: rename(); break;
            case kMerge: merge(); break;
            case kDelete: remove(); break;
            case kAddRule: add_rule_typed(); break;
            case kDeleteRule: delete_rule_selected(); break;
            case kApplyRules: apply_rules(); break;
            case kClose: close_categories_window(); break;
            default: break;
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        case kClose: close_categories_window(); break;
        case kHelp: open_help_topic(words().categories_help_topic); break;
        case kDialogReturn:
            // Return in the name adds it; in the rule's text, adds the rule.
            if (ui::get_focus() == kName) {
                add();
            } else if (ui::get_focus() == kRuleText) {
                add_rule_typed();
            } else {
                click_focused_gadget();
            }
            break;
        default: break;
    }
}

}  // namespace quillet
