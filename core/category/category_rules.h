// Payee rules: a payee that equals, contains or starts with a text gets a category. Rules are tried
// in their order, the first that matches decides; they are compared on payee keys, so that a bank's
// variants of a payee match alike. A rule is made by the user, or learned from the user's own
// choice of a category for a payee; a learned rule the user deletes stays deleted (it is kept,
// marked so, and never learned again).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/stored_category.h"

namespace quillet {

enum class CategoryRuleProblem {
    kNone,
    kMatchesEveryPayee,  // its text has no letter or digit: every payee would match
    kNoCategory,
};
CategoryRuleProblem category_rule_problem(const CategoryRule& rule);

// The rules in their order, each text keyed once, for trying against many payees.
class CategoryRules {
  public:
    explicit CategoryRules(const std::vector<CategoryRule>& rules);
    // The category the first matching rule gives (deleted ones and ones with a problem passed
    // over), or none.
    std::optional<std::int64_t> category_of(std::string_view payee) const;

  private:
    struct Keyed {
        RuleMatch match;
        std::string key;
        std::int64_t category;
    };
    std::vector<Keyed> rules_;
};

}  // namespace quillet
