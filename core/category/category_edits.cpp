#include "core/category/category_edits.h"

#include <algorithm>

#include "core/category/payee_key.h"

namespace quillet {

namespace {

std::int64_t next_category_id(const CategoryLists& lists) {
    std::int64_t last = 0;
    for (const StoredCategory& each : lists.categories) last = std::max(last, each.id);
    return last + 1;
}

std::int64_t next_rule_id(const CategoryLists& lists) {
    std::int64_t last = 0;
    for (const CategoryRule& each : lists.rules) last = std::max(last, each.id);
    return last + 1;
}

const StoredCategory* category_by_id(const CategoryLists& lists, std::int64_t id) {
    for (const StoredCategory& each : lists.categories) {
        if (each.id == id) return &each;
    }
    return nullptr;
}

std::int64_t child_named(const CategoryLists& lists, std::int64_t parent, std::string_view name) {
    for (const StoredCategory& each : lists.categories) {
        if (each.parent == parent && same_name(each.name, name)) return each.id;
    }
    return 0;
}

void sort_by_id(CategoryLists& lists) {
    std::sort(lists.categories.begin(), lists.categories.end(),
              [](const StoredCategory& a, const StoredCategory& b) { return a.id < b.id; });
}

CategoryEdit refused(CategoryRefusal why, NameProblem problem = NameProblem::kNone) {
    CategoryEdit edit;
    edit.refusal = why;
    edit.name_problem = problem;
    return edit;
}

// Every record whose lines name one of the categories, with them moved to into (0: none).
std::vector<RecordCategories> records_moved(const CategoryBook& book, const RecordPlaces& places,
                                            const std::vector<std::int64_t>& from, std::int64_t into) {
    std::vector<RecordCategories> records;
    if (!book.any_categorised()) return records;
    const auto moved = [&](std::int64_t category) {
        return std::find(from.begin(), from.end(), category) != from.end();
    };
    for (std::int64_t slot = 0; slot < places.slot_count(); ++slot) {
        if (!book.categorised(slot)) continue;
        const CategoryLines before = book.lines_of(slot);
        if (std::none_of(before.begin(), before.end(),
                         [&](const CategoryLine& line) { return moved(line.category); }))
            continue;
        CategoryLines after = before;
        for (CategoryLine& line : after) {
            if (moved(line.category)) line.category = into;
        }
        // An unsplit record left without a category has no lines.
        if (after.size() == 1 && !after.front().cents && into == 0) after.clear();
        records.push_back({slot, places.fingerprint(slot), before, after});
    }
    return records;
}

}  // namespace

std::int64_t find_category(const CategoryLists& lists, std::string_view typed) {
    const std::optional<CategoryPath> path = parse_category(typed);
    if (!path) return 0;
    const std::int64_t parent = child_named(lists, 0, path->parent);
    if (parent == 0 || path->child.empty()) return parent;
    return child_named(lists, parent, path->child);
}

std::string category_full_name(const CategoryLists& lists, std::int64_t id) {
    const StoredCategory* category = category_by_id(lists, id);
    if (category == nullptr) return {};
    const StoredCategory* parent = category->parent > 0 ? category_by_id(lists, category->parent) : nullptr;
    return parent != nullptr ? parent->name + ':' + category->name : category->name;
}

std::vector<std::int64_t> category_with_children(const CategoryLists& lists, std::int64_t id) {
    std::vector<std::int64_t> ids{id};
    for (const StoredCategory& each : lists.categories) {
        if (each.parent == id && id > 0) ids.push_back(each.id);
    }
    return ids;
}

std::map<std::int64_t, std::int64_t> category_use(const CategoryBook& book, const RecordPlaces& places) {
    std::map<std::int64_t, std::int64_t> used;
    for (std::int64_t slot = 0; slot < places.slot_count(); ++slot) {
        if (!places.live(slot) || !book.categorised(slot)) continue;
        if (!book.is_split(slot)) {
            ++used[book.category_of(slot)];
            continue;
        }
        std::vector<std::int64_t> counted;
        for (const CategoryLine& line : book.lines_of(slot)) {
            if (std::find(counted.begin(), counted.end(), line.category) != counted.end()) continue;
            counted.push_back(line.category);
            ++used[line.category];
        }
    }
    return used;
}

std::vector<std::int64_t> listed_order(const CategoryLists& lists) {
    std::vector<const StoredCategory*> sorted;
    for (const StoredCategory& each : lists.categories) sorted.push_back(&each);
    std::sort(sorted.begin(), sorted.end(), [](const StoredCategory* a, const StoredCategory* b) {
        return a->name < b->name || (a->name == b->name && a->id < b->id);
    });
    std::vector<std::int64_t> order;
    for (const StoredCategory* parent : sorted) {
        if (parent->parent != 0) continue;
        order.push_back(parent->id);
        for (const StoredCategory* child : sorted) {
            if (child->parent == parent->id) order.push_back(child->id);
        }
    }
    // A child whose parent is gone is listed at the end rather than lost.
    for (const StoredCategory* each : sorted) {
        if (std::find(order.begin(), order.end(), each->id) == order.end()) order.push_back(each->id);
    }
    return order;
}

std::optional<CategoryLists> with_category(const CategoryLists& lists, std::string_view typed,
                                           std::int64_t& id) {
    const std::optional<CategoryPath> path = parse_category(typed);
    if (!path) return std::nullopt;
    CategoryLists after = lists;
    std::int64_t parent = child_named(after, 0, path->parent);
    if (parent == 0) {
        parent = next_category_id(after);
        after.categories.push_back({parent, path->parent, 0});
    }
    id = parent;
    if (!path->child.empty()) {
        id = child_named(after, parent, path->child);
        if (id == 0) {
            id = next_category_id(after);
            after.categories.push_back({id, path->child, parent});
        }
    }
    return after;
}

CategoryEdit add_category(const CategoryLists& lists, std::string_view typed) {
    if (const NameProblem problem = name_problem(typed); problem != NameProblem::kNone)
        return refused(CategoryRefusal::kBadName, problem);
    CategoryEdit edit;
    edit.id = find_category(lists, typed);
    if (edit.id != 0) return edit;
    const std::optional<CategoryLists> after = with_category(lists, typed, edit.id);
    edit.change = std::make_shared<ChangeCategories>("adding " + full_name(*parse_category(typed)), lists,
                                                     *after, std::vector<RecordCategories>{});
    return edit;
}

CategoryEdit rename_category(const CategoryLists& lists, std::int64_t id, std::string_view typed) {
    if (const NameProblem problem = name_problem(typed); problem != NameProblem::kNone)
        return refused(CategoryRefusal::kBadName, problem);
    const StoredCategory* category = category_by_id(lists, id);
    if (category == nullptr) return refused(CategoryRefusal::kNoSuchCategory);
    const CategoryPath path = *parse_category(typed);
    const std::int64_t taken = find_category(lists, typed);
    if (taken != 0 && taken != id) return refused(CategoryRefusal::kNameTaken);
    CategoryLists after = lists;
    std::int64_t parent = 0;
    if (!path.child.empty()) {
        if (category_with_children(lists, id).size() > 1) return refused(CategoryRefusal::kHasChildren);
        // The parent named may be new: it is added with the rename.
        if (const std::optional<CategoryLists> with_parent = with_category(lists, path.parent, parent))
            after = *with_parent;
        if (parent == id) return refused(CategoryRefusal::kIntoItself);
    }
    for (StoredCategory& each : after.categories) {
        if (each.id != id) continue;
        each.name = path.child.empty() ? path.parent : path.child;
        each.parent = parent;
    }
    sort_by_id(after);
    CategoryEdit edit;
    edit.id = id;
    edit.change = std::make_shared<ChangeCategories>("renaming " + category_full_name(lists, id), lists,
                                                     after, std::vector<RecordCategories>{});
    return edit;
}

CategoryEdit merge_category(const CategoryBook& book, const RecordPlaces& places, std::int64_t from,
                            std::int64_t into) {
    const CategoryLists& lists = book.lists();
    const StoredCategory* category = category_by_id(lists, from);
    if (category == nullptr || (into != 0 && category_by_id(lists, into) == nullptr))
        return refused(CategoryRefusal::kNoSuchCategory);
    const std::vector<std::int64_t> family = category_with_children(lists, from);
    if (std::find(family.begin(), family.end(), into) != family.end())
        return refused(CategoryRefusal::kIntoItself);
    CategoryLists after = lists;
    const StoredCategory* target = into != 0 ? category_by_id(lists, into) : nullptr;
    // Children go under a parent of the top level (into its own child of that name, if it has one);
    // into a child or into nothing, they go with their parent.
    std::vector<std::int64_t> gone{from};
    std::vector<std::pair<std::int64_t, std::int64_t>> children_into;
    for (std::size_t at = 1; at < family.size(); ++at) {
        const StoredCategory* child = category_by_id(lists, family[at]);
        if (target != nullptr && target->parent == 0) {
            const std::int64_t same = child_named(lists, into, child->name);
            if (same == 0) {
                for (StoredCategory& each : after.categories) {
                    if (each.id == child->id) each.parent = into;
                }
                continue;
            }
            children_into.emplace_back(child->id, same);
        } else {
            children_into.emplace_back(child->id, into);
        }
        gone.push_back(child->id);
    }
    std::erase_if(after.categories, [&](const StoredCategory& each) {
        return std::find(gone.begin(), gone.end(), each.id) != gone.end();
    });
    const auto destination = [&](std::int64_t id) {
        for (const auto& [child, target_id] : children_into) {
            if (child == id) return target_id;
        }
        return into;
    };
    for (CategoryRule& rule : after.rules) {
        if (std::find(gone.begin(), gone.end(), rule.category) != gone.end())
            rule.category = destination(rule.category);
    }
    // Rules that lead nowhere now go (a merge into no category).
    std::erase_if(after.rules, [](const CategoryRule& rule) { return rule.category == 0; });
    std::vector<RecordCategories> records = records_moved(book, places, {from}, into);
    for (const auto& [child, target_id] : children_into) {
        std::vector<RecordCategories> more = records_moved(book, places, {child}, target_id);
        for (RecordCategories& record : more) {
            // A record with parts in both is merged once, both moved.
            const auto same = std::find_if(records.begin(), records.end(), [&](const RecordCategories& each) {
                return each.slot == record.slot;
            });
            if (same == records.end()) {
                records.push_back(std::move(record));
                continue;
            }
            for (CategoryLine& line : same->after) {
                if (line.category == child) line.category = target_id;
            }
        }
    }
    CategoryEdit edit;
    edit.id = into;
    edit.records = static_cast<std::int64_t>(records.size());
    const std::string named =
        into != 0 ? "merging " + category_full_name(lists, from) + " into " + category_full_name(lists, into)
                  : "deleting " + category_full_name(lists, from);
    edit.change = std::make_shared<ChangeCategories>(named, lists, std::move(after), std::move(records));
    return edit;
}

CategoryEdit delete_category(const CategoryBook& book, const RecordPlaces& places, std::int64_t id,
                             std::optional<std::int64_t> destination) {
    if (category_by_id(book.lists(), id) == nullptr) return refused(CategoryRefusal::kNoSuchCategory);
    if (!destination) {
        const std::vector<std::int64_t> family = category_with_children(book.lists(), id);
        if (!records_moved(book, places, family, 0).empty()) return refused(CategoryRefusal::kInUse);
    }
    return merge_category(book, places, id, destination.value_or(0));
}

CategoryEdit add_rule(const CategoryLists& lists, RuleMatch match, std::string_view text,
                      std::int64_t category) {
    const CategoryRule rule{next_rule_id(lists), match, std::string(text), category, false, false};
    if (category_rule_problem(rule) == CategoryRuleProblem::kMatchesEveryPayee)
        return refused(CategoryRefusal::kRuleMatchesEveryPayee);
    if (category_by_id(lists, category) == nullptr) return refused(CategoryRefusal::kNoSuchCategory);
    CategoryLists after = lists;
    after.rules.push_back(rule);
    CategoryEdit edit;
    edit.id = rule.id;
    edit.change = std::make_shared<ChangeCategories>("adding a rule for " + std::string(text), lists,
                                                     std::move(after), std::vector<RecordCategories>{});
    return edit;
}

CategoryEdit delete_rule(const CategoryLists& lists, std::int64_t rule_id) {
    CategoryLists after = lists;
    const auto found = std::find_if(after.rules.begin(), after.rules.end(), [&](const CategoryRule& rule) {
        return rule.id == rule_id && !rule.deleted;
    });
    if (found == after.rules.end()) return refused(CategoryRefusal::kNoSuchRule);
    const std::string named = "deleting the rule for " + found->text;
    if (found->learned) {
        found->deleted = true;
    } else {
        after.rules.erase(found);
    }
    CategoryEdit edit;
    edit.id = rule_id;
    edit.change =
        std::make_shared<ChangeCategories>(named, lists, std::move(after), std::vector<RecordCategories>{});
    return edit;
}

std::optional<CategoryLists> learned_from(const CategoryLists& lists, std::string_view payee,
                                          std::int64_t category) {
    const std::string key = payee_key(payee);
    if (key.empty() || category <= 0) return std::nullopt;
    std::vector<CategoryRule> users;
    for (const CategoryRule& rule : lists.rules) {
        if (!rule.learned) users.push_back(rule);
    }
    // The user's own rule for the payee is its default: a choice for one transaction leaves it be.
    if (CategoryRules(users).category_of(payee)) return std::nullopt;
    std::vector<CategoryRule> others;
    for (const CategoryRule& rule : lists.rules) {
        const bool learned_here = rule.learned && payee_key(rule.text) == key;
        if (learned_here && rule.deleted) return std::nullopt;
        if (learned_here && rule.category == category) return std::nullopt;
        if (!learned_here) others.push_back(rule);
    }
    CategoryLists after = lists;
    after.rules.clear();
    after.rules.push_back(
        {next_rule_id(lists), RuleMatch::kEquals, std::string(payee), category, true, false});
    after.rules.insert(after.rules.end(), others.begin(), others.end());
    return after;
}

std::shared_ptr<ChangeCategories> categorise(const CategoryBook& book, const RecordPlaces& places,
                                             const std::vector<std::pair<std::int64_t, CategoryLines>>& lines,
                                             std::string named) {
    std::vector<RecordCategories> records;
    for (const auto& [slot, after] : lines) {
        if (slot < 0 || slot >= places.slot_count()) continue;
        CategoryLines before = book.lines_of(slot);
        if (before == after) continue;
        records.push_back({slot, places.fingerprint(slot), std::move(before), after});
    }
    return std::make_shared<ChangeCategories>(std::move(named), std::nullopt, std::nullopt,
                                              std::move(records));
}

}  // namespace quillet
