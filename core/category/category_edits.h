// The edits of categories and payee rules a user makes, from the Categories window or from
// quillet-cli, each worked out against what the session knows and made one ChangeCategories (one
// undo step), or refused with the reason.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/category/category_name.h"
#include "core/category/category_rules.h"
#include "core/register/record_places.h"
#include "core/session/change_categories.h"

namespace quillet {

enum class CategoryRefusal {
    kNone,
    kBadName,    // see the name's problem
    kNameTaken,  // another category has the name
    kNoSuchCategory,
    kIntoItself,   // a merge of a category into itself or into its own child
    kInUse,        // a category transactions use is deleted without saying where they go
    kHasChildren,  // a parent renamed to a child's name (two levels at most)
    kRuleMatchesEveryPayee,
    kNoSuchRule,
};

struct CategoryEdit {
    CategoryRefusal refusal = CategoryRefusal::kNone;
    NameProblem name_problem = NameProblem::kNone;
    std::shared_ptr<ChangeCategories> change;  // none when refused
    std::int64_t id = 0;                       // the category added or found
    std::int64_t records = 0;                  // the transactions whose categories change
};

// The category with the full name ("Car:Fuel"), letter case aside; 0 when there is none.
std::int64_t find_category(const CategoryLists& lists, std::string_view typed);
// "Car:Fuel", or "" for an unknown id.
std::string category_full_name(const CategoryLists& lists, std::int64_t id);
// The category and its children.
std::vector<std::int64_t> category_with_children(const CategoryLists& lists, std::int64_t id);
// How many live transactions use each category (a split's once for each of its categories).
std::map<std::int64_t, std::int64_t> category_use(const CategoryBook& book, const RecordPlaces& places);
// The categories in the order they are listed: each parent by name, its children by name after it.
std::vector<std::int64_t> listed_order(const CategoryLists& lists);

// Adds the category (and its parent when that is new); an existing one is found instead (its id
// given, no change).
CategoryEdit add_category(const CategoryLists& lists, std::string_view typed);
// The lists with the category added (and its parent), its id given: none when the name is bad.
std::optional<CategoryLists> with_category(const CategoryLists& lists, std::string_view typed,
                                           std::int64_t& id);
CategoryEdit rename_category(const CategoryLists& lists, std::int64_t id, std::string_view typed);
// Every transaction of the category (and of its children) goes to into (0: without a category), its
// rules too, and the category goes; a parent's children go under into, or into it when it is a child.
CategoryEdit merge_category(const CategoryBook& book, const RecordPlaces& places, std::int64_t from,
                            std::int64_t into);
// A category no transaction uses goes; one in use only with where its transactions go.
CategoryEdit delete_category(const CategoryBook& book, const RecordPlaces& places, std::int64_t id,
                             std::optional<std::int64_t> destination);

// A rule added at the end of the user's rules (after the learned ones), or deleted (a learned one
// kept, marked deleted, so that it is never learned again).
CategoryEdit add_rule(const CategoryLists& lists, RuleMatch match, std::string_view text,
                      std::int64_t category);
CategoryEdit delete_rule(const CategoryLists& lists, std::int64_t rule_id);
// The lists with the rule learned from the user's choice of the category for the payee: none when
// nothing is to be learned (a rule of the user's own decides the payee, the rules give the category
// already, or the user deleted what was learned for it). Learned rules come before the user's.
std::optional<CategoryLists> learned_from(const CategoryLists& lists, std::string_view payee,
                                          std::int64_t category);

// The records' lines set, as one change named by the text.
std::shared_ptr<ChangeCategories> categorise(const CategoryBook& book, const RecordPlaces& places,
                                             const std::vector<std::pair<std::int64_t, CategoryLines>>& lines,
                                             std::string named);

}  // namespace quillet
