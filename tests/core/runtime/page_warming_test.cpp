// The warming only maps pages: what a fill writes while it runs, and what was there before, stays.
#include "core/runtime/page_warming.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quillet {
namespace {

TEST(PageWarming, KeepsWhatIsWrittenWhileItRuns) {
    constexpr std::size_t kRows = 4u << 20;  // 16 MB of rows: enough to be warmed on another core
    std::vector<std::uint32_t> rows;
    rows.reserve(kRows);
    rows.push_back(7);
    {
        const PageWarming warming({reserved_range(rows)});
        for (std::uint32_t row = 1; row < kRows; ++row) rows.push_back(row * 3);
    }
    EXPECT_EQ(rows[0], 7u);
    std::size_t wrong = 0;
    for (std::uint32_t row = 1; row < kRows; ++row) wrong += rows[row] != row * 3 ? 1 : 0;
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
}  // namespace quillet
