#include "core/list/balance_book.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "core/runtime/number_text.h"

namespace quillet {
namespace {

RowFigures deposit(std::int64_t cents, std::int32_t month = 12) {
    RowFigures figures;
    figures.deposit_cents = cents;
    figures.year = 2026;
    figures.month = static_cast<std::int8_t>(month);
    return figures;
}

// Sums that do not fit in 64-bit cents are out of range, from there on, never a wrong number.
TEST(BalanceBook, SumsThatDoNotFitAreOutOfRange) {
    BalanceBook book;
    const std::int64_t big = 5'000'000'000'000'000'000;
    book.insert(-1, deposit(big, 11));
    book.insert(-1, deposit(big));
    book.insert(-1, deposit(1));
    book.recompute(0, 2026, 12);
    EXPECT_EQ(book.running(0), (Figure{big, false}));
    EXPECT_TRUE(book.running(1)->out_of_range);
    EXPECT_TRUE(book.running(2)->out_of_range) << "the balance stays unknown after it";
    EXPECT_TRUE(book.summary().balance.out_of_range);
    EXPECT_EQ(book.summary().month_deposits, (Figure{big + 1, false}));
    EXPECT_TRUE(book.summary().month_average.out_of_range) << "its balances are out of range";

    // A million deposits of 9999999.00 in one month: the sum behind the average passes 5e20
    // cents, the average itself fits.
    BalanceBook many;
    for (int i = 0; i < 1'000'000; ++i) many.insert(-1, deposit(999'999'900));
    many.recompute(0, 2026, 12);
    EXPECT_EQ(many.summary().balance, (Figure{999'999'900'000'000, false}));
    EXPECT_FALSE(many.summary().month_average.out_of_range);
    EXPECT_EQ(many.summary().month_average.cents, 500'000'449'999'950);

    // The average rounds half away from zero without overflowing near the limits.
    BalanceBook edge;
    edge.insert(-1, deposit(std::numeric_limits<std::int64_t>::max() - 1));
    edge.insert(-1, deposit(0));
    edge.recompute(0, 2026, 12);
    EXPECT_FALSE(edge.summary().month_average.out_of_range);
    EXPECT_TRUE(edge.summary().month_deposits ==
                (Figure{std::numeric_limits<std::int64_t>::max() - 1, false}));
}

TEST(AmountTextToCents, TooLargeOrNotANumberIsOutOfRange) {
    const struct {
        const char* text;
        std::optional<std::int64_t> cents;
    } cases[] = {
        {"1234.56", 123456},
        {"-.05", -5},
        {"12.345", 1235},
        {"", 0},
        {"92233720368547758.07", std::nullopt},
        {"35411122347712389.57", 3541112234771238957},  // exact beyond float's digits
        {"123456789012345678901234.00", std::nullopt},
        {"NaN", std::nullopt},
        {"+Infinity", std::nullopt},
        {"1e30", std::nullopt},
        {"1e3", 100000},
    };
    for (const auto& c : cases) EXPECT_EQ(amount_text_to_cents(c.text), c.cents) << c.text;
    EXPECT_EQ(amount_cents(1e30f), std::nullopt);
    EXPECT_EQ(text_to_number("+-4"), 0.0f) << "one sign at most";
    EXPECT_EQ(text_to_number("-4"), -4.0f);
}

}  // namespace
}  // namespace quillet
