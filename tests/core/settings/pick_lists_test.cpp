#include "core/settings/pick_lists.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

PickList numbered(int count) {
    PickList list;
    for (int i = 1; i <= count; ++i) list.push_back("Entry " + std::to_string(i));
    return list;
}

TEST(PickList, AnEnteredTextGoesToTheTopOnce) {
    PickList payees = {"Rent", "Visa", "Groceries", "Car Insurance", "Mortgage", "Myself", "Water Bill"};
    insert_into_pick_list(payees, "Myself", true);
    EXPECT_EQ(payees,
              (PickList{"Myself", "Rent", "Visa", "Groceries", "Car Insurance", "Mortgage", "Water Bill"}));
    insert_into_pick_list(payees, "myself", true);
    EXPECT_EQ(payees.size(), 8u) << "letter case tells texts apart";
    EXPECT_EQ(payees[0], "myself");
}

TEST(PickList, InsertingKeepsAtMostTwentyEntries) {
    PickList loaded = numbered(21);
    insert_into_pick_list(loaded, "New", true);
    ASSERT_EQ(loaded.size(), 20u);
    EXPECT_EQ(loaded.front(), "New");
    EXPECT_EQ(loaded.back(), "Entry 19") << "the two last ones are gone";
}

TEST(PickList, WithoutInsertingOnlyDuplicatesGo) {
    PickList loaded = numbered(21);
    loaded[5] = "Entry 2";
    insert_into_pick_list(loaded, "ignored", false);
    EXPECT_EQ(loaded.size(), 20u);
    EXPECT_EQ(loaded[1], "Entry 2");
    EXPECT_EQ(loaded[5], "Entry 7") << "the earliest copy survives";
    PickList empty;
    insert_into_pick_list(empty, "", false);
    EXPECT_TRUE(empty.empty());
}

}  // namespace
}  // namespace quillet
