// Category names as typed, payee keys as banks write payees, and payee rules in their order:
// what the user set is learned once and a deleted learned rule is never learned again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/category/category_edits.h"
#include "core/category/category_name.h"
#include "core/category/category_rules.h"
#include "core/category/payee_key.h"
#include "core/category/spending.h"
#include "core/chart/chart_figures.h"

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
    // Learned: a payee no rule of the user's decides, put before the user's rules; learned again
    // when the user chooses otherwise. Never a payee the user's own rule decides (its default), nor
    // one whose learned rule the user deleted.
    const CategoryLists lists{{}, rules};
    const std::optional<CategoryLists> learned = learned_from(lists, "Corner Shop #12", 4);
    ASSERT_TRUE(learned);
    EXPECT_EQ(learned->rules.front(),
              (CategoryRule{6, RuleMatch::kEquals, "Corner Shop #12", 4, true, false}));
    EXPECT_EQ(learned->rules.size(), rules.size() + 1);
    const std::optional<CategoryLists> changed = learned_from(*learned, "CORNER SHOP 0001", 8);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->rules.size(), rules.size() + 1);
    EXPECT_EQ(CategoryRules(changed->rules).category_of("Corner shop"), 8);
    EXPECT_EQ(learned_from(*changed, "corner shop", 8), std::nullopt);
    EXPECT_EQ(learned_from(lists, "amazon mktp", 4), std::nullopt);
    EXPECT_EQ(learned_from(lists, "BAKERY 0001", 6), std::nullopt);
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// The spending table: a child's cents in its row and its parent's, a split in each part's category,
// what has no category (or a category since deleted) on its own line, and a total row equal to the
// register's own month sums as the chart works them out.
TEST(Spending, SumsByCategoryAndMonthAddUpToTheRegistersOwnTotals) {
    const std::vector<SpendingCategory> categories = {{1, 0}, {2, 1}, {3, 1}, {4, 0}};  // Home, Home:Rent,
                                                                                        // Home:Power, Pay
    const auto day = [](int month, int day_of_month) { return make_date(2026, month, day_of_month); };
    const std::vector<SpendingEntry> entries = {
        {day(1, 3), {{4, 250000}}},                          // pay
        {day(1, 5), {{2, -120000}}},                         // rent
        {day(1, 9), {{3, -4550}, {kUncategorised, -1000}}},  // a split, one part uncategorised
        {day(1, 20), {{2, 0}}},                              // a void rent
        {day(2, 3), {{4, 250000}}},
        {day(2, 14), {{9, -3333}}},  // a category since deleted
        {day(3, 1), {{1, -999}}},    // after the range
    };
    const SpendingTable table = spending_by_month(entries, categories, day(1, 1), day(2, 28));
    ASSERT_EQ(table.months, (std::vector<std::pair<std::int32_t, std::int32_t>>{{2026, 1}, {2026, 2}}));
    struct Expected {
        std::int64_t category;
        int level;
        std::vector<std::int64_t> deposits, payments;
    };
    const Expected expected[] = {
        {1, 0, {0, 0}, {124550, 0}},
        {2, 1, {0, 0}, {120000, 0}},
        {3, 1, {0, 0}, {4550, 0}},
        {4, 0, {250000, 250000}, {0, 0}},
        {kUncategorised, 0, {0, 0}, {1000, 3333}},
    };
    ASSERT_EQ(table.rows.size(), std::size(expected));
    for (std::size_t at = 0; at < table.rows.size(); ++at) {
        SCOPED_TRACE(at);
        EXPECT_EQ(table.rows[at].category, expected[at].category);
        EXPECT_EQ(table.rows[at].level, expected[at].level);
        EXPECT_EQ(table.rows[at].deposits, expected[at].deposits);
        EXPECT_EQ(table.rows[at].payments, expected[at].payments);
    }
    // The total row is the register's month sums: every part counted once, whatever its category.
    std::vector<ChartEntry> register_entries;
    for (const SpendingEntry& entry : entries) {
        std::int64_t cents = 0;
        for (const SpendingPart& part : entry.parts) cents += part.cents;
        if (entry.day <= day(2, 28)) register_entries.push_back({entry.day / kSecondsADay, cents, false});
    }
    const ChartFigures figures = chart_figures(register_entries, ChartRange::kAll, day(2, 28));
    ASSERT_EQ(figures.months.size(), 2u);
    for (std::size_t month = 0; month < 2; ++month) {
        EXPECT_EQ(table.total.deposits[month], figures.months[month].deposits.cents);
        EXPECT_EQ(table.total.payments[month], figures.months[month].withdrawals.cents);
    }
}

}  // namespace
}  // namespace quillet
