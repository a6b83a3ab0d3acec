// Category names as typed, payee keys as banks write payees, and payee rules in their order:
// what the user set is learned once and a deleted learned rule is never learned again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/category/category_name.h"
#include "core/category/category_rules.h"
#include "core/category/payee_key.h"

namespace quillet {
namespace {

TEST(CategoryNames, AreReadAsTypedAndRefusedWithTheirReason) {
    struct Case {
        const char* typed;
        NameProblem problem;
        CategoryPath path;
    };
    const Case cases[] = {
        {"Car", NameProblem::kNone, {"Car", ""}},
        {"  Car : Fuel ", NameProblem::kNone, {"Car", "Fuel"}},
        {"", NameProblem::kEmpty, {}},
        {"   ", NameProblem::kEmpty, {}},
        {"Car:", NameProblem::kEmpty, {}},
        {":Fuel", NameProblem::kEmpty, {}},
        {"Car:Fuel:Diesel", NameProblem::kTooDeep, {}},
        {"Ein sehr langer Kategoriename der nicht passen kann", NameProblem::kTooLong, {}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.typed);
        EXPECT_EQ(name_problem(each.typed), each.problem);
        const std::optional<CategoryPath> path = parse_category(each.typed);
        EXPECT_EQ(path.has_value(), each.problem == NameProblem::kNone);
        if (path) {
            EXPECT_EQ(*path, each.path);
        }
    }
    EXPECT_EQ(full_name({"Car", "Fuel"}), "Car:Fuel");
    EXPECT_TRUE(same_name("car:fuel", "Car:Fuel"));
    EXPECT_TRUE(same_name("\xC9picerie", "\xE9PICERIE"));  // Épicerie, épicerie
    EXPECT_FALSE(same_name("Car", "Cars"));
}

TEST(PayeeKeys, ShareOneKeyAcrossABanksVariants) {
    const std::pair<const char*, const char*> cases[] = {
        {"AMAZON MKTP #1234", "amazon mktp"},
        {"Amazon  Mktp 0042", "amazon mktp"},
        {"amazon mktp", "amazon mktp"},
        {"Caf\xE9 M\xFCller", "cafe mueller"},  // Café Müller
        {"7-ELEVEN 1234", "7 eleven"},
        {"0042", "0042"},  // a payee of a number alone keeps it
        {"  --  ", ""},
    };
    for (const auto& [payee, key] : cases) EXPECT_EQ(payee_key(payee), key) << payee;
}

TEST(CategoryRules, TheFirstInOrderDecidesAndLearningKeepsToTheUsersChoices) {
    const std::vector<CategoryRule> rules = {
        {1, RuleMatch::kEquals, "Amazon Books", 7},
        {2, RuleMatch::kContains, "AMAZON", 3},
        {3, RuleMatch::kStartsWith, "Shell", 5},
        {4, RuleMatch::kContains, " - ", 9},               // matches every payee: passed over
        {5, RuleMatch::kEquals, "Bakery", 6, true, true},  // a learned rule the user deleted
    };
    EXPECT_EQ(category_rule_problem(rules[3]), CategoryRuleProblem::kMatchesEveryPayee);
    const CategoryRules rule_set(rules);
    EXPECT_EQ(rule_set.category_of("AMAZON BOOKS #77"), 7);
    EXPECT_EQ(rule_set.category_of("Amazon Mktp 0042"), 3);
    EXPECT_EQ(rule_set.category_of("SHELL OIL 5531"), 5);
    EXPECT_EQ(rule_set.category_of("Royal Shell"), std::nullopt);
    EXPECT_EQ(rule_set.category_of("Bakery"), std::nullopt);
    // Learned: a payee no rule gives this category; not what a rule gives already, nor a payee
    // whose learned rule the user deleted.
    const std::optional<CategoryRule> learned = rule_to_learn(rules, "Corner Shop #12", 4);
    ASSERT_TRUE(learned);
    EXPECT_EQ(*learned, (CategoryRule{0, RuleMatch::kEquals, "Corner Shop #12", 4, true, false}));
    EXPECT_EQ(rule_to_learn(rules, "amazon books", 7), std::nullopt);
    EXPECT_EQ(rule_to_learn(rules, "BAKERY 0001", 6), std::nullopt);
}

}  // namespace
}  // namespace quillet
