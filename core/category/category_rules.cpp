#include "core/category/category_rules.h"

#include "core/category/payee_key.h"

namespace quillet {

namespace {

bool rule_matches(RuleMatch match, const std::string& rule_key, const std::string& payee) {
    switch (match) {
        case RuleMatch::kEquals: return payee == rule_key;
        case RuleMatch::kContains: return payee.find(rule_key) != std::string::npos;
        case RuleMatch::kStartsWith: return payee.starts_with(rule_key);
    }
    return false;
}

}  // namespace

CategoryRuleProblem category_rule_problem(const CategoryRule& rule) {
    if (payee_key(rule.text).empty()) return CategoryRuleProblem::kMatchesEveryPayee;
    if (rule.category <= 0) return CategoryRuleProblem::kNoCategory;
    return CategoryRuleProblem::kNone;
}

CategoryRules::CategoryRules(const std::vector<CategoryRule>& rules) {
    for (const CategoryRule& rule : rules) {
        if (rule.deleted || category_rule_problem(rule) != CategoryRuleProblem::kNone) continue;
        rules_.push_back({rule.match, payee_key(rule.text), rule.category});
    }
}

std::optional<std::int64_t> CategoryRules::category_of(std::string_view payee) const {
    const std::string key = payee_key(payee);
    if (key.empty()) return std::nullopt;
    for (const Keyed& rule : rules_) {
        if (rule_matches(rule.match, rule.key, key)) return rule.category;
    }
    return std::nullopt;
}

}  // namespace quillet
