#include "core/list/payee_index.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

TEST(PayeeIndex, FindsTheLatestSlotOfAPayeeInAnyCaseThroughGrowthAndRemovals) {
    PayeeIndex index;
    for (int slot = 0; slot < 3000; ++slot) index.add("Payee " + std::to_string(slot % 200), slot);
    index.add(" Caf\xC9 \xC0 la Cr\xC8me ", 3000);  // Windows-1252 capitals
    index.add("", 3001);
    EXPECT_EQ(index.latest("payee 7"), 2807);
    EXPECT_EQ(index.latest("caf\xE9 \xE0 LA CR\xE8ME"), 3000);
    EXPECT_EQ(index.latest(""), std::nullopt) << "no payee fills nothing";
    EXPECT_EQ(index.latest("Payee 7 and more"), std::nullopt);
    index.remove("PAYEE 7", 2807);
    EXPECT_EQ(index.latest("Payee 7"), 2607);
    for (int slot = 7; slot < 3000; slot += 200) index.remove("Payee 7", slot);
    EXPECT_EQ(index.latest("Payee 7"), std::nullopt);
    EXPECT_EQ(index.latest("Payee 8"), 2808) << "an emptied payee cuts no other's probe";
    index.shrink();
    EXPECT_GT(index.memory_bytes(), 3000 * sizeof(std::int32_t));
    index.clear();
    EXPECT_EQ(index.latest("Payee 8"), std::nullopt);
}

}  // namespace
}  // namespace quillet
